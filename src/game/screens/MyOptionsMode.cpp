#include "game/screens/MyOptionsMode.h"

#include "audio/Audio.h"
#include "core/Log.h"
#include "framework/Account.h"
#include "framework/AudioInterfaces.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/screens/ScreenSupport.h"
#include "graphics/Window.h"
#include "scene/CheckBoxNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/SliderNode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("DoneButton", "Button_DoneButton"),
                                   PictureWords("Heading_Options", "Heading")};

const wchar_t* VoiceManifest(bool english)
{
    return english ? L"AudioResources" : L"AudioResources_SP";
}

void Check(Strata::SceneNode* screen, const char* name, bool checked)
{
    if (auto* radio = ScreenChild<Strata::RadioButtonNode>(screen, name))
        radio->SetCheck(checked);
}

// Empties the other language's voices and loads these, unless they are loaded already.
bool LoadVoices(bool english)
{
    GetAudioManager()->unloadVoiceManifest(VoiceManifest(!english));
    if (Strata::GetResourceManager()->GetLoadCount(VoiceManifest(english)) > 0)
        return true;
    const auto job = Strata::GetResourceManager()->Load(VoiceManifest(english));
    if (job == nullptr || job->GetStatus() != Strata::eLoadingJobStatus::Complete)
    {
        Strata::Log("The voices of the chosen language could not be loaded\n");
        return false;
    }
    return true;
}

// The node's own level, not multiplied by the nodes above it: what its slider set and the profile keeps.
float OwnVolume(const Strata::IAudioControls& controls)
{
    Strata::AudioSettings settings;
    controls.SaveSettings(&settings);
    return settings.volume;
}

} // namespace

bool SetProfileLanguage(bool english)
{
    Strata::Account* account = GetCurrentGameAccount();
    if (account == nullptr || ProfileSpeaksEnglish() == english)
        return true;
    account->WriteValue(L"EnglishLanguage", english);
    return LoadVoices(english);
}

bool LoadAccountLanguageVoices()
{
    const bool english = ProfileSpeaksEnglish();
    // Before the start-up has loaded any voices there is nothing to swap: it loads the account's own.
    if (Strata::GetResourceManager()->GetLoadCount(VoiceManifest(!english)) == 0)
        return true;
    return LoadVoices(english);
}

const sMenuScreen MyOptionsMode::kScreen{"screen", "MyOptionsLayout", kWords};

MyOptionsMode::MyOptionsMode() : MenuScreen(kScreen)
{
    OnWidget(
        "RadioButtonClick", "EnglishRadio", [this] { ChooseLanguage(true); });
    OnWidget(
        "RadioButtonClick", "SpanishRadio", [this] { ChooseLanguage(false); });
    OnWidget(
        "RadioButtonClick", "WindowedRadio", [this] { ChooseWindow(true); });
    OnWidget(
        "RadioButtonClick", "FullScreenRadio", [this] { ChooseWindow(false); });
    OnWidget("CheckBoxClick", "SoundCheck", [this] { SwitchSound(); });
    for (const char* kind : {"SliderValueChange", "SliderReleased"})
    {
        OnWidget(
            kind, "MusicSlider", [this] { ApplyVolume("MusicSlider", true); });
        OnWidget(kind, "EffectsSlider", [this] { ApplyVolume("EffectsSlider", false); });
    }
    OnButton("DoneButton", [this] { SaveAndClose(); });
}

void MyOptionsMode::Setup()
{
    MenuScreen::Setup();
    showSettings();
}

void MyOptionsMode::showSettings()
{
    const bool english = ProfileSpeaksEnglish();
    Check(Screen(), "EnglishRadio", english);
    Check(Screen(), "SpanishRadio", !english);
    showWindowMode();
    const Strata::AudioControlsPtr master = Strata::Audio::GetMasterControls();
    if (auto* sound = ScreenChild<Strata::CheckBoxNode>(Screen(), "SoundCheck"))
        sound->SetChecked(master == nullptr || !master->IsMuted());
    const Strata::AudioControlsPtr music = Strata::Audio::GetControls(Strata::Audio::GetMusicKind());
    if (auto* slider = ScreenChild<Strata::SliderNode>(Screen(), "MusicSlider"); slider && music)
        slider->SetValue(OwnVolume(*music));
    const Strata::AudioControlsPtr effects = Strata::Audio::GetControls(Strata::Audio::GetEffectKind());
    if (auto* slider = ScreenChild<Strata::SliderNode>(Screen(), "EffectsSlider"); slider && effects)
        slider->SetValue(OwnVolume(*effects));
}

void MyOptionsMode::showWindowMode()
{
    const bool windowed = Strata::Window::GetConfig().mode == Strata::Window::WindowMode_Windowed;
    // Checking the mode's own radio unchecks the other; an unchecked pair must not pass for full screen.
    auto* radio = ScreenChild<Strata::RadioButtonNode>(Screen(), windowed ? "WindowedRadio" : "FullScreenRadio");
    if (radio != nullptr && !radio->IsChecked())
        radio->SetCheck(true);
}

void MyOptionsMode::Update(float dt)
{
    MenuScreen::Update(dt);
    // The window key changes the mode behind this screen's back.
    showWindowMode();
}

void MyOptionsMode::ChooseLanguage(bool english)
{
    SetProfileLanguage(english);
    showSettings();
    ShowWords();
}

void MyOptionsMode::ChooseWindow(bool windowed)
{
    const auto mode = windowed ? Strata::Window::WindowMode_Windowed : Strata::Window::WindowMode_FullScreen;
    if (Strata::Window::GetConfig().mode != mode)
        Strata::Window::SetMode(mode);
}

void MyOptionsMode::SwitchSound()
{
    auto* sound = ScreenChild<Strata::CheckBoxNode>(Screen(), "SoundCheck");
    if (const Strata::AudioControlsPtr master = Strata::Audio::GetMasterControls(); master && sound)
        master->Mute(!sound->IsChecked());
}

void MyOptionsMode::ApplyVolume(const char* slider, bool music)
{
    auto* node = ScreenChild<Strata::SliderNode>(Screen(), slider);
    const Strata::AudioControlsPtr controls =
        Strata::Audio::GetControls(music ? Strata::Audio::GetMusicKind() : Strata::Audio::GetEffectKind());
    if (node != nullptr && controls != nullptr)
        controls->SetVolume(node->GetValue());
}

void MyOptionsMode::SaveAndClose()
{
    Strata::Audio::SaveAccountSettings();
    Strata::Window::SaveAccountSettings();
    Close();
}

} // namespace Yardcrew

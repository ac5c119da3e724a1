#include "game/screens/MyOptionsMode.h"

#include "audio/Audio.h"
#include "core/Log.h"
#include "framework/Account.h"
#include "framework/AudioInterfaces.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/ScreenSupport.h"
#include "graphics/Window.h"
#include "scene/CheckBoxNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/SliderNode.h"

namespace Yardcrew
{

namespace
{

const wchar_t* VoiceManifest(bool english)
{
    return english ? L"AudioResources" : L"AudioResources_SP";
}

void Check(Strata::SceneNode* screen, const char* name, bool checked)
{
    if (auto* radio = ScreenChild<Strata::RadioButtonNode>(screen, name))
        radio->SetCheck(checked);
}

} // namespace

bool SetProfileLanguage(bool english)
{
    Strata::Account* account = GetCurrentGameAccount();
    if (account == nullptr || ProfileSpeaksEnglish() == english)
        return true;
    account->WriteValue(L"EnglishLanguage", english);
    GetAudioManager()->unloadVoiceManifest(VoiceManifest(!english));
    const auto job = Strata::GetResourceManager()->Load(VoiceManifest(english));
    if (job == nullptr || job->GetStatus() != Strata::eLoadingJobStatus::Complete)
    {
        Strata::Log("The voices of the chosen language could not be loaded\n");
        return false;
    }
    return true;
}

void MyOptionsMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "MyOptionsLayout");
    showSettings();
}

void MyOptionsMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"DoneButton"});
    LocalizeHeading(mScreen, "Options");
}

void MyOptionsMode::showSettings()
{
    const bool english = ProfileSpeaksEnglish();
    Check(mScreen, "EnglishRadio", english);
    Check(mScreen, "SpanishRadio", !english);
    const bool windowed = Strata::Window::GetConfig().mode == Strata::Window::WindowMode_Windowed;
    Check(mScreen, "WindowedRadio", windowed);
    Check(mScreen, "FullScreenRadio", !windowed);
    const Strata::AudioControlsPtr master = Strata::Audio::GetMasterControls();
    if (auto* sound = ScreenChild<Strata::CheckBoxNode>(mScreen, "SoundCheck"))
        sound->SetChecked(master == nullptr || !master->IsMuted());
    const Strata::AudioControlsPtr music = Strata::Audio::GetControls(Strata::Audio::GetMusicKind());
    if (auto* slider = ScreenChild<Strata::SliderNode>(mScreen, "MusicSlider"); slider && music)
        slider->SetValue(music->GetVolume());
    const Strata::AudioControlsPtr effects = Strata::Audio::GetControls(Strata::Audio::GetEffectKind());
    if (auto* slider = ScreenChild<Strata::SliderNode>(mScreen, "EffectsSlider"); slider && effects)
        slider->SetValue(effects->GetVolume());
}

void MyOptionsMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    if (mClosing)
        return;
    const Strata::Label radio = WidgetSenderName(*this, message, "RadioButtonClick");
    if (radio == Strata::Label("EnglishRadio") || radio == Strata::Label("SpanishRadio"))
    {
        SetProfileLanguage(radio == Strata::Label("EnglishRadio"));
        showSettings();
        LocalizeButtons(mScreen, {"DoneButton"});
        LocalizeHeading(mScreen, "Options");
    }
    else if (radio == Strata::Label("WindowedRadio") || radio == Strata::Label("FullScreenRadio"))
    {
        const auto mode = radio == Strata::Label("WindowedRadio") ? Strata::Window::WindowMode_Windowed
                                                                  : Strata::Window::WindowMode_FullScreen;
        if (Strata::Window::GetConfig().mode != mode)
            Strata::Window::SetMode(mode);
    }

    const Strata::Label check = WidgetSenderName(*this, message, "CheckBoxClick");
    if (check == Strata::Label("SoundCheck"))
    {
        auto* sound = ScreenChild<Strata::CheckBoxNode>(mScreen, "SoundCheck");
        if (const Strata::AudioControlsPtr master = Strata::Audio::GetMasterControls(); master && sound)
            master->Mute(!sound->IsChecked());
    }

    for (const char* kind : {"SliderValueChange", "SliderReleased"})
    {
        const Strata::Label slider = WidgetSenderName(*this, message, kind);
        const bool music = slider == Strata::Label("MusicSlider");
        if (!music && slider != Strata::Label("EffectsSlider"))
            continue;
        auto* node = ScreenChild<Strata::SliderNode>(mScreen, music ? "MusicSlider" : "EffectsSlider");
        const Strata::AudioControlsPtr controls =
            Strata::Audio::GetControls(music ? Strata::Audio::GetMusicKind() : Strata::Audio::GetEffectKind());
        if (node != nullptr && controls != nullptr)
            controls->SetVolume(node->GetValue());
    }

    if (WidgetSenderName(*this, message, "ButtonClick") == Strata::Label("DoneButton"))
    {
        mClosing = true;
        Strata::Audio::SaveAccountSettings();
        Strata::Window::SaveAccountSettings();
        GetLevelManager().getModeQueue().pop();
    }
}

} // namespace Yardcrew

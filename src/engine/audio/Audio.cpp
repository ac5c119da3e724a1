#include "audio/Audio.h"

#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/AudioPlatform.h"
#include "framework/ResourceDescriptor.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace Strata::Audio
{

namespace
{

constexpr unsigned kRepeatGuardMs = 20;
// A node's own volume is a gain factor; a saved value above this is damage, not a setting.
constexpr float kMaxSavedVolume = 16.0f;

struct sSettingsKey
{
    const wchar_t* prefix;
    Label (*kind)(); // null for the master controls
};

constexpr sSettingsKey kSettingsKeys[] = {{L"Strata::Audio::MasterControls", nullptr},
                                          {L"Strata::Audio::SfxControls", GetEffectKind},
                                          {L"Strata::Audio::AmbientControls", GetAmbientKind},
                                          {L"Strata::Audio::MusicControls", GetMusicKind}};

// The whole text as a volume in the C locale; nothing for anything else, for NaN and infinities,
// negative values and values above the cap.
std::optional<float> ParseVolume(const std::wstring& text)
{
    std::string narrow;
    for (const wchar_t c : text)
    {
        if (c > 0x7f)
            return std::nullopt;
        narrow.push_back(static_cast<char>(c));
    }
    float volume = 0.0f;
    const char* end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, volume);
    if (error != std::errc() || stop != end || !std::isfinite(volume) || volume < 0.0f || volume > kMaxSavedVolume)
        return std::nullopt;
    return volume;
}

AudioControlsPtr ControlsOf(const sSettingsKey& key)
{
    return key.kind != nullptr ? GetControls(key.kind()) : GetMasterControls();
}

} // namespace

Label GetEffectKind()
{
    static const Label kind("Effect");
    return kind;
}

Label GetAmbientKind()
{
    static const Label kind("Ambient");
    return kind;
}

Label GetMusicKind()
{
    static const Label kind("Music");
    return kind;
}

AudioControlsPtr GetMasterControls()
{
    IAudioPlatform* platform = GetAudioPlatform();
    return platform != nullptr ? platform->GetMasterControls() : nullptr;
}

AudioControlsPtr GetControls(Label kind)
{
    IAudioPlatform* platform = GetAudioPlatform();
    return platform != nullptr ? platform->GetControls(kind) : nullptr;
}

AudioControlsPtr CreateControls(IAudioControls* parent)
{
    IAudioPlatform* platform = GetAudioPlatform();
    return platform != nullptr ? platform->CreateControls(parent) : nullptr;
}

void Play(const ISound* sound, SoundChannelPtr* outChannel, const sPlayState& state)
{
    if (outChannel != nullptr)
        outChannel->reset();
    IAudioPlatform* platform = GetAudioPlatform();
    if (sound == nullptr || platform == nullptr)
        return;
    if (platform->WasSoundPlayedRecently(sound, kRepeatGuardMs))
        return;
    SoundChannelPtr channel = platform->CreateChannel();
    if (!channel)
        return;
    AudioControlsPtr parent = state.parentControls ? state.parentControls : GetControls(sound->GetKind());
    AudioControlsPtr controls = CreateControls(parent.get());
    if (!controls)
        return;
    channel->SetControls(controls.get());

    controls->SetVolume(sound->GetDefaultVolume());
    if (state.volume >= 0.0f)
        controls->SetVolume(state.volume);
    if (state.volumeSeconds > 0.0f)
        controls->AnimateVolumeTo(state.volumeTarget, state.volumeSeconds);
    controls->SetRate(sound->GetDefaultRate());
    if (state.rate > 0.0f)
        controls->SetRate(state.rate);
    if (state.rateSeconds > 0.0f)
        controls->AnimateRateTo(state.rateTarget, state.rateSeconds);
    controls->SetPan(sound->GetDefaultPan());
    if (state.pan >= -1.0f)
        controls->SetPan(state.pan);
    if (state.panSeconds > 0.0f)
        controls->AnimatePanTo(state.panTarget, state.panSeconds);
    if (state.paused != 0)
        controls->Pause();
    else
        controls->Resume();
    controls->Mute(state.muted != 0);

    const int loops = state.loopCount >= 0 ? state.loopCount : sound->GetDefaultLoopCount();
    channel->Play(sound, loops);
    if (outChannel != nullptr)
        *outChannel = channel;
}

void Play(const ISound* sound, const sPlayState& state)
{
    Play(sound, nullptr, state);
}

void Play(Label name, SoundChannelPtr* outChannel, const sPlayState& state)
{
    const AutoResource<ISound> sound(name);
    Play(sound.Get(), outChannel, state);
}

void LoadAudioControls(Account* account, const std::wstring& prefix, IAudioControls* controls)
{
    if (account == nullptr || controls == nullptr)
        return;
    AudioSettings settings;
    controls->SaveSettings(&settings);
    // A damaged or hand-edited record never reaches the mixer: it keeps what the node has.
    if (const std::optional<float> volume = ParseVolume(account->ReadValue(prefix + L"::Volume")))
        settings.volume = *volume;
    settings.muted = account->ReadValue(prefix + L"::IsMuted", settings.muted != 0) ? 1 : 0;
    controls->RestoreSettings(settings);
}

void SaveAudioControls(Account* account, const std::wstring& prefix, IAudioControls* controls)
{
    if (account == nullptr || controls == nullptr)
        return;
    AudioSettings settings;
    controls->SaveSettings(&settings);
    account->WriteValue(prefix + L"::Volume", settings.volume);
    account->WriteValue(prefix + L"::IsMuted", settings.muted != 0);
}

void LoadAccountSettings()
{
    if (!IsAudioPlatformRegistered())
        return;
    Account* account = GetAccountManager()->GetCurrentAccount();
    for (const sSettingsKey& key : kSettingsKeys)
        LoadAudioControls(account, key.prefix, ControlsOf(key).get());
}

void SaveAccountSettings()
{
    if (!IsAudioPlatformRegistered())
        return;
    Account* account = GetAccountManager()->GetCurrentAccount();
    for (const sSettingsKey& key : kSettingsKeys)
        SaveAudioControls(account, key.prefix, ControlsOf(key).get());
}

} // namespace Strata::Audio

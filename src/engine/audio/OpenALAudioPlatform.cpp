#include "audio/OpenALAudioPlatform.h"

#include "audio/Audio.h"
#include "audio/AudioLibrary.h"
#include "audio/OpenALSound.h"
#include "audio/OpenALSoundChannel.h"
#include "audio/SoundList.h"
#include "core/Log.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/ResourceManager.h"

#include <atomic>

namespace Strata
{

namespace
{

std::atomic<bool> gInitialized{false};

} // namespace

bool IsOpenALAudioPlatformInitialized()
{
    return gInitialized.load();
}

bool CheckAudioCall(const char* call)
{
    const int code = AudioLibrary::ErrorGetCode();
    if (code == AudioLibrary::Error_OK)
        return true;
    Internal::LogWrite("%s error: %d (%s)\n", call, code, AudioLibrary::GetErrorName(code));
    return false;
}

OpenALAudioPlatform::OpenALAudioPlatform()
{
    RegisterSingleton(this);
}

OpenALAudioPlatform::~OpenALAudioPlatform()
{
    UnregisterSingleton(this);
}

Label OpenALAudioPlatform::GetName() const
{
    static const Label name("OpenAL Soft Audio");
    return name;
}

void OpenALAudioPlatform::Setup()
{
    ResourceManager* resources = GetResourceManager();
    resources->AddResourceFactory(L"sound", new OpenALSoundResourceFactory());
    resources->AddResourceFactory(L"randomsound", new OpenALRandomSoundResourceFactory());
    resources->AddResourceFactory(L"soundlist", new SoundListResourceFactory());
    RegisterSoundListHooks();

    bool initialized = AudioLibrary::Init(AudioLibrary::kDefaultDevice, AudioLibrary::kOutputRate);
    if (!initialized)
    {
        Internal::LogWrite("BASS Initialization failed on default device\n");
        int count = 1;
        while (AudioLibrary::GetDeviceDescription(count) != nullptr)
            ++count;
        for (int device = 1; device < count && !initialized; ++device)
        {
            initialized = AudioLibrary::Init(device, AudioLibrary::kOutputRate);
            if (!initialized)
                Internal::LogWrite("BASS Initialization failed on device %d\n", device);
        }
    }
    if (!initialized)
        Internal::LogWrite("BASS Initialization failed on all devices\n");
    gInitialized.store(initialized);

    mRootControls = CreateControls(nullptr);
    mMasterControls = CreateControls(mRootControls.get());
    GetControls(Audio::GetEffectKind());
    GetControls(Audio::GetMusicKind());
    GetControls(Audio::GetAmbientKind());

    // The output starts paused; the platform layer activates it with the window.
    mActive = true;
    Activate(false);
}

void OpenALAudioPlatform::Cleanup()
{
    for (const auto& channel : mChannels)
        channel->Stop();
    mChannels.clear();
    mControls.clear();
    mGroups.clear();
    mMasterControls.reset();
    mRootControls.reset();
    if (gInitialized.load())
    {
        AudioLibrary::Free();
        CheckAudioCall("BASS_Free()");
    }
    gInitialized.store(false);
    mActive = false;
}

void OpenALAudioPlatform::Activate(bool active)
{
    if (active == mActive)
        return;
    // Without a device the flag alone pauses the silent channels' clock.
    mActive = active;
    if (!gInitialized.load())
        return;
    if (active)
    {
        AudioLibrary::Start();
        CheckAudioCall("BASS_Start()");
    }
    else
    {
        AudioLibrary::Pause();
        CheckAudioCall("BASS_Pause()");
    }
}

void OpenALAudioPlatform::Update(float seconds)
{
    for (auto it = mChannels.begin(); it != mChannels.end();)
    {
        OpenALSoundChannel& channel = **it;
        // Positions freeze while the output is paused, silent ones too.
        channel.Update(mActive ? seconds : 0.0f);
        // Only a channel nobody else holds can go: the others are not asked whether they still play.
        if (channel.GetReferenceCount() == 1 && !channel.IsPlaying())
        {
            channel.Stop();
            it = mChannels.erase(it);
        }
        else
        {
            ++it;
        }
    }
    // Parents were made before their children, so they update first.
    for (auto it = mControls.begin(); it != mControls.end();)
    {
        (*it)->Update(seconds);
        if ((*it)->GetReferenceCount() == 1)
            it = mControls.erase(it);
        else
            ++it;
    }
}

SoundChannelPtr OpenALAudioPlatform::CreateChannel()
{
    boost::intrusive_ptr<OpenALSoundChannel> channel(new OpenALSoundChannel(), false);
    mChannels.push_back(channel);
    return channel;
}

AudioControlsPtr OpenALAudioPlatform::GetMasterControls()
{
    return mMasterControls;
}

AudioControlsPtr OpenALAudioPlatform::GetControls(Label kind)
{
    if (const auto found = mGroups.find(kind); found != mGroups.end())
        return found->second;
    AudioControlsPtr group = CreateControls(mMasterControls.get());
    mGroups.emplace(kind, group);
    group->SetVolume(0.5f);
    return group;
}

AudioControlsPtr OpenALAudioPlatform::CreateControls(IAudioControls* parent)
{
    IAudioControls* actual = parent != nullptr ? parent : mRootControls.get();
    boost::intrusive_ptr<Internal::BaseAudioControls> node(new Internal::BaseAudioControls(actual), false);
    mControls.push_back(node);
    return node;
}

bool OpenALAudioPlatform::WasSoundPlayedRecently(const ISound* sound, unsigned milliseconds)
{
    const uint32_t now = GetTimeMS();
    for (const auto& channel : mChannels)
        if (channel->GetSound() == sound && channel->IsPlaying() && now - channel->GetStartTimeMs() <= milliseconds)
            return true;
    return false;
}

IAudioPlatform* CreateDefaultAudioPlatform()
{
    auto* platform = new OpenALAudioPlatform();
    AutoDeleteSingleton(platform);
    return platform;
}

} // namespace Strata

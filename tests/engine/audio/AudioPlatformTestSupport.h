#pragma once

#include "audio/Audio.h"
#include "audio/AudioLibrary.h"
#include "audio/OpenALAudioPlatform.h"
#include "audio/OpenALSoundChannel.h"
#include "framework/ResourceDescriptor.h"

#include "AudioTestSupport.h"
#include "engine/framework/ResourceTestSupport.h"

#include <memory>
#include <string>

namespace Strata::Testing
{

// The back end on the loopback device (or on none, when a subclass empties `devices.working`), with its
// own resource manager and in-memory files. Each Frame updates the platform and then renders that step's
// output, silence without a device.
class AudioPlatformTest : public ResourceTest
{
protected:
    static constexpr float kStep = 0.01f;
    static constexpr size_t kStepFrames = 441;

    void SetUp() override
    {
        ResourceTest::SetUp();
        AudioLibrary::SetDeviceOverride(&devices);
        platform = std::make_unique<OpenALAudioPlatform>();
        platform->Setup();
        ASSERT_EQ(IsOpenALAudioPlatformInitialized(), !devices.working.empty());
        platform->Activate(true);
    }

    void TearDown() override
    {
        platform->Cleanup();
        platform.reset();
        AudioLibrary::SetDeviceOverride(nullptr);
        ResourceTest::TearDown();
    }

    void AddFile(const std::wstring& name, const std::vector<uint8_t>& bytes)
    {
        files.AddFile(name, std::string(bytes.begin(), bytes.end()));
    }

    // Loads `body` as a manifest on the loader thread.
    void LoadManifest(const std::string& body, const wchar_t* name = L"sounds")
    {
        AddManifest(name, body);
        ASSERT_TRUE(manager->Load(name)->IsComplete());
    }

    const ISound* Sound(const char* name) { return AutoResource<ISound>(Label(name)).Get(); }

    // One update step and its output.
    std::vector<float> Frame(size_t frames = kStepFrames)
    {
        platform->Update(static_cast<float>(frames) / AudioLibrary::kOutputRate);
        return IsOpenALAudioPlatformInitialized() ? Render(frames) : std::vector<float>(2 * frames);
    }

    // A channel of the platform playing `sound` under a new node of the sound's group.
    SoundChannelPtr PlayOn(const ISound* sound, int loops = 1, IAudioControls* parent = nullptr)
    {
        SoundChannelPtr channel = platform->CreateChannel();
        AudioControlsPtr controls =
            platform->CreateControls(parent != nullptr ? parent : platform->GetControls(sound->GetKind()).get());
        channel->SetControls(controls.get());
        channel->Play(sound, loops);
        return channel;
    }

    static uint32_t HandleOf(const SoundChannelPtr& channel)
    {
        return static_cast<OpenALSoundChannel*>(channel.get())->GetHandle();
    }

    AudioLibrary::sDeviceOverride devices;
    std::unique_ptr<OpenALAudioPlatform> platform;
};

} // namespace Strata::Testing

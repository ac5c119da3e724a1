#include "audio/OpenALAudioPlatform.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

using DeviceFallBackTest = ResourceTest;

TEST_F(DeviceFallBackTest, DevicesAreTriedInOrderUntilOneOpens)
{
    struct Case
    {
        std::vector<std::string> devices;
        std::vector<int> working;
        std::vector<std::string> lines;
        bool initialized;
    };
    const Case cases[] = {
        {{"Speakers"}, {AudioLibrary::kDefaultDevice}, {}, true},
        {{"A", "B", "C"},
         {2},
         {"BASS Initialization failed on default device", "BASS Initialization failed on device 1"},
         true},
        {{"A", "B"},
         {},
         {"BASS Initialization failed on default device", "BASS Initialization failed on device 1",
          "BASS Initialization failed on device 2", "BASS Initialization failed on all devices"},
         false},
        {{}, {}, {"BASS Initialization failed on default device", "BASS Initialization failed on all devices"}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.devices.size() << " devices");
        AudioLibrary::sDeviceOverride devices{c.devices, c.working};
        AudioLibrary::SetDeviceOverride(&devices);
        OpenALAudioPlatform platform;
        EXPECT_EQ(LogLines([&] { platform.Setup(); }), c.lines);
        EXPECT_EQ(IsOpenALAudioPlatformInitialized(), c.initialized);
        EXPECT_EQ(AudioLibrary::IsInitialized(), c.initialized);
        // Silent or not, the tree is there and activation logs nothing.
        EXPECT_NE(platform.GetMasterControls(), nullptr);
        EXPECT_TRUE(LogLines([&] { platform.Activate(true); }).empty());
        EXPECT_TRUE(platform.IsActive());
        platform.Cleanup();
        EXPECT_FALSE(AudioLibrary::IsInitialized());
    }
    AudioLibrary::SetDeviceOverride(nullptr);
}

class PlatformTest : public AudioPlatformTest
{
};

TEST_F(PlatformTest, BuildsTheTreeWithAGroupPerKind)
{
    const AudioControlsPtr master = platform->GetMasterControls();
    const Label kinds[] = {Audio::GetEffectKind(), Audio::GetAmbientKind(), Audio::GetMusicKind(), Label("Voice")};
    for (const Label& kind : kinds)
    {
        const AudioControlsPtr group = platform->GetControls(kind);
        EXPECT_EQ(platform->GetControls(kind), group) << kind.c_str();
        EXPECT_FLOAT_EQ(group->GetVolume(), 0.5f) << kind.c_str();
        master->Mute(true);
        EXPECT_TRUE(group->IsMuted());
        master->Mute(false);
    }
    EXPECT_EQ(platform->GetControls(Label("voice")), platform->GetControls(Label("Voice")));
    EXPECT_EQ(platform->GetName(), Label("OpenAL Soft Audio"));
}

TEST_F(PlatformTest, DeactivatingPausesTheWholeOutput)
{
    AddFile(L"sounds/tone.wav", MakeWav(AudioLibrary::kOutputRate));
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\" loop=\"forever\"/>\n");
    const SoundChannelPtr channel = PlayOn(Sound("tone"));
    Frame();
    EXPECT_GT(Rms(Frame(), 0), 0.01);
    platform->Activate(false);
    platform->Activate(false);
    EXPECT_EQ(Rms(Frame(), 0), 0.0);
    const long long position = AudioLibrary::ChannelGetPosition(HandleOf(channel));
    Frame();
    EXPECT_EQ(AudioLibrary::ChannelGetPosition(HandleOf(channel)), position);
    platform->Activate(true);
    EXPECT_GT(Rms(Frame(), 0), 0.01);
}

TEST_F(PlatformTest, ChannelsAndNodesLeaveWhenOnlyThePlatformHoldsThem)
{
    AddFile(L"sounds/blip.wav", MakeWav(200));
    LoadManifest("<sound name=\"blip\" src=\"sounds/blip\"/>\n");
    const size_t nodes = platform->GetControlsCount();
    SoundChannelPtr held = PlayOn(Sound("blip"));
    PlayOn(Sound("blip"));
    EXPECT_EQ(platform->GetChannelCount(), 2u);
    for (int i = 0; i < 3; ++i)
        Frame();
    // The finished channel a caller still holds stays, with its node, until it is let go.
    EXPECT_FALSE(held->IsPlaying());
    EXPECT_EQ(platform->GetChannelCount(), 1u);
    EXPECT_EQ(platform->GetControlsCount(), nodes + 1);
    held.reset();
    Frame();
    Frame();
    EXPECT_EQ(platform->GetChannelCount(), 0u);
    EXPECT_EQ(platform->GetControlsCount(), nodes);
}

TEST_F(PlatformTest, ErrorTestLogsTheCallAndTheCodeName)
{
    AudioLibrary::ChannelPlay(999999, true);
    EXPECT_EQ(LogLines([] { EXPECT_FALSE(CheckAudioCall("BASS_ChannelPlay(mBassChannel, restartSound)")); }),
              std::vector<std::string>{"BASS_ChannelPlay(mBassChannel, restartSound) error: 5 (BASS_ERROR_HANDLE)"});
    AudioLibrary::Pump();
    EXPECT_TRUE(LogLines([] { EXPECT_TRUE(CheckAudioCall("BASS_Start()")); }).empty());
}

} // namespace

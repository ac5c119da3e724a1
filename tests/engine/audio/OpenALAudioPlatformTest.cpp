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

// The step's update asks the library about a channel only when it can matter (its controls changed,
// a loop may have ended, nobody else holds it); what the game sees must not change for it: a play's end
// shows right after the step whose output ended it, a counted loop restarts at the next update, a
// finished channel nobody holds goes at once, and a mute set while playing is applied.
TEST_F(PlatformTest, EndsLoopsAndControlChangesShowAtTheirStep)
{
    // Two and a half steps long: each play ends inside a step's output.
    AddFile(L"sounds/tone.wav", MakeWav(5 * kStepFrames / 2, 440.0f));
    AddFile(L"sounds/long.wav", MakeWav(AudioLibrary::kOutputRate, 440.0f));
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\"/>\n<sound name=\"long\" src=\"sounds/long\"/>\n");
    struct Case
    {
        int loops;
        bool held;
        int lastPlayingStep; // the last step after which it still plays
    };
    // A second loop starts at the update after the first ended (step 4) and ends inside step 6.
    const Case cases[] = {{1, true, 2}, {1, false, 2}, {2, true, 5}, {2, false, 5}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.loops << " loops, " << (c.held ? "held" : "let go"));
        SoundChannelPtr channel = PlayOn(Sound("tone"), c.loops);
        if (!c.held)
            channel.reset();
        for (int step = 1; step <= 8; ++step)
        {
            Frame();
            const bool playing = step <= c.lastPlayingStep;
            if (c.held)
                EXPECT_EQ(channel->IsPlaying(), playing) << step;
            else if (step > c.lastPlayingStep + 1)
                EXPECT_EQ(platform->GetChannelCount(), 0u) << "gone at the update after its end, step " << step;
            else
                EXPECT_EQ(platform->GetChannelCount(), 1u) << step;
        }
        channel.reset();
        Frame();
        EXPECT_EQ(platform->GetChannelCount(), 0u);
    }

    const SoundChannelPtr channel = PlayOn(Sound("long"));
    Frame();
    const double before = Rms(Frame(), 0);
    EXPECT_GT(before, 0.01);
    channel->GetControls()->Mute(true);
    // The mixer takes a change of gain in over its next output: the step after is silent.
    Frame();
    EXPECT_EQ(Rms(Frame(), 0), 0.0) << "the mute was applied";
    channel->GetControls()->Mute(false);
    Frame();
    EXPECT_NEAR(Rms(Frame(), 0), before, before / 10);
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

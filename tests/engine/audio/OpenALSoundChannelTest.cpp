#include "audio/OpenALSoundChannel.h"

#include "audio/SoundList.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

constexpr int kRate = AudioLibrary::kOutputRate;

// An Ogg file whose last page fails its checksum, so its decoder cannot tell its length.
std::vector<uint8_t> MakeOggWithoutLength()
{
    std::vector<uint8_t> bytes = MakeOgg(kRate);
    size_t last = 0;
    for (size_t i = 0; i + 4 < bytes.size(); ++i)
        if (std::memcmp(&bytes[i], "OggS", 4) == 0)
            last = i;
    for (size_t i = last + 30; i < bytes.size(); ++i)
        bytes[i] ^= 0x5a;
    return bytes;
}

class ChannelTest : public AudioPlatformTest
{
protected:
    // Steps until the channel no longer plays, running `each` before every step.
    template <class Each>
    int StepsWhilePlaying(const SoundChannelPtr& channel, Each each)
    {
        int steps = 0;
        for (; channel && channel->IsPlaying() && steps < 1000; ++steps)
        {
            each(steps);
            Frame();
        }
        return steps;
    }
};

class SilentChannelTest : public ChannelTest
{
protected:
    SilentChannelTest() { devices.working.clear(); }

    void SetUp() override
    {
        ChannelTest::SetUp();
        AddFile(L"sounds/voice.wav", MakeWav(kRate / 2));
        AddFile(L"sounds/low.ogg", MakeOgg(4410, 500.0f, 1, 22050));
        AddFile(L"sounds/song.mod", MakeModule());
        AddFile(L"sounds/nolength.ogg", MakeOggWithoutLength());
        AddFile(L"sounds/broken.wav", std::vector<uint8_t>(300, 0x42));
        LogLines(
            [&]
            {
                LoadManifest("<sound name=\"voice\" src=\"sounds/voice\"/>\n"
                             "<sound name=\"thrice\" src=\"sounds/voice\" loop=\"3\"/>\n"
                             "<sound name=\"low\" src=\"sounds/low\"/>\n"
                             "<sound name=\"hum\" src=\"sounds/low\" loop=\"forever\"/>\n"
                             "<sound name=\"song\" src=\"sounds/song\" type=\"music\"/>\n"
                             "<sound name=\"nolength\" src=\"sounds/nolength\"/>\n"
                             "<sound name=\"broken\" src=\"sounds/broken\"/>\n");
            });
    }
};

TEST_F(SilentChannelTest, EverySoundLastsItsDecodedLengthAtItsRate)
{
    struct Case
    {
        const char* sound;
        float rate;
        int pauseAt; // for ten steps, from this step on
        bool deactivate;
        int steps;
    };
    const Case cases[] = {
        {"voice", 1.0f, -1, false, 50},   {"voice", 2.0f, -1, false, 25}, {"voice", 0.5f, -1, false, 100},
        {"voice", 1.0f, 20, false, 60},   {"voice", 1.0f, 20, true, 60},  {"thrice", 1.0f, -1, false, 150},
        {"low", 1.0f, -1, false, 20},     {"song", 1.0f, -1, false, 12},  {"nolength", 1.0f, -1, false, 0},
        {"nolength", 2.0f, -1, false, 0}, {"broken", 1.0f, -1, false, 0},
    };
    const std::vector<std::string> lines = LogLines(
        [&]
        {
            for (const Case& c : cases)
            {
                SCOPED_TRACE(testing::Message() << c.sound << " at " << c.rate << " paused at " << c.pauseAt);
                Audio::sPlayState state;
                state.rate = c.rate;
                SoundChannelPtr channel;
                Audio::Play(Sound(c.sound), &channel, state);
                ASSERT_NE(channel, nullptr);
                const auto pause = [&](bool on) {
                    c.deactivate ? platform->Activate(!on)
                                 : (on ? channel->GetControls()->Pause() : channel->GetControls()->Resume());
                };
                EXPECT_EQ(StepsWhilePlaying(channel,
                                            [&](int step)
                                            {
                                                if (step == c.pauseAt || step == c.pauseAt + 10)
                                                    pause(step == c.pauseAt);
                                            }),
                          c.steps);
            }
        });
    EXPECT_EQ(lines, std::vector<std::string>{
                         "Sound file sounds/nolength.ogg has no known length: without a device it ends at once."});
}

TEST_F(SilentChannelTest, WaitsAndTheVoiceQueueAdvanceAfterEachClipAndALoopPlaysUntilStopped)
{
    SoundChannelPtr hum;
    Audio::Play(Sound("hum"), &hum, Audio::sPlayState());
    // A voice queue: the next clip starts once the one before no longer plays.
    const char* queue[] = {"voice", "low", "song"};
    std::vector<int> starts;
    SoundChannelPtr voice;
    for (int step = 0; step < 300; ++step, Frame())
        if ((!voice || !voice->IsPlaying()) && starts.size() < std::size(queue))
        {
            Audio::Play(Sound(queue[starts.size()]), &voice, Audio::sPlayState());
            starts.push_back(step);
        }
    EXPECT_EQ(starts, (std::vector<int>{0, 50, 70}));

    // A sequence of waiting play tasks, each completing once its clip has ended.
    AudioPlayTask tasks[] = {{Sound("low"), true, Audio::sPlayState()}, {Sound("voice"), true, Audio::sPlayState()}};
    int steps = 0;
    for (size_t next = 0; next < std::size(tasks) && steps < 300;)
        if (tasks[next].Update(nullptr, kStep).state == TaskState_Complete)
            ++next;
        else
            Frame(), ++steps;
    EXPECT_EQ(steps, 70);

    EXPECT_TRUE(hum->IsPlaying());
    platform->GetControls(Audio::GetEffectKind())->Stop();
    Frame();
    EXPECT_FALSE(hum->IsPlaying());
}

// A device that opens, with one source for all.
class OneSourceChannelTest : public ChannelTest
{
protected:
    OneSourceChannelTest() { devices.sources = 1; }
};

TEST_F(OneSourceChannelTest, APlayWithoutASourceOrWithUndecodableDataLastsItsLength)
{
    AddFile(L"sounds/voice.wav", MakeWav(kRate / 2));
    // The header promises a second; the frames after it do not decode.
    std::vector<uint8_t> damaged = MakeSoundFile(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kRate, 1, kRate, 1000.0f);
    for (size_t i = 200; i < damaged.size(); ++i)
        damaged[i] ^= 0x5a;
    AddFile(L"sounds/damaged.wav", damaged);
    LoadManifest("<sound name=\"voice\" src=\"sounds/voice\"/>\n<sound name=\"damaged\" src=\"sounds/damaged\"/>\n");
    SoundChannelPtr first;
    SoundChannelPtr second;
    int voiceSteps = 0;
    int damagedSteps = 0;
    const std::vector<std::string> lines = LogLines(
        [&]
        {
            Audio::Play(Sound("damaged"), &first, Audio::sPlayState());
            Audio::Play(Sound("voice"), &second, Audio::sPlayState());
            EXPECT_FALSE(static_cast<OpenALSoundChannel*>(first.get())->IsSilent());
            EXPECT_TRUE(static_cast<OpenALSoundChannel*>(second.get())->IsSilent());
            damagedSteps = StepsWhilePlaying(first,
                                             [&](int step)
                                             {
                                                 if (second->IsPlaying())
                                                     voiceSteps = step + 1;
                                             });
        });
    EXPECT_EQ(voiceSteps, 50);
    EXPECT_GE(damagedSteps, 100);
    EXPECT_LE(damagedSteps, 102);
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "BASS_ChannelSetAttributes(mBassChannel, freq, volume, pan) error: 12 (BASS_ERROR_NOCHAN)",
                  "BASS_ChannelPlay(mBassChannel, restartSound) error: 12 (BASS_ERROR_NOCHAN)",
                  "Sound file sounds/damaged.wav could not be decoded to its end; the rest played as silence."}));
}

} // namespace

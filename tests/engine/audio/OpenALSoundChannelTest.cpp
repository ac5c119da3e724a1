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

class SilentChannelTest : public AudioPlatformTest
{
protected:
    SilentChannelTest() { devices.working.clear(); }
};

TEST_F(SilentChannelTest, EveryWaitLastsTheDecodedLengthAtItsRateAndALoopUntilStopped)
{
    const std::vector<uint8_t> noLength = MakeOggWithoutLength(kRate);
    AddFile(L"v.wav", MakeWav(kRate / 2));
    AddFile(L"low.ogg", MakeOgg(4410, 500.0f, 1, 22050));
    AddFile(L"song.mod", MakeModule());
    AddFile(L"nolength.ogg", noLength);
    AddFile(L"broken.wav", std::vector<uint8_t>(300, 0x42));
    LoadManifest("<sound name=\"voice\" src=\"v\"/><sound name=\"thrice\" src=\"v\" loop=\"3\"/>"
                 "<sound name=\"low\" src=\"low\"/><sound name=\"hum\" src=\"low\" loop=\"forever\"/>"
                 "<sound name=\"song\" src=\"song\" type=\"music\"/><sound name=\"nolength\" src=\"nolength\"/>"
                 "<sound name=\"broken\" src=\"broken\"/>\n");
    // A waiting play task, under a node paused (or with the whole output off) for ten steps from `pauseAt`;
    // it completes in the update after its clip has ended.
    struct Case
    {
        const char* sound;
        float rate;
        int pauseAt;
        bool deactivate;
        int steps;
    };
    const Case cases[] = {{"voice", 1.0f, -1, false, 50},   {"voice", 2.0f, -1, false, 25},
                          {"voice", 1.0f, 20, false, 60},   {"voice", 1.0f, 20, true, 60},
                          {"thrice", 1.0f, -1, false, 150}, {"nolength", 1.0f, -1, false, 1},
                          {"nolength", 2.0f, -1, false, 1}, {"broken", 1.0f, -1, false, 1}};
    const std::vector<std::string> lines = LogLines(
        [&]
        {
            for (const Case& c : cases)
            {
                SCOPED_TRACE(testing::Message() << c.sound << " at " << c.rate << " paused at " << c.pauseAt);
                Audio::sPlayState state;
                state.rate = c.rate;
                state.parentControls = Audio::CreateControls(nullptr);
                AudioPlayTask task(Sound(c.sound), true, state);
                int steps = 0;
                for (; task.Update(nullptr, kStep).state != TaskState_Complete && steps < 1000; ++steps, Frame())
                    if (steps == c.pauseAt || steps == c.pauseAt + 10)
                        c.deactivate
                            ? platform->Activate(steps != c.pauseAt)
                            : (steps == c.pauseAt ? state.parentControls->Pause() : state.parentControls->Resume());
                EXPECT_EQ(steps, c.steps);
            }
        });
    EXPECT_EQ(lines,
              std::vector<std::string>{"Sound file nolength.ogg has no known length: played silent, it ends at once."});

    // Beside a looping hum, a voice queue starts each clip once the one before no longer plays.
    SoundChannelPtr hum;
    Audio::Play(Sound("hum"), &hum, Audio::sPlayState());
    const char* queue[] = {"voice", "low", "song", "voice"};
    std::vector<int> starts;
    SoundChannelPtr voice;
    for (int step = 0; step < 300; ++step, Frame())
        if ((!voice || !voice->IsPlaying()) && starts.size() < std::size(queue))
            Audio::Play(Sound(queue[starts.size()]), &voice, Audio::sPlayState()), starts.push_back(step);
    EXPECT_EQ(starts, (std::vector<int>{0, 50, 70, 82}));
    EXPECT_TRUE(hum->IsPlaying());
    platform->GetControls(Audio::GetEffectKind())->Stop();
    Frame();
    EXPECT_FALSE(hum->IsPlaying());
}

class OneSourceChannelTest : public AudioPlatformTest
{
protected:
    OneSourceChannelTest() { devices.sources = 1; }
};

TEST_F(OneSourceChannelTest, APlayWithoutASourceOrWithUndecodableDataLastsItsLength)
{
    AddFile(L"v.wav", MakeWav(kRate / 2));
    // The header promises a second; no frame after it decodes.
    std::vector<uint8_t> flac = MakeSoundFile(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kRate, 1, kRate, 1000.0f);
    for (size_t i = 200; i < flac.size(); ++i)
        flac[i] ^= 0x5a;
    AddFile(L"damaged.wav", flac);
    LoadManifest("<sound name=\"voice\" src=\"v\"/><sound name=\"damaged\" src=\"damaged\"/>\n");
    int voiceSteps = 0;
    int damagedSteps = 0;
    const std::vector<std::string> lines = LogLines(
        [&]
        {
            SoundChannelPtr damaged;
            SoundChannelPtr voice;
            Audio::Play(Sound("damaged"), &damaged, Audio::sPlayState()); // takes the one source
            Audio::Play(Sound("voice"), &voice, Audio::sPlayState());
            for (; damaged->IsPlaying() && damagedSteps < 1000; ++damagedSteps, Frame())
                voiceSteps += voice->IsPlaying() ? 1 : 0;
        });
    EXPECT_EQ(voiceSteps, 50);
    EXPECT_NEAR(damagedSteps, 101, 1);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "BASS_ChannelSetAttributes(mBassChannel, freq, volume, pan) error: 12 (BASS_ERROR_NOCHAN)",
                         "BASS_ChannelPlay(mBassChannel, restartSound) error: 12 (BASS_ERROR_NOCHAN)",
                         "Sound file damaged.wav could not be decoded to its end; the rest played as silence."}));
}

} // namespace

#include "audio/AudioLibrary.h"

#include "AudioTestSupport.h"

#include <AL/alc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

using namespace Strata;
namespace Lib = Strata::AudioLibrary;
using namespace Strata::Testing;

namespace
{

constexpr int kRate = Lib::kOutputRate;

class AudioLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Lib::Init(Lib::kDefaultDevice, kRate)); }

    // A playing channel of the bytes, as a sample playback or as a stream.
    Lib::Handle PlayClip(const std::vector<uint8_t>& bytes, bool stream)
    {
        mBytes = bytes;
        Lib::Handle channel = 0;
        if (stream)
        {
            channel = Lib::StreamCreate(mBytes.data(), mBytes.size());
        }
        else
        {
            const Lib::Handle sample = Lib::SampleLoad(mBytes.data(), mBytes.size(), 32);
            channel = Lib::SampleGetChannel(sample);
        }
        EXPECT_NE(channel, 0u);
        EXPECT_TRUE(Lib::ChannelPlay(channel, true));
        return channel;
    }

    LoopbackDevice mDevice;
    std::vector<uint8_t> mBytes;
};

TEST_F(AudioLibraryTest, EveryFileFormatDecodesAtItsOwnRateAndFrequencyChangesThePitch)
{
    struct Case
    {
        const char* name;
        int format, rate, channels, frequency;
        bool stream;
    };
    constexpr int kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const Case cases[] = {
        {"wav sample", kWav, kRate, 1, kRate, false},
        {"wav sample at half speed", kWav, kRate, 1, kRate / 2, false},
        {"wav stream at double speed", kWav, kRate, 1, kRate * 2, true},
        {"wav stream at half speed", kWav, kRate, 1, kRate / 2, true},
        {"wav 22 kHz", kWav, 22050, 2, 22050, true},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 48000, 2, 48000, true},
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2, 44100, true},
        {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2, 44100, true},
        {"aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 32000, 2, 32000, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Lib::Handle channel =
            PlayClip(MakeSoundFile(c.format, c.rate, c.channels, static_cast<size_t>(c.rate), 1000.0f), c.stream);
        unsigned rate = 0;
        ASSERT_TRUE(Lib::ChannelGetOriginalRate(channel, &rate));
        EXPECT_EQ(rate, static_cast<unsigned>(c.rate));
        ASSERT_TRUE(Lib::ChannelSetAttributes(channel, c.frequency, 100, 0));
        Render(kRate / 10);
        // A quarter of a second of the 1 kHz tone, resampled to the output rate.
        const int expected = 250 * c.frequency / c.rate;
        EXPECT_NEAR(RisingCrossings(Render(kRate / 4)), expected, expected / 100 + 3);
        Lib::ChannelStop(channel);
    }
}

TEST_F(AudioLibraryTest, PanAndVolumeSetTheSidesOfMonoAndStereoClipsAndOutOfRangeValuesAreClamped)
{
    for (const int channels : {1, 2})
    {
        SCOPED_TRACE(testing::Message() << channels << " channels");
        const Lib::Handle channel = PlayClip(MakeWav(kRate * 4, 440.0f, channels), false);
        // The mixer ramps gain changes over a few milliseconds: each level is measured after it settled.
        const auto level = [&](int frequency, int volume, int pan)
        {
            EXPECT_TRUE(Lib::ChannelSetAttributes(channel, frequency, volume, pan));
            Render(1024);
            const std::vector<float> out = Render(4410);
            return std::pair(Rms(out, 0), Rms(out, 1));
        };
        for (const int pan : {-100, 0, 100})
        {
            const auto [left, right] = level(kRate, 100, pan);
            EXPECT_GT(left + right, 0.1) << pan;
            if (pan < 0)
                EXPECT_GT(left, 3.0 * right);
            else if (pan > 0)
                EXPECT_GT(right, 3.0 * left);
            else
                EXPECT_NEAR(left, right, 0.02 * (left + right));
        }
        const double full = level(kRate, 100, 0).first;
        EXPECT_NEAR(level(kRate, 50, 0).first, full / 2, full * 0.05);
        EXPECT_NEAR(level(kRate, 1000, 0).first, full, full * 0.05);
        EXPECT_EQ(level(kRate, -5, 0).first, 0.0);
        // A frequency of 0 or far beyond the top plays at the nearest limit, never stalls or fails.
        EXPECT_GT(level(0, 100, -1000).first, 0.0);
        EXPECT_GT(level(100000000, 100, 1000).first, -1.0);
        EXPECT_EQ(Lib::ChannelIsActive(channel), Lib::Activity_Playing);
        Lib::ChannelStop(channel);
    }
}

TEST_F(AudioLibraryTest, PausingTheChannelOrTheOutputFreezesThePosition)
{
    for (const bool stream : {false, true})
    {
        SCOPED_TRACE(stream ? "stream" : "sample");
        const Lib::Handle channel = PlayClip(MakeWav(kRate, 440.0f), stream);
        Render(1000);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 1000);

        ASSERT_TRUE(Lib::ChannelPause(channel));
        EXPECT_EQ(Lib::ChannelIsActive(channel), Lib::Activity_Paused);
        EXPECT_EQ(Rms(Render(1000), 0), 0.0);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 1000);
        ASSERT_TRUE(Lib::ChannelPlay(channel, false));
        Render(500);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 1500);

        ASSERT_TRUE(Lib::Pause());
        EXPECT_EQ(Rms(Render(1000), 0), 0.0);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 1500);
        EXPECT_EQ(Lib::ChannelIsActive(channel), Lib::Activity_Playing);
        ASSERT_TRUE(Lib::Start());
        Render(500);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 2000);

        // Playing again without a restart goes on; with one it starts over.
        ASSERT_TRUE(Lib::ChannelPlay(channel, false));
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 2000);
        ASSERT_TRUE(Lib::ChannelPlay(channel, true));
        Render(100);
        EXPECT_EQ(Lib::ChannelGetPosition(channel), 100);
        Lib::ChannelStop(channel);
    }
}

TEST_F(AudioLibraryTest, AClipEndsExactlyWhenItsFramesHaveBeenRendered)
{
    struct Case
    {
        size_t frames;
        bool stream;
        bool ogg;
    };
    // Streams longer than one queued buffer (4,096 frames) end across refills; one of 9 s, long enough for
    // pieces of 16,384 frames, across several of those.
    const Case cases[] = {{1000, false, false}, {1000, true, false}, {10000, true, false},
                          {20000, true, true},  {9000, false, true}, {kRate * 9 + 123, true, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.frames << (c.stream ? " stream" : " sample") << (c.ogg ? " ogg" : ""));
        const Lib::Handle channel = PlayClip(c.ogg ? MakeOgg(c.frames) : MakeWav(c.frames), c.stream);
        Render(c.frames - 1);
        EXPECT_EQ(Lib::ChannelIsActive(channel), Lib::Activity_Playing);
        Render(1);
        EXPECT_EQ(Lib::ChannelIsActive(channel), Lib::Activity_Stopped);
        Lib::ChannelStop(channel);
    }
}

TEST_F(AudioLibraryTest, ThirtyTwoPlaybacksThenTheOldestIsTakenOver)
{
    mBytes = MakeWav(kRate, 440.0f);
    const Lib::Handle sample = Lib::SampleLoad(mBytes.data(), mBytes.size(), 32);
    ASSERT_NE(sample, 0u);
    std::vector<Lib::Handle> playbacks;
    for (int i = 0; i < 32; ++i)
    {
        playbacks.push_back(Lib::SampleGetChannel(sample));
        ASSERT_TRUE(Lib::ChannelPlay(playbacks.back(), true));
        Render(10);
    }
    const Lib::Handle extra = Lib::SampleGetChannel(sample);
    ASSERT_NE(extra, 0u);
    EXPECT_EQ(std::count(playbacks.begin(), playbacks.end(), extra), 0);
    ASSERT_TRUE(Lib::ChannelPlay(extra, true));
    // The first playback is gone: its handle no longer reaches anything.
    EXPECT_EQ(Lib::ChannelIsActive(playbacks[0]), Lib::Activity_Stopped);
    EXPECT_FALSE(Lib::ChannelPlay(playbacks[0], true));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);
    for (size_t i = 1; i < playbacks.size(); ++i)
        EXPECT_EQ(Lib::ChannelIsActive(playbacks[i]), Lib::Activity_Playing) << i;

    // A playback that played out is reused before any playing one is taken over.
    Lib::ChannelStop(playbacks[5]);
    const Lib::Handle reused = Lib::SampleGetChannel(sample);
    ASSERT_TRUE(Lib::ChannelPlay(reused, true));
    EXPECT_EQ(Lib::ChannelIsActive(playbacks[1]), Lib::Activity_Playing);
    EXPECT_FALSE(Lib::ChannelStop(playbacks[5]));

    ASSERT_TRUE(Lib::SampleFree(sample));
    EXPECT_EQ(Lib::ChannelIsActive(extra), Lib::Activity_Stopped);
}

TEST_F(AudioLibraryTest, ErrorCodesBelongToTheCallingThread)
{
    const auto codeOnAnotherThread = [](void (*call)())
    {
        int code = -2;
        std::thread(
            [&]
            {
                call();
                code = Lib::ErrorGetCode();
            })
            .join();
        return code;
    };
    EXPECT_FALSE(Lib::ChannelPlay(12345, true));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);
    EXPECT_EQ(codeOnAnotherThread([] { Lib::StreamCreate("junk", 4); }), Lib::Error_FileForm);
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);
    EXPECT_EQ(codeOnAnotherThread([] { Lib::Pump(); }), Lib::Error_OK);
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);
}

TEST_F(AudioLibraryTest, BadDataAndOldHandlesFailHarmlessly)
{
    const std::vector<uint8_t> junk(1000, 0x5a);
    struct Case
    {
        const char* name;
        Lib::Handle (*load)(const std::vector<uint8_t>&);
    };
    const Case loads[] = {
        {"sample", [](const std::vector<uint8_t>& b) { return Lib::SampleLoad(b.data(), b.size(), 32); }},
        {"stream", [](const std::vector<uint8_t>& b) { return Lib::StreamCreate(b.data(), b.size()); }},
        {"music", [](const std::vector<uint8_t>& b) { return Lib::MusicLoad(b.data(), b.size()); }},
    };
    for (const Case& c : loads)
    {
        EXPECT_EQ(c.load(junk), 0u) << c.name;
        EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_FileForm) << c.name;
        EXPECT_EQ(c.load({}), 0u) << c.name;
        EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_FileForm) << c.name;
    }
    EXPECT_EQ(Lib::SampleLoad(junk.data(), junk.size(), 33), 0u);
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_IllParam);

    const Lib::Handle stream = PlayClip(MakeWav(kRate), true);
    ASSERT_TRUE(Lib::StreamFree(stream));
    EXPECT_FALSE(Lib::StreamFree(stream));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);

    const Lib::Handle kept = PlayClip(MakeWav(kRate), true);
    ASSERT_TRUE(Lib::Free());
    EXPECT_FALSE(Lib::ChannelPlay(kept, true));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Init);
    EXPECT_EQ(Lib::ChannelIsActive(kept), Lib::Activity_Stopped);
    EXPECT_FALSE(Lib::StreamFree(kept));
    EXPECT_FALSE(Lib::Free());
    EXPECT_EQ(Lib::SampleLoad(mBytes.data(), mBytes.size(), 1), 0u);
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Init);
    // A new device never hands the old handles' numbers out again.
    ASSERT_TRUE(Lib::Init(Lib::kDefaultDevice, kRate));
    EXPECT_FALSE(Lib::ChannelPlay(kept, true));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Handle);
    EXPECT_NE(PlayClip(MakeWav(100), true), kept);
}

TEST_F(AudioLibraryTest, AModuleIsRenderedUntilItsSongEnds)
{
    mBytes = MakeModule();
    const Lib::Handle music = Lib::MusicLoad(mBytes.data(), mBytes.size());
    ASSERT_NE(music, 0u);
    unsigned rate = 0;
    ASSERT_TRUE(Lib::ChannelGetOriginalRate(music, &rate));
    EXPECT_EQ(rate, static_cast<unsigned>(kRate));
    ASSERT_TRUE(Lib::ChannelPlay(music, true));
    EXPECT_GT(Rms(Render(kRate / 20), 0), 0.01);
    Render(kRate / 2);
    EXPECT_EQ(Lib::ChannelIsActive(music), Lib::Activity_Stopped);
    // Played again from its start.
    ASSERT_TRUE(Lib::ChannelPlay(music, true));
    EXPECT_GT(Rms(Render(kRate / 20), 0), 0.01);
    ASSERT_TRUE(Lib::MusicFree(music));
}

TEST_F(AudioLibraryTest, MakingAHandleMeasuresTheClipAsClipGetLengthDoes)
{
    const std::vector<uint8_t> noLength = MakeOggWithoutLength(kRate);
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
        bool module;
    };
    const Case cases[] = {{"wav", MakeWav(1000, 1000.0f, 2, 22050), false},
                          {"ogg", MakeOgg(3000, 500.0f, 1, 32000), false},
                          {"ogg without a length", noLength, false},
                          {"module", MakeModule(), true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        unsigned rate = 0;
        long long frames = 0;
        ASSERT_TRUE(Lib::ClipGetLength(c.bytes.data(), c.bytes.size(), c.module, &rate, &frames));
        EXPECT_EQ(frames < 0, c.bytes == noLength);
        const auto check = [&](Lib::Handle handle, const Lib::sClipLength& clip, bool made = true)
        {
            EXPECT_EQ(handle != 0, made);
            EXPECT_TRUE(clip.measured);
            EXPECT_EQ(clip.rate, rate);
            EXPECT_EQ(clip.frames, frames);
        };
        if (c.module)
        {
            Lib::sClipLength clip;
            check(Lib::MusicLoad(c.bytes.data(), c.bytes.size(), &clip), clip);
            continue;
        }
        Lib::sClipLength streamed;
        check(Lib::StreamCreate(c.bytes.data(), c.bytes.size(), &streamed), streamed);
        // A sample decodes the whole clip at once, and one whose last page is damaged makes none.
        Lib::sClipLength sampled;
        check(Lib::SampleLoad(c.bytes.data(), c.bytes.size(), 32, &sampled), sampled, c.bytes != noLength);
    }

    // Bytes no decoder opens leave the clip unmeasured, with the error ClipGetLength gives.
    const std::vector<uint8_t> junk(1000, 0x5a);
    for (const bool module : {false, true})
    {
        ASSERT_FALSE(Lib::ClipGetLength(junk.data(), junk.size(), module, nullptr, nullptr));
        const int measureError = Lib::ErrorGetCode();
        Lib::sClipLength clip;
        const Lib::Handle handle = module ? Lib::MusicLoad(junk.data(), junk.size(), &clip)
                                          : Lib::StreamCreate(junk.data(), junk.size(), &clip);
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(Lib::ErrorGetCode(), measureError);
        EXPECT_FALSE(clip.measured);
    }
    // A decodable clip is measured even when no handle can be made after that.
    ASSERT_TRUE(Lib::Free());
    const std::vector<uint8_t> wav = MakeWav(500);
    Lib::sClipLength clip;
    EXPECT_EQ(Lib::StreamCreate(wav.data(), wav.size(), &clip), 0u);
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Init);
    EXPECT_TRUE(clip.measured);
    EXPECT_EQ(clip.frames, 500);
}

// With OpenAL Soft's null driver (ALSOFT_DRIVERS=null, as the tests run) the real device path opens a
// silent device whose output pauses and resumes, and streams are kept filled by the feeder thread.
TEST(AudioLibraryRealDevice, TheDefaultAndTheListedDevicesOpen)
{
    if (std::getenv("ALSOFT_DRIVERS") == nullptr || std::string(std::getenv("ALSOFT_DRIVERS")) != "null")
        GTEST_SKIP() << "only with ALSOFT_DRIVERS=null";
    ASSERT_NE(Lib::GetDeviceDescription(1), nullptr);
    EXPECT_EQ(Lib::GetDeviceDescription(0), nullptr);
    for (const int device : {Lib::kDefaultDevice, 1})
    {
        ASSERT_TRUE(Lib::Init(device, kRate)) << device;
        // The mixer wakes for periods of 2,048 frames, half as often as OpenAL's own default, and the
        // configuration that says so is not handed on to child processes.
        ALCint refresh = 0;
        alcGetIntegerv(alcGetContextsDevice(alcGetCurrentContext()), ALC_REFRESH, 1, &refresh);
        EXPECT_GE(refresh, kRate / 2048) << device;
        EXPECT_LE(refresh, kRate / 2048 + 1) << device;
        EXPECT_EQ(std::getenv("ALSOFT_CONF"), nullptr);
        EXPECT_FALSE(Lib::Init(device, kRate));
        EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Already);
        EXPECT_TRUE(Lib::Pause());
        EXPECT_TRUE(Lib::Start());
        const std::vector<uint8_t> bytes = MakeWav(kRate / 10);
        const Lib::Handle stream = Lib::StreamCreate(bytes.data(), bytes.size());
        EXPECT_TRUE(Lib::ChannelPlay(stream, true));
        EXPECT_NE(Lib::ChannelIsActive(stream), Lib::Activity_Stopped);
        float out[2];
        EXPECT_FALSE(Lib::RenderLoopback(out, 1));
        EXPECT_TRUE(Lib::Free());
    }
    EXPECT_FALSE(Lib::Init(99, kRate));
    EXPECT_EQ(Lib::ErrorGetCode(), Lib::Error_Device);
}

// Whether the channel's position reaches `frames`. A bound far beyond the time needed turns a feeder that
// never wakes into a failure rather than a hang; the test asserts on positions only.
bool PlaysTo(Lib::Handle channel, long long frames)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Lib::ChannelGetPosition(channel) < frames)
    {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The feeder sleeps while nothing needs it. Half a second of frames is more than a stream's whole queue,
// so a stream that plays that far after the wake was refilled, again and again, by a feeder that woke.
TEST(AudioLibraryRealDevice, TheFeederWakesForEveryKindOfWorkAfterAnIdleSpell)
{
    if (std::getenv("ALSOFT_DRIVERS") == nullptr || std::string(std::getenv("ALSOFT_DRIVERS")) != "null")
        GTEST_SKIP() << "only with ALSOFT_DRIVERS=null";
    struct Case
    {
        const char* name;
        void (*before)(Lib::Handle stream); // what leaves the feeder with nothing to do
        void (*wake)(Lib::Handle stream);
    };
    const Case cases[] = {
        {"a new stream played", [](Lib::Handle) {}, [](Lib::Handle s) { Lib::ChannelPlay(s, true); }},
        {"a paused stream resumed",
         [](Lib::Handle s)
         {
             Lib::ChannelPlay(s, true);
             Lib::ChannelPause(s);
         },
         [](Lib::Handle s) { Lib::ChannelPlay(s, false); }},
        {"a stopped stream played again",
         [](Lib::Handle s)
         {
             Lib::ChannelPlay(s, true);
             Lib::ChannelStop(s);
         },
         [](Lib::Handle s) { Lib::ChannelPlay(s, true); }},
        {"the paused output started",
         [](Lib::Handle s)
         {
             Lib::ChannelPlay(s, true);
             Lib::Pause();
         },
         [](Lib::Handle) { Lib::Start(); }},
    };
    const auto idleSpell = [] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); };
    const std::vector<uint8_t> bytes = MakeWav(kRate * 4);
    ASSERT_TRUE(Lib::Init(Lib::kDefaultDevice, kRate));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        idleSpell();
        const Lib::Handle stream = Lib::StreamCreate(bytes.data(), bytes.size());
        ASSERT_NE(stream, 0u);
        c.before(stream);
        idleSpell();
        const long long from = std::max(Lib::ChannelGetPosition(stream), 0LL);
        c.wake(stream);
        EXPECT_TRUE(PlaysTo(stream, from + kRate / 2));
        EXPECT_TRUE(Lib::StreamFree(stream));
    }
    // Shutting down wakes it too: Free joins the thread.
    idleSpell();
    EXPECT_TRUE(Lib::Free());
}

// The name of each of this process's threads.
std::vector<std::string> ThreadNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    {
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        names.push_back(name);
    }
    return names;
}

// A short and a long stream (pieces of 4,096 and 16,384 frames) play on a real device through several
// refills each without their sources running dry. The threads that work for it carry names, the mixer's
// again after the output resumed (a new thread), and no thread that was there before is renamed.
TEST(AudioLibraryRealDevice, StreamsPlayThroughTheirRefillsWithoutRunningDry)
{
    if (std::getenv("ALSOFT_DRIVERS") == nullptr || std::string(std::getenv("ALSOFT_DRIVERS")) != "null")
        GTEST_SKIP() << "only with ALSOFT_DRIVERS=null";
    std::string own;
    std::getline(std::ifstream("/proc/self/comm"), own);
    std::thread bystander([] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); });
    ASSERT_TRUE(Lib::Init(Lib::kDefaultDevice, kRate));
    std::vector<std::string> names = ThreadNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "audio feeder"), 1);
    const auto library = std::count(names.begin(), names.end(), "openal");
    EXPECT_GE(library, 1);
    EXPECT_GE(std::count(names.begin(), names.end(), own), 2) << "the main thread and the bystander keep theirs";
    bystander.join();
    EXPECT_TRUE(Lib::Pause());
    EXPECT_TRUE(Lib::Start());
    names = ThreadNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "openal"), library);

    const std::vector<uint8_t> shortClip = MakeWav(kRate * 4);
    const std::vector<uint8_t> longClip = MakeWav(kRate * 20, 440.0f, 2);
    const Lib::Handle shortStream = Lib::StreamCreate(shortClip.data(), shortClip.size());
    const Lib::Handle longStream = Lib::StreamCreate(longClip.data(), longClip.size());
    ASSERT_TRUE(Lib::ChannelPlay(shortStream, true));
    ASSERT_TRUE(Lib::ChannelPlay(longStream, true));
    // Four pieces of the long stream: three refills of it, a dozen of the short one.
    EXPECT_TRUE(PlaysTo(longStream, 4 * 16384));
    EXPECT_GE(Lib::ChannelGetPosition(shortStream), 3 * 4096);
    EXPECT_EQ(Lib::GetStreamUnderruns(), 0u);
    EXPECT_EQ(Lib::ChannelIsActive(longStream), Lib::Activity_Playing);
    EXPECT_TRUE(Lib::Free());
}

TEST(AudioLibraryErrorNames, CodesIndexTheListOfNames)
{
    EXPECT_STREQ(Lib::GetErrorName(0), "BASS_OK");
    EXPECT_STREQ(Lib::GetErrorName(Lib::Error_Handle), "BASS_ERROR_HANDLE");
    EXPECT_STREQ(Lib::GetErrorName(Lib::Error_Init), "BASS_ERROR_INIT");
    EXPECT_STREQ(Lib::GetErrorName(34), "BASS_ERROR_CODEC");
    EXPECT_STREQ(Lib::GetErrorName(35), "unknown error");
    EXPECT_STREQ(Lib::GetErrorName(-1), "unknown error");
}

} // namespace

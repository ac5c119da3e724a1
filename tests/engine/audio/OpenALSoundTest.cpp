#include "audio/OpenALSound.h"

#include "core/AttributeContainer.h"
#include "core/Random.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <set>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

constexpr int kRate = AudioLibrary::kOutputRate;

class SoundTest : public AudioPlatformTest
{
protected:
    void SetUp() override
    {
        AudioPlatformTest::SetUp();
        AddFile(L"sounds/tone.wav", MakeWav(kRate, 1000.0f));
        AddFile(L"sounds/short.ogg", MakeOgg(1000, 1000.0f));
    }
};

TEST_F(SoundTest, ElementAttributesAreReadAndClamped)
{
    struct Case
    {
        const char* attributes;
        Label kind;
        float volume, pan, rate;
        int loops;
    };
    const Case cases[] = {
        {"", Audio::GetEffectKind(), 1.0f, 0.0f, 1.0f, 1},
        {"type=\"sfx\" volume=\"1.5\" pan=\"-2\" rate=\"0\"", Audio::GetEffectKind(), 1.0f, -1.0f, FLT_MIN, 1},
        {"type=\"Music\" volume=\"0.25\" pan=\"0.5\" rate=\"2\" loop=\"forever\"", Audio::GetMusicKind(), 0.25f, 0.5f,
         2.0f, 0},
        {"type=\"ambient\" loop=\"-4\" volume=\"nan\"", Audio::GetAmbientKind(), 1.0f, 0.0f, 1.0f, 0},
        {"type=\"voice\" loop=\"3\"", Label("voice"), 1.0f, 0.0f, 1.0f, 3},
        {"type=\"\" loop=\"99999999999\"", Audio::GetEffectKind(), 1.0f, 0.0f, 1.0f, INT_MAX},
    };
    std::string body;
    for (size_t i = 0; i < std::size(cases); ++i)
        body += "<sound name=\"s" + std::to_string(i) + "\" src=\"sounds/tone\" " + cases[i].attributes + "/>\n";
    LoadManifest(body);
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(cases[i].attributes);
        const ISound* sound = Sound(("s" + std::to_string(i)).c_str());
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->GetKind(), cases[i].kind);
        EXPECT_FLOAT_EQ(sound->GetDefaultVolume(), cases[i].volume);
        EXPECT_FLOAT_EQ(sound->GetDefaultPan(), cases[i].pan);
        EXPECT_FLOAT_EQ(sound->GetDefaultRate(), cases[i].rate);
        EXPECT_EQ(sound->GetDefaultLoopCount(), cases[i].loops);
    }
}

TEST_F(SoundTest, FilesAreFoundInExtensionOrderAndBadOnesPlayNothing)
{
    // Both forms exist: the Ogg file (a 500 Hz tone) wins over the WAV file (1 kHz).
    AddFile(L"sounds/both.ogg", MakeOgg(kRate, 500.0f));
    AddFile(L"sounds/both.wav", MakeWav(kRate, 1000.0f));
    AddFile(L"sounds/broken.wav", std::vector<uint8_t>(300, 0x42));
    AddFile(L"sounds/empty.ogg", {});
    std::vector<std::string> lines = LogLines(
        [&]
        {
            LoadManifest("<sound name=\"both\" src=\"sounds/both\"/>\n"
                         "<sound name=\"broken\" src=\"sounds/broken\"/>\n"
                         "<sound name=\"empty\" src=\"sounds/empty\"/>\n"
                         "<sound name=\"missing\" src=\"sounds/none\"/>\n");
        });
    EXPECT_EQ(lines, (std::vector<std::string>{"BASS_StreamCreateFile error: 31 (sounds/broken.wav)",
                                               "BASS_StreamCreateFile error: 31 (sounds/empty.ogg)"}));
    const SoundChannelPtr channel = PlayOn(Sound("both"));
    Frame();
    EXPECT_NEAR(RisingCrossings(Frame(kRate / 2)), 250, 6);

    // A module extension makes music rendered from the module.
    AddFile(L"sounds/song.mod", MakeModule());
    LoadManifest("<sound name=\"song\" src=\"sounds/song\" type=\"music\"/>\n", L"music");
    const SoundChannelPtr song = PlayOn(Sound("song"));
    Frame();
    EXPECT_GT(Rms(Frame(), 0), 0.005);

    for (const char* name : {"broken", "empty", "missing"})
    {
        const SoundChannelPtr silent = PlayOn(Sound(name));
        EXPECT_FALSE(silent->IsPlaying()) << name;
    }
}

class MeasuredSoundTest : public SoundTest
{
protected:
    // Loads WAV, Ogg and module clips and a damaged one, and checks that every variant, streamed or
    // sampled, reports the rate and frames its decoder gives, and that the damaged one is logged once.
    void ExpectEveryClipMeasured(bool withDevice)
    {
        struct Case
        {
            const char* name;
            const wchar_t* file;
            std::vector<uint8_t> bytes;
            bool module;
        };
        const Case cases[] = {{"wav", L"sounds/wav.wav", MakeWav(1200, 1000.0f, 2, 22050), false},
                              {"ogg", L"sounds/ogg.ogg", MakeOgg(2500, 500.0f, 1, 32000), false},
                              {"song", L"sounds/song.mod", MakeModule(), true}};
        std::string body;
        for (const Case& c : cases)
        {
            AddFile(c.file, c.bytes);
            body += std::string("<sound name=\"") + c.name + "\" src=\"sounds/" + c.name + "\"/>\n";
        }
        AddFile(L"sounds/damaged.ogg", std::vector<uint8_t>(400, 0x42));
        body += "<sound name=\"damaged\" src=\"sounds/damaged\"/>\n";
        const std::vector<std::string> lines = LogLines([&] { LoadManifest(body); });
        EXPECT_EQ(lines, (std::vector<std::string>{"BASS_StreamCreateFile error: 31 (sounds/damaged.ogg)"}));

        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.name);
            unsigned rate = 0;
            long long frames = 0;
            ASSERT_TRUE(AudioLibrary::ClipGetLength(c.bytes.data(), c.bytes.size(), c.module, &rate, &frames));
            auto* data = static_cast<OpenALSoundData*>(Sound(c.name)->GetSoundData());
            ASSERT_EQ(data->GetVariantCount(), 1u);
            const SoundFileData* variant = data->PickVariant();
            EXPECT_TRUE(variant->IsDecodable());
            EXPECT_EQ(variant->GetRate(), rate);
            EXPECT_EQ(variant->GetFrames(), frames);
            EXPECT_EQ(variant->GetChannel() != 0, withDevice);

            // The same file read as a sample (a module is music either way).
            const std::string name = c.name;
            const AttributeContainer attributes(
                AttributeContainer::AttributeMap{{L"src", L"sounds/" + std::wstring(name.begin(), name.end())}});
            const std::shared_ptr<SoundFileData> sampled = CreateSoundFileData(attributes, false);
            ASSERT_NE(sampled, nullptr);
            EXPECT_EQ(sampled->GetRate(), rate);
            EXPECT_EQ(sampled->GetFrames(), frames);
            EXPECT_EQ(sampled->GetChannel() != 0, withDevice);
        }
        auto* damaged = static_cast<OpenALSoundData*>(Sound("damaged")->GetSoundData());
        ASSERT_EQ(damaged->GetVariantCount(), 1u);
        EXPECT_FALSE(damaged->PickVariant()->IsDecodable());
        EXPECT_EQ(damaged->PickVariant()->GetChannel(), 0u);
        const std::vector<std::string> sampleLines = LogLines(
            [&]
            {
                const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"src", L"sounds/damaged"}});
                const std::shared_ptr<SoundFileData> sampled = CreateSoundFileData(attributes, false);
                ASSERT_NE(sampled, nullptr);
                EXPECT_FALSE(sampled->IsDecodable());
            });
        EXPECT_EQ(sampleLines, (std::vector<std::string>{"BASS_SampleLoad error: 31 (sounds/damaged.ogg)"}));
    }
};

// Without a device: no handles, but every clip still knows its length.
class SilentMeasuredSoundTest : public MeasuredSoundTest
{
protected:
    SilentMeasuredSoundTest() { devices.working.clear(); }
};

TEST_F(MeasuredSoundTest, EveryClipIsMeasuredAsItsDecoderGivesItAndADamagedOneLoggedOnce)
{
    ExpectEveryClipMeasured(true);
}

TEST_F(SilentMeasuredSoundTest, WithoutADeviceEveryClipIsStillMeasured)
{
    ExpectEveryClipMeasured(false);
}

TEST_F(SoundTest, RandomVariantsNeverRepeatWhenThereAreMoreThanTwo)
{
    for (const wchar_t* name : {L"sounds/a.wav", L"sounds/b.wav", L"sounds/c.wav"})
        AddFile(name, MakeWav(100));
    LoadManifest("<randomsound name=\"three\"><sound src=\"sounds/a\"/><sound src=\"sounds/b\"/>"
                 "<other src=\"sounds/tone\"/><sound src=\"sounds/c\" volume=\"0\"/></randomsound>\n"
                 "<randomsound name=\"two\"><sound src=\"sounds/a\"/><sound src=\"sounds/none\"/>"
                 "<sound src=\"sounds/b\"/></randomsound>\n");
    struct Case
    {
        const char* name;
        size_t variants;
        bool repeats;
    };
    Random::SetSeedOverride(7);
    Random::Engine_Setup();
    for (const Case& c : {Case{"three", 3, false}, Case{"two", 2, true}})
    {
        auto* data = static_cast<OpenALSoundData*>(Sound(c.name)->GetSoundData());
        ASSERT_EQ(data->GetVariantCount(), c.variants);
        std::set<int> seen;
        bool repeated = false;
        int last = -1;
        for (int i = 0; i < 200; ++i)
        {
            EXPECT_NE(data->PickVariant()->GetChannel(), 0u);
            repeated = repeated || data->GetLastIndex() == last;
            last = data->GetLastIndex();
            seen.insert(last);
        }
        EXPECT_EQ(seen.size(), c.variants) << c.name;
        EXPECT_EQ(repeated, c.repeats) << c.name;
    }
    Random::Engine_Destroy();
    Random::ClearSeedOverride();
    // Without a generator every draw is the same, and the picks still never repeat.
    auto* data = static_cast<OpenALSoundData*>(Sound("three")->GetSoundData());
    const int before = data->GetLastIndex();
    data->PickVariant();
    EXPECT_NE(data->GetLastIndex(), before);
}

TEST_F(SoundTest, AStreamIsSharedByEveryPlayAtItsOriginalRate)
{
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\"/>\n");
    const SoundChannelPtr first = PlayOn(Sound("tone"));
    first->GetControls()->SetRate(2.0f);
    Frame();
    Frame(1000);
    const SoundChannelPtr second = PlayOn(Sound("tone"));
    second->GetControls()->SetRate(2.0f);
    EXPECT_EQ(HandleOf(first), HandleOf(second));
    // Starting the second play restarted the one stream, and its rate did not double again.
    Frame(100);
    EXPECT_EQ(AudioLibrary::ChannelGetPosition(HandleOf(first)), 200);
    Frame();
    EXPECT_NEAR(RisingCrossings(Frame(kRate / 10)), 200, 5);
    second->Stop();
    Frame();
    EXPECT_FALSE(first->IsPlaying());
}

TEST_F(SoundTest, AMutedGroupSilencesButKeepsThePositionAndAPausedOneHoldsIt)
{
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\"/>\n<sound name=\"forever\" src=\"sounds/short\" "
                 "loop=\"forever\"/>\n");
    struct Case
    {
        const char* sound;
        bool pause; // before the play: a channel started paused waits for its resume
    };
    for (const Case& c : {Case{"tone", false}, Case{"tone", true}, Case{"forever", true}})
    {
        SCOPED_TRACE(testing::Message() << c.sound << (c.pause ? " paused" : " muted"));
        const AudioControlsPtr group = platform->CreateControls(platform->GetControls(Audio::GetEffectKind()).get());
        const auto silence = [&](bool on) { c.pause ? (on ? group->Pause() : group->Resume()) : group->Mute(on); };
        if (c.pause)
            silence(true);
        const SoundChannelPtr channel = PlayOn(Sound(c.sound), Sound(c.sound)->GetDefaultLoopCount(), group.get());
        const uint32_t handle = HandleOf(channel);
        EXPECT_EQ(Rms(Frame(), 0) > 0.0, !c.pause);
        silence(true);
        Frame(1024); // the mixer ramps the gain down
        const long long before = AudioLibrary::ChannelGetPosition(handle);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Rms(Frame(), 0), 0.0);
        EXPECT_EQ(AudioLibrary::ChannelGetPosition(handle),
                  before + static_cast<long long>(c.pause ? 0 : 5 * kStepFrames));
        EXPECT_TRUE(channel->IsPlaying());
        EXPECT_EQ(HandleOf(channel), handle);
        silence(false);
        Frame(1024);
        EXPECT_GT(Rms(Frame(), 0), 0.01);
        channel->Stop();
    }
}

TEST_F(SoundTest, LoopsPlayTheirCountWithAFreshPickEachTime)
{
    LoadManifest("<sound name=\"short\" src=\"sounds/short\"/>\n");
    const SoundChannelPtr channel = PlayOn(Sound("short"), 3);
    int plays = 0;
    long long last = -1;
    for (int i = 0; i < 40 && channel->IsPlaying(); ++i)
    {
        const long long position = AudioLibrary::ChannelGetPosition(HandleOf(channel));
        if (position < last)
            ++plays;
        last = position;
        Frame(250);
    }
    EXPECT_FALSE(channel->IsPlaying());
    EXPECT_EQ(plays + 1, 3);
}

TEST_F(SoundTest, AGroupStopEndsWhatPlaysButNotWhatStartsInThatFrame)
{
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\"/>\n<sound name=\"short\" src=\"sounds/short\" "
                 "loop=\"0\"/>\n");
    const AudioControlsPtr group = platform->GetControls(Audio::GetEffectKind());
    const SoundChannelPtr old = PlayOn(Sound("tone"));
    Frame();
    group->StopAfter(2 * kStep);
    Frame();
    Frame(); // the stop is requested in this step's node update
    const SoundChannelPtr fresh = PlayOn(Sound("short"));
    Frame();
    EXPECT_FALSE(old->IsPlaying());
    EXPECT_TRUE(fresh->IsPlaying());
    Frame();
    EXPECT_TRUE(fresh->IsPlaying());
    group->Stop();
    Frame();
    Frame();
    EXPECT_FALSE(fresh->IsPlaying());
}

TEST_F(SoundTest, ChannelValuesAreClampedBeforeTheyReachTheLibrary)
{
    LoadManifest("<sound name=\"tone\" src=\"sounds/tone\" loop=\"0\"/>\n");
    const SoundChannelPtr channel = PlayOn(Sound("tone"));
    struct Case
    {
        float rate, volume, pan;
    };
    const Case cases[] = {{NAN, NAN, NAN}, {1e30f, 1e30f, 1e30f}, {-5.0f, -5.0f, -5.0f}, {INFINITY, 2.0f, 0.0f}};
    for (const Case& c : cases)
    {
        channel->GetControls()->SetRate(c.rate);
        channel->GetControls()->SetVolume(c.volume);
        channel->GetControls()->SetPan(c.pan);
        EXPECT_TRUE(LogLines([&] { Frame(); }).empty());
        EXPECT_TRUE(channel->IsPlaying());
    }
}

TEST(WholeOggVorbisTest, OnlyFilesWhoseFirstAndLastPagesAreWholeAndSoundAreTaken)
{
    const std::vector<uint8_t> ogg = MakeOgg(2500, 500.0f, 1, 32000);
    const std::vector<size_t> pages = OggPages(ogg);
    ASSERT_GE(pages.size(), 3u);
    const auto changed = [&](size_t offset, uint8_t value)
    {
        std::vector<uint8_t> bytes = ogg;
        bytes[offset] = value;
        return bytes;
    };
    std::vector<uint8_t> junkAfter = ogg;
    junkAfter.insert(junkAfter.end(), {0, 1, 2});
    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
        bool whole;
    };
    const Case cases[] = {
        {"mono", ogg, true},
        {"stereo at 22050 Hz", MakeOgg(1000, 500.0f, 2, 22050), true},
        {"many pages", MakeOgg(3 * kRate), true},
        {"last page fails its checksum", MakeOggWithoutLength(kRate), false},
        {"last page cut short", std::vector<uint8_t>(ogg.begin(), ogg.end() - 1), false},
        {"bytes after the last page", junkAfter, false},
        {"first page fails its checksum", changed(pages[0] + 40, ogg[pages[0] + 40] ^ 1), false},
        {"first page not the stream's first", changed(pages[0] + 5, 0), false},
        {"three channels", MakeSoundFile(SF_FORMAT_OGG | SF_FORMAT_VORBIS, kRate, 3, 1000, 500.0f), false},
        {"a WAV file", MakeWav(1000), false},
        {"only the first page", std::vector<uint8_t>(ogg.begin(), ogg.begin() + pages[1]), false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Internal::IsWholeOggVorbis(c.bytes.data(), c.bytes.size()), c.whole) << c.what;
    EXPECT_FALSE(Internal::IsWholeOggVorbis(nullptr, 100));
}

TEST_F(SoundTest, AWholeOggFileOpensWhenFirstReadAndItsDamageIsLoggedThenOnce)
{
    // The second page (the comment and setup headers) fails its checksum, so no decoder opens the file,
    // while its first and last pages are whole.
    std::vector<uint8_t> damaged = MakeOgg(kRate);
    const std::vector<size_t> pages = OggPages(damaged);
    ASSERT_GE(pages.size(), 3u);
    damaged[pages[1] + 40] ^= 0x5a;
    ASSERT_TRUE(Internal::IsWholeOggVorbis(damaged.data(), damaged.size()));
    AddFile(L"sounds/damaged.ogg", damaged);
    AddFile(L"sounds/whole.ogg", MakeOgg(kRate, 500.0f));
    EXPECT_EQ(LogLines(
                  [&]
                  {
                      LoadManifest("<sound name=\"damaged\" src=\"sounds/damaged\"/>\n"
                                   "<sound name=\"whole\" src=\"sounds/whole\"/>\n");
                  }),
              std::vector<std::string>());

    auto* data = static_cast<OpenALSoundData*>(Sound("damaged")->GetSoundData());
    ASSERT_EQ(data->GetVariantCount(), 1u);
    const SoundFileData* variant = data->PickVariant();
    EXPECT_EQ(LogLines(
                  [&]
                  {
                      EXPECT_FALSE(variant->IsDecodable());
                      EXPECT_EQ(variant->GetChannel(), 0u);
                      EXPECT_FALSE(variant->IsDecodable());
                  }),
              std::vector<std::string>{"BASS_StreamCreateFile error: 31 (sounds/damaged.ogg)"});
    const SoundChannelPtr silent = PlayOn(Sound("damaged"));
    EXPECT_FALSE(silent->IsPlaying());

    // The whole one plays as if it had been opened as it loaded.
    const SoundChannelPtr channel = PlayOn(Sound("whole"));
    Frame();
    EXPECT_NEAR(RisingCrossings(Frame(kRate / 2)), 250, 6);
}

} // namespace

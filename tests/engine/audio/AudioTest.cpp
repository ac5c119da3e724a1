#include "audio/Audio.h"

#include "audio/AudioControls.h"
#include "framework/Account.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// A node's own values, not the effective ones.
AudioSettings Own(const IAudioControls* node)
{
    AudioSettings settings;
    node->SaveSettings(&settings);
    return settings;
}

class FrontEndTest : public AudioPlatformTest
{
protected:
    void SetUp() override
    {
        AudioPlatformTest::SetUp();
        AddFile(L"sounds/tone.wav", MakeWav(AudioLibrary::kOutputRate));
        LoadManifest("<sound name=\"tone\" src=\"sounds/tone\" volume=\"0.8\" rate=\"1.5\" pan=\"0.25\"/>\n");
        tone = Sound("tone");
        ASSERT_NE(tone, nullptr);
    }

    const ISound* tone = nullptr;
};

TEST_F(FrontEndTest, PlayOptionsOverrideTheSoundsDefaultsOnlyWhenGiven)
{
    struct Case
    {
        const char* name;
        void (*set)(Audio::sPlayState&);
        AudioSettings expected;
        bool paused;
    };
    const Case cases[] = {
        {"defaults", [](Audio::sPlayState&) {}, {0.8f, 1.5f, 0.25f, 0}, false},
        {"volume 0 is silence", [](Audio::sPlayState& s) { s.volume = 0.0f; }, {0.0f, 1.5f, 0.25f, 0}, false},
        {"rate 0 keeps the default", [](Audio::sPlayState& s) { s.rate = 0.0f; }, {0.8f, 1.5f, 0.25f, 0}, false},
        {"rate 2", [](Audio::sPlayState& s) { s.rate = 2.0f; }, {0.8f, 2.0f, 0.25f, 0}, false},
        {"pan -1 is applied", [](Audio::sPlayState& s) { s.pan = -1.0f; }, {0.8f, 1.5f, -1.0f, 0}, false},
        {"pan below -1 keeps it", [](Audio::sPlayState& s) { s.pan = -1.5f; }, {0.8f, 1.5f, 0.25f, 0}, false},
        {"fade",
         [](Audio::sPlayState& s) { s.volumeTarget = 0.1f, s.volumeSeconds = 2.0f; },
         {0.1f, 1.5f, 0.25f, 0},
         false},
        {"muted and paused", [](Audio::sPlayState& s) { s.muted = 1, s.paused = 1; }, {0.8f, 1.5f, 0.25f, 1}, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Audio::sPlayState state;
        c.set(state);
        SoundChannelPtr channel;
        Audio::Play(tone, &channel, state);
        ASSERT_NE(channel, nullptr);
        const AudioSettings own = Own(channel->GetControls());
        EXPECT_FLOAT_EQ(own.volume, c.expected.volume);
        EXPECT_FLOAT_EQ(own.rate, c.expected.rate);
        EXPECT_FLOAT_EQ(own.pan, c.expected.pan);
        EXPECT_EQ(own.muted, c.expected.muted);
        EXPECT_EQ(channel->GetControls()->IsPaused(), c.paused);
        // Under the kind's group (0.5) by default.
        EXPECT_FLOAT_EQ(channel->GetControls()->GetVolume(), platform->GetControls(tone->GetKind())->GetVolume() *
                                                                 (c.expected.volume == 0.1f ? 0.8f : own.volume));
        channel->Stop();
        Frame();
    }
}

TEST_F(FrontEndTest, LoopCountAndParentOptions)
{
    const AudioControlsPtr parent = Audio::CreateControls(nullptr);
    parent->SetVolume(0.25f);
    struct Case
    {
        int loops;
        bool forever;
    };
    for (const Case& c : {Case{INT_MIN, false}, Case{0, true}, Case{-1, false}})
    {
        Audio::sPlayState state;
        state.loopCount = c.loops;
        state.parentControls = parent;
        SoundChannelPtr channel;
        Audio::Play(tone, &channel, state);
        ASSERT_NE(channel, nullptr);
        EXPECT_FLOAT_EQ(channel->GetControls()->GetVolume(), 0.25f * 0.8f);
        // One play ends after the clip; forever goes on.
        for (int i = 0; i < 80; ++i)
            Frame(1000);
        EXPECT_EQ(channel->IsPlaying(), c.forever) << c.loops;
        channel->Stop();
    }
}

TEST_F(FrontEndTest, TheSameSoundTwiceInOneFramePlaysOnce)
{
    SoundChannelPtr first;
    SoundChannelPtr second = platform->CreateChannel();
    Audio::Play(tone, &first, Audio::sPlayState());
    Audio::Play(tone, &second, Audio::sPlayState());
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    Audio::Play(Label("tone"), &second, Audio::sPlayState());
    EXPECT_EQ(second, nullptr);
    Audio::Play(Label("no such sound"), &second, Audio::sPlayState());
    Audio::Play(nullptr, &second, Audio::sPlayState());
    EXPECT_EQ(second, nullptr);
}

TEST_F(FrontEndTest, AKindOfItsOwnGetsAGroupOnFirstPlay)
{
    LoadManifest("<sound name=\"word\" src=\"sounds/tone\" type=\"voice\"/>\n", L"voice");
    SoundChannelPtr channel;
    Audio::Play(Sound("word"), &channel, Audio::sPlayState());
    ASSERT_NE(channel, nullptr);
    const AudioControlsPtr group = Audio::GetControls(Label("voice"));
    EXPECT_FLOAT_EQ(group->GetVolume(), 0.5f);
    group->Mute(true);
    EXPECT_TRUE(channel->GetControls()->IsMuted());
}

TEST_F(FrontEndTest, SettingsRoundTripThroughTheAccountAndDamagedRecordsAreRejected)
{
    const std::unique_ptr<Account> account(Account::CreateInMemory(L"Player"));
    const wchar_t* prefixes[] = {L"Strata::Audio::MasterControls", L"Strata::Audio::SfxControls",
                                 L"Strata::Audio::AmbientControls", L"Strata::Audio::MusicControls"};
    const AudioControlsPtr nodes[] = {Audio::GetMasterControls(), Audio::GetControls(Audio::GetEffectKind()),
                                      Audio::GetControls(Audio::GetAmbientKind()),
                                      Audio::GetControls(Audio::GetMusicKind())};
    // No records: every node stays as it is.
    for (size_t i = 0; i < 4; ++i)
    {
        nodes[i]->SetVolume(0.1f * static_cast<float>(i + 1));
        Audio::LoadAudioControls(account.get(), prefixes[i], nodes[i].get());
        EXPECT_FLOAT_EQ(Own(nodes[i].get()).volume, 0.1f * static_cast<float>(i + 1));
    }
    nodes[1]->AnimateVolumeTo(0.9f, 3.0f);
    nodes[2]->Mute(true);
    for (size_t i = 0; i < 4; ++i)
        Audio::SaveAudioControls(account.get(), prefixes[i], nodes[i].get());
    EXPECT_EQ(account->ReadValue(L"Strata::Audio::SfxControls::Volume"), L"0.900000");
    EXPECT_EQ(account->ReadValue(L"Strata::Audio::AmbientControls::IsMuted"), L"true");

    for (const AudioControlsPtr& node : nodes)
        node->RestoreSettings({1.0f, 1.0f, 0.0f, 0});
    for (size_t i = 0; i < 4; ++i)
        Audio::LoadAudioControls(account.get(), prefixes[i], nodes[i].get());
    EXPECT_FLOAT_EQ(Own(nodes[0].get()).volume, 0.1f);
    EXPECT_FLOAT_EQ(Own(nodes[1].get()).volume, 0.9f);
    EXPECT_TRUE(nodes[2]->IsMuted());
    EXPECT_FALSE(nodes[3]->IsMuted());
    Audio::LoadAudioControls(nullptr, prefixes[0], nodes[0].get());
    Audio::SaveAudioControls(account.get(), prefixes[0], nullptr);

    // A damaged volume record is rejected and leaves the node as it was.
    struct Case
    {
        const wchar_t* text;
        float volume;
    };
    const Case records[] = {{L"nan", 0.7f},  {L"-0.5", 0.7f}, {L"1e30", 0.7f}, {L"inf", 0.7f},  {L"-inf", 0.7f},
                            {L"loud", 0.7f}, {L"0.5x", 0.7f}, {L"", 0.7f},     {L"0.35", 0.35f}};
    for (const Case& c : records)
    {
        nodes[0]->SetVolume(0.7f);
        account->WriteValue(L"Strata::Audio::MasterControls::Volume", c.text);
        Audio::LoadAudioControls(account.get(), prefixes[0], nodes[0].get());
        EXPECT_FLOAT_EQ(Own(nodes[0].get()).volume, c.volume) << std::string(c.text, c.text + wcslen(c.text));
    }
}

TEST(FrontEndWithoutPlatform, EveryCallIsASilentNoOp)
{
    ASSERT_FALSE(IsAudioPlatformRegistered());
    EXPECT_EQ(Audio::GetMasterControls(), nullptr);
    EXPECT_EQ(Audio::GetControls(Audio::GetMusicKind()), nullptr);
    EXPECT_EQ(Audio::CreateControls(nullptr), nullptr);
    SoundChannelPtr channel;
    Audio::Play(Label("tone"), &channel, Audio::sPlayState());
    EXPECT_EQ(channel, nullptr);
    Audio::LoadAccountSettings();
    Audio::SaveAccountSettings();
}

} // namespace

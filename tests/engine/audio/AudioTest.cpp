#include "audio/Audio.h"

#include "audio/AudioControls.h"
#include "framework/Account.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

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
    const AudioControlsPtr parent = Audio::CreateControls(nullptr);
    parent->SetVolume(0.25f);
    using State = Audio::sPlayState;
    struct Case
    {
        const char* name;
        std::function<void(State&)> set;
        AudioSettings expected;
        bool playsOn; // after the clip's length
    };
    const Case cases[] = {
        {"defaults", [](State&) {}, {0.8f, 1.5f, 0.25f, 0}, false},
        {"volume 0 is silence", [](State& s) { s.volume = 0.0f; }, {0.0f, 1.5f, 0.25f, 0}, false},
        {"rate 0 keeps the default", [](State& s) { s.rate = 0.0f; }, {0.8f, 1.5f, 0.25f, 0}, false},
        {"rate 2", [](State& s) { s.rate = 2.0f; }, {0.8f, 2.0f, 0.25f, 0}, false},
        {"pan -1 is applied", [](State& s) { s.pan = -1.0f; }, {0.8f, 1.5f, -1.0f, 0}, false},
        {"pan below -1 keeps it", [](State& s) { s.pan = -1.5f; }, {0.8f, 1.5f, 0.25f, 0}, false},
        {"fade", [](State& s) { s.volumeTarget = 0.1f, s.volumeSeconds = 2.0f; }, {0.1f, 1.5f, 0.25f, 0}, false},
        {"muted and paused", [](State& s) { s.muted = 1, s.paused = 1; }, {0.8f, 1.5f, 0.25f, 1}, true},
        {"forever", [&](State& s) { s.loopCount = 0, s.parentControls = parent; }, {0.8f, 1.5f, 0.25f, 0}, true},
        {"once", [&](State& s) { s.loopCount = -1, s.parentControls = parent; }, {0.8f, 1.5f, 0.25f, 0}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        State state;
        c.set(state);
        SoundChannelPtr channel;
        Audio::Play(tone, &channel, state);
        ASSERT_NE(channel, nullptr);
        const AudioSettings own = Own(channel->GetControls());
        EXPECT_FLOAT_EQ(own.volume, c.expected.volume);
        EXPECT_FLOAT_EQ(own.rate, c.expected.rate);
        EXPECT_FLOAT_EQ(own.pan, c.expected.pan);
        EXPECT_EQ(own.muted, c.expected.muted);
        EXPECT_EQ(channel->GetControls()->IsPaused(), state.paused != 0);
        // Under the kind's group (0.5) unless a parent is given; a fade starts from the sound's volume.
        const AudioControlsPtr above = state.parentControls ? parent : platform->GetControls(tone->GetKind());
        const float start = state.volumeSeconds > 0.0f ? 0.8f : own.volume;
        EXPECT_FLOAT_EQ(channel->GetControls()->GetVolume(), above->GetVolume() * start);
        for (int i = 0; i < 80; ++i)
            Frame(1000);
        EXPECT_EQ(channel->IsPlaying(), c.playsOn);
        channel->Stop();
        Frame();
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

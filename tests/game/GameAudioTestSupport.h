#pragma once

#include "game/AudioManager.h"

#include "engine/audio/AudioPlatformTestSupport.h"

#include <climits>
#include <string>
#include <vector>

namespace GameTesting
{

using namespace Strata;
using namespace Strata::Testing;

// The audio back end on the loopback device with the game's voice sounds, words, hints and music.
class GameAudioTest : public AudioPlatformTest
{
protected:
    static constexpr int kRate = AudioLibrary::kOutputRate;

    void SetUp() override
    {
        AudioPlatformTest::SetUp();
        GetAudioManager()->releaseAll();
        const std::vector<uint8_t> word = MakeWav(kRate / 20, 500.0f); // five steps
        const std::vector<uint8_t> phrase = MakeWav(kRate, 700.0f);    // a hundred steps
        AddFile(L"sounds/word.wav", word);
        AddFile(L"sounds/phrase.wav", phrase);
        std::string voices;
        for (const char* name : {"w3", "wRed", "wBricks", "General_CorrectAnswer", "fx1", "fx2"})
            voices += std::string("<sound name=\"") + name + "\" src=\"sounds/word\"/>\n";
        for (const char* name : {"desc", "InGameHint_PaintIt_1", "InGameHint_PaintIt_2", "InGameHint_Leaves_1"})
            voices += std::string("<sound name=\"") + name + "\" src=\"sounds/phrase\"/>\n";
        voices += "<soundlist name=\"General_NumberWords\"><sound event=\"3\" src=\"w3\"/></soundlist>\n"
                  "<soundlist name=\"General_ColorWords\"><sound event=\"Red\" src=\"wRed\"/></soundlist>\n"
                  "<soundlist name=\"General_MaterialWords_Plural\"><sound event=\"Bricks\" src=\"wBricks\"/>"
                  "</soundlist>\n"
                  "<soundlist name=\"GameDescriptions\"><sound event=\"PaintIt\" src=\"desc\"/></soundlist>\n";
        LoadManifest(voices, L"voices");
        std::string music;
        for (const char* name : {"Music_GeneralUI", "Music_TitleTheme", "Ambient_Outdoor_1", "Ambient_Indoor"})
            music +=
                std::string("<sound name=\"") + name + "\" src=\"sounds/phrase\" type=\"music\" loop=\"forever\"/>\n";
        LoadManifest(music, L"music");
    }

    void TearDown() override
    {
        GetAudioManager()->releaseAll();
        AudioPlatformTest::TearDown();
    }

    // One game step: the voice queue, then the audio platform and its output.
    void Step()
    {
        GetAudioManager()->updateVocalAudioQueues();
        Frame();
    }

    // True while the sound plays on any channel.
    bool Playing(const char* name) { return platform->WasSoundPlayedRecently(Sound(name), UINT_MAX); }
    bool Upcoming(const char* name) { return GetAudioManager()->getIsPlayingOrUpcoming(Sound(name)); }
};

} // namespace GameTesting

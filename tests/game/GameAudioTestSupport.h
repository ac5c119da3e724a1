#pragma once

#include "game/AudioManager.h"

#include "engine/audio/AudioPlatformTestSupport.h"

#include <climits>
#include <string>

namespace GameTesting
{

using namespace Yardcrew;

using namespace Strata;
using namespace Strata::Testing;

// The audio back end on the loopback device with voice words (five steps long), phrases (a hundred
// steps), a few sound lists and looping music.
class GameAudioTest : public AudioPlatformTest
{
protected:
    void SetUp() override
    {
        AudioPlatformTest::SetUp();
        GetAudioManager()->releaseAll();
        AddFile(L"w.wav", MakeWav(AudioLibrary::kOutputRate / 20, 500.0f));
        AddFile(L"p.wav", MakeWav(AudioLibrary::kOutputRate, 700.0f));
        const auto sounds = [](std::initializer_list<const char*> names, const char* rest)
        {
            std::string text;
            for (const char* name : names)
                text += std::string("<sound name=\"") + name + "\" " + rest + "/>\n";
            return text;
        };
        LoadManifest(
            sounds({"w3", "wRed", "wBricks", "wRedBricks", "wOneRedBrick", "General_CorrectAnswer", "fx1", "fx2"},
                   "src=\"w\"") +
                sounds({"desc", "InGameHint_PaintIt_1", "InGameHint_PaintIt_2"}, "src=\"p\"") +
                "<soundlist name=\"General_NumberWords\"><sound event=\"3\" src=\"w3\"/></soundlist>"
                "<soundlist name=\"General_ColorWords\"><sound event=\"Red\" src=\"wRed\"/></soundlist>"
                "<soundlist name=\"General_MaterialWords_Plural\"><sound event=\"Bricks\" src=\"wBricks\"/>"
                "</soundlist><soundlist name=\"General_RequestWords_Plural\">"
                "<sound event=\"BricksRed\" src=\"wRedBricks\"/></soundlist>"
                "<soundlist name=\"General_RequestWords_Singular\"><sound event=\"BricksRed\" src=\"wOneRedBrick\"/>"
                "</soundlist><soundlist name=\"GameDescriptions\"><sound event=\"PaintIt\" src=\"desc\"/>"
                "</soundlist>\n",
            L"voices");
        LoadManifest(sounds({"Music_GeneralUI", "Ambient_Outdoor_1", "Ambient_Indoor"},
                            "src=\"p\" type=\"music\" loop=\"forever\""),
                     L"music");
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
};

} // namespace GameTesting

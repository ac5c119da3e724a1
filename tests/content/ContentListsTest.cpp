// The names the game's code says it asks for (game/ContentNames.h) are in data/ in both languages, and
// the check notices any one of them taken away, by kind and in the language it was taken from.

#include "ContentData.h"
#include "game/GameRegistry.h"
#include "game/screens/ScreenContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

using namespace Strata::Content;
using namespace Yardcrew;

namespace
{

std::string Join(const std::vector<std::string>& problems)
{
    std::string text;
    for (const auto& problem : problems)
        text += "\n  " + problem;
    return text;
}

// A copy of the data folder's manifests, which is all the check reads; removed with the object.
class ScratchData
{
public:
    ScratchData() : mFolder(std::filesystem::temp_directory_path() / ("content-lists-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(mFolder);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(DataFolder()))
        {
            if (entry.path().extension() != ".xml")
                continue;
            const auto to = mFolder / std::filesystem::relative(entry.path(), DataFolder());
            std::filesystem::create_directories(to.parent_path());
            std::filesystem::copy_file(entry.path(), to);
        }
    }
    ~ScratchData() { std::filesystem::remove_all(mFolder); }

    std::string Folder() const { return mFolder.string(); }

    // Takes the element that declares `name`, children and all, out of the manifest; false when the
    // manifest does not declare it.
    bool Remove(const std::string& manifest, const std::string& name)
    {
        const auto path = mFolder / (manifest + ".xml");
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const size_t at = text.find(" name=\"" + name + "\"");
        if (at == std::string::npos)
            return false;
        const size_t open = text.rfind('<', at);
        const std::string tag = text.substr(open + 1, at - open - 1);
        size_t end = text.find('>', at);
        if (text[end - 1] != '/')
            end = text.find("</" + tag + ">", end) + tag.size() + 2;
        const size_t line = text.rfind('\n', open);
        text.erase(line, end + 1 - line);
        std::ofstream(path, std::ios::binary) << text;
        return true;
    }

private:
    std::filesystem::path mFolder;
};

} // namespace

TEST(ContentLists, EveryNameTheCodeAsksForIsInTheDataInBothLanguages)
{
    RegisterGames();
    RegisterScreenContent();
    ASSERT_GE(GetContentLists().size(), 2u);
    const std::vector<std::string> problems = CheckContentLists(DataFolder(), GetContentLists());
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

TEST(ContentLists, ANameTakenFromTheDataFailsTheCheckInTheLanguageItWasTakenFrom)
{
    const struct
    {
        sContentName wanted;
        const char* manifest; // taken from here: "<name>_SP" from a "_SP" manifest, else "<name>_EN" if localized
        bool english;         // the check must fail in English
        bool spanish;
    } kCases[] = {
        {{ContentKind_Image, "cursor_default"}, "resources", true, true},
        {{ContentKind_ImageList, "AllStickersList"}, "StickerBook", true, true},
        {{ContentKind_LocalizedImageList, "Button_SkipCutscene"}, "LocalizedImageResources", true, false},
        {{ContentKind_LocalizedImageList, "Button_StartButton"}, "LocalizedImageResources_SP", false, true},
        {{ContentKind_LocalizedImage, "Heading_Options"}, "LocalizedImageResources", true, false},
        {{ContentKind_LocalizedImage, "NewSticker"}, "LocalizedImageResources_SP", false, true},
        {{ContentKind_SceneLayout, "CutsceneLayout"}, "CutsceneMode", true, true},
        {{ContentKind_Sound, "SFX_DiggerMove"}, "AudioResources_General", true, true},
        {{ContentKind_Voice, "VO_Digger_AreWeReady"}, "AudioResources", true, false},
        {{ContentKind_Voice, "CTM_TooMuch"}, "AudioResources_SP", false, true},
        {{ContentKind_RandomSound, "General_CorrectAnswer"}, "AudioResources_SP", false, true},
        {{ContentKind_SoundList, "WidgetSounds"}, "AudioResources_General", true, true},
        {{ContentKind_Constant, "TipperStartPosition"}, "GlobalConstants", true, true},
        {{ContentKind_SpriteType, "CTM_Tipper"}, "CountTheMaterialsMode", true, true},
    };
    for (const auto& c : kCases)
    {
        const bool localized =
            c.wanted.kind == ContentKind_LocalizedImage || c.wanted.kind == ContentKind_LocalizedImageList;
        const std::string declared = c.wanted.name + std::string(!localized ? "" : c.spanish ? "_SP" : "_EN");
        SCOPED_TRACE(declared);
        ScratchData data;
        const sContentList list{"Owner", std::span(&c.wanted, 1)};
        const std::vector<std::string> before = CheckContentLists(data.Folder(), std::span(&list, 1));
        EXPECT_TRUE(before.empty()) << Join(before);
        ASSERT_TRUE(data.Remove(c.manifest, declared));
        const std::vector<std::string> after = CheckContentLists(data.Folder(), std::span(&list, 1));
        const auto names = [&](const char* language)
        {
            const std::string where = std::string("Owner (") + language + "): " + declared;
            for (const auto& problem : after)
                if (problem.rfind(where, 0) == 0)
                    return true;
            return false;
        };
        EXPECT_EQ(c.english, names("English")) << Join(after);
        EXPECT_EQ(c.spanish, names("Spanish")) << Join(after);
        EXPECT_EQ(size_t(c.english) + size_t(c.spanish), after.size()) << Join(after);
    }
}

TEST(ContentLists, ANameOfTheWrongKindOrSizeFailsTheCheck)
{
    const struct
    {
        sContentName wanted;
        const char* report;
    } kCases[] = {
        {{ContentKind_Image, "AllStickersList"},
         "AllStickersList is declared by <imagelist> in StickerBook, not as an image"},
        {{ContentKind_Constant, "cursor_hand"}, "is declared by <image> in resources, not as a constant"},
        // Effects are not spoken: the other language would hear the same sound.
        {{ContentKind_Voice, "SFX_DiggerMove"}, "is declared in AudioResources_General, which is no language's own"},
        {{ContentKind_Constant, "RepeatedGameNumLoops", 4, 4}, "RepeatedGameNumLoops has 3 items, not 4 to 4"},
        {{ContentKind_ImageList, "Button_SkipCutscene_EN", 6}, "has 5 items, not 6"},
    };
    for (const auto& c : kCases)
    {
        const sContentList list{"Owner", std::span(&c.wanted, 1)};
        const std::vector<std::string> problems = CheckContentLists(DataFolder(), std::span(&list, 1));
        bool found = false;
        for (const auto& problem : problems)
            found =
                found || (problem.rfind("Owner (English): ", 0) == 0 && problem.find(c.report) != std::string::npos);
        EXPECT_TRUE(found) << c.report << Join(problems);
    }
}

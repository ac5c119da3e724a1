// The names the game's code says it asks for (game/ContentNames.h) are in data/ in both languages, and
// the check notices any one of them taken away, by kind and in the language it was taken from.

#include "ContentData.h"
#include "game/GameApplication.h"
#include "game/GameRegistry.h"
#include "game/screens/ScreenContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
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

// A copy of the data folder's manifests, which is all the check of names reads, or of every file;
// removed with the object.
class ScratchData
{
public:
    explicit ScratchData(bool everyFile = false)
        : mFolder(std::filesystem::temp_directory_path() / ("content-lists-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(mFolder);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(DataFolder()))
        {
            if (!entry.is_regular_file() || (!everyFile && entry.path().extension() != ".xml"))
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
        return RemoveElement(manifest, " name=\"" + name + "\"", "");
    }

    // Takes out the element whose start tag holds `needle` (the first after the start of the element
    // that declares `within`, when given), children and all; false when there is none.
    bool RemoveElement(const std::string& manifest, const std::string& needle, const std::string& within)
    {
        const auto path = mFolder / (manifest + ".xml");
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const size_t from = within.empty() ? 0 : text.find(" name=\"" + within + "\"");
        const size_t at = from == std::string::npos ? from : text.find(needle, from);
        if (at == std::string::npos)
            return false;
        const size_t open = text.rfind('<', at);
        const std::string tag = text.substr(open + 1, text.find_first_of(" />", open + 1) - open - 1);
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

// `check` given every list the code registers and the names the code builds from the levels of
// `folder`, while those names live.
template <class Check>
std::vector<std::string> WithEveryList(const std::string& folder, Check check)
{
    RegisterGames();
    RegisterScreenContent();
    const LevelDataNames built(folder);
    std::vector<sContentList> lists = GetContentLists();
    lists.insert(lists.end(), built.Lists().begin(), built.Lists().end());
    return check(lists);
}

// The other direction: what the folder holds that neither the code, the engine, the manifests the game
// loads in either language nor the games' levels ask for.
std::vector<std::string> FindEverythingUnused(const std::string& folder)
{
    return WithEveryList(
        folder,
        [&folder](const std::vector<sContentList>& lists)
        {
            std::set<std::string> manifests = {"Generic"}; // the engine's generic controls
            std::set<std::string> levelTags;
            for (const bool english : {true, false})
            {
                for (const std::wstring& manifest : GetLoadingScreenManifests(english))
                    manifests.insert(std::string(manifest.begin(), manifest.end()));
                for (const std::wstring& manifest : GetStartupManifests(english))
                    manifests.insert(std::string(manifest.begin(), manifest.end()));
            }
            for (const sGameRegistration& game : GetRegisteredGames())
                levelTags.insert(std::string(game.levelTag, game.levelTag + std::wcslen(game.levelTag)));
            return FindUnusedContent(folder, lists, manifests, levelTags);
        });
}

// The check the game's content must pass: every list the code registers, and the names the code builds
// from the data's own levels.
std::vector<std::string> CheckEverything(const std::string& folder)
{
    return WithEveryList(
        folder, [&](const std::vector<sContentList>& lists) { return CheckContentLists(folder, lists); });
}

TEST(ContentLists, EveryNameTheCodeAsksForIsInTheDataInBothLanguages)
{
    RegisterGames();
    RegisterScreenContent();
    ASSERT_GE(GetContentLists().size(), 2u);
    // The story, whose cut-scenes name layouts and lines, and the job order's nine levels.
    EXPECT_EQ(LevelDataNames(DataFolder()).Lists().size(), 10u);
    const std::vector<std::string> problems = CheckEverything(DataFolder());
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

TEST(ContentLists, EachNameTheCodeAsksForFailsTheCheckWhenTakenFromTheData)
{
    enum Where
    {
        Shared, // from a manifest both languages load: the check fails in both
        Spoken, // from each voice manifest in turn: the check fails in that language alone
    };
    struct Case
    {
        Where where;
        std::string manifest; // a spoken case names none: it runs on both voice manifests
        std::string needle;   // in the start tag of the element taken out
        std::string within;   // the element searched, when the needle is not unique
        std::string report;
    };
    std::vector<Case> cases = {
        // The word lists the audio manager and the games speak from, their entries and their answers.
        {Spoken, "", " name=\"General_ColorWords\"", "", "General_ColorWords, a voice line, is missing"},
        {Spoken, "", " name=\"General_ShapeWords\"", "", "General_ShapeWords, a voice line, is missing"},
        {Spoken, "", " name=\"General_ToolWords\"", "", "General_ToolWords, a voice line, is missing"},
        {Spoken, "", " name=\"General_MaterialWords_Singular\"", "", "General_MaterialWords_Singular, a voice"},
        {Spoken, "", " name=\"General_MaterialWords_Plural\"", "", "General_MaterialWords_Plural, a voice"},
        {Spoken, "", " name=\"General_ColoredToolWords\"", "", "General_ColoredToolWords, a voice line, is missing"},
        {Spoken, "", "event=\"Yellow_Pliers\"", "General_ColoredToolWords", "has no entry Yellow_Pliers"},
        {Spoken, "", "event=\"10\"", "General_NumberWords", "General_NumberWords has no entry 10"},
        {Spoken, "", "event=\"CementGray\"", "General_RequestWords_Plural", "has no entry CementGray"},
        {Spoken, "", "event=\"PlanAJob\"", "GameDescriptions", "GameDescriptions has no entry PlanAJob"},
        {Spoken, "", " name=\"GameDescriptions\"", "", "GameDescriptions, a voice line, is missing"},
        {Spoken, "", " name=\"General_CorrectAnswer\"", "", "General_CorrectAnswer, a random sound, is missing"},
        {Spoken, "", " name=\"General_IncorrectAnswer\"", "", "General_IncorrectAnswer, a random sound, is missing"},
        // A cut-scene's line, named from the story's data and the pictures of its layout.
        {Spoken, "", " name=\"Cutscene_Finale_2\"", "", "Cutscene_Finale_2, a voice line, is missing"},
        {Shared, "AudioResources_General", " name=\"Music_GeneralUI\"", "", "Music_GeneralUI, a sound, is missing"},
        {Shared, "AudioResources_General", " name=\"Music_TitleTheme\"", "", "Music_TitleTheme, a sound, is missing"},
        {Shared, "LevelProgression", " name=\"MenagerieStory\"", "", "MenagerieStory, a level progression, is missing"},
        {Shared, "CutsceneMode", " name=\"Cutscene_Pond\"", "", "Cutscene_Pond, a scene layout, is missing"},
        {Shared, "StickerBook", " name=\"AllStickersList\"", "", "StickerManager ("},
        // The job order's pictures, named from its levels.
        {Shared, "PlanAJobMode", " name=\"PlanAJob_Tree_SpriteType\"", "", "PlanAJob_Tree_SpriteType, a sprite"},
        {Shared, "PlanAJobMode", " name=\"PlanAJob_Doghouse_Targets\"", "", "PlanAJob_Doghouse_Targets, an image"},
    };
    // The animations the games start, the colours of signs and tools among them, and the job order's
    // building: each taken from its sprite type.
    const struct
    {
        const char* manifest;
        const char* spriteType;
        const char* animation;
    } kAnimations[] = {
        {"PlanAJobMode", "PlanAJob_House_SpriteType", "BuildAnim"},
        {"CountTheMaterialsMode", "CTM_Tipper", "Drive-Left"},
        {"CountTheMaterialsMode", "CTM_Digger", "Drive-Right-Down-Reverse"},
        {"HaulersDeliveryMode", "HD_Cart_SpriteType", "Drive-Left"},
        {"HaulersDeliveryMode", "HD_Hoist_SpriteType", "Sad"},
        {"HoistStackerMode", "ST_Hoist_SpriteType", "Happy"},
        {"HereToThereMode", "HTT_Truck", "Drive-Left"},
        {"PileOfLeavesMode", "PileOfLeaves_Dog", "Correct"},
        {"PileOfLeavesMode", "PileOfLeaves_Dog", "Wrong"},
        {"HideAndSeekMode", "HS_Tabby", "Run"},
        {"HideAndSeekMode", "HS_Tail", "TimedShow"},
        {"PaintTheHouseMode", "FenceSpriteType_Blue", "Painted"},
        {"PaintTheHouseMode", "PI_Truck_SpriteType", "ForemanPaint"},
        {"StreetSignsMode", "StreetSigns_SignOctagon", "Orange"},
        {"StreetSignsMode", "StreetSigns_Truck", "Drive"},
        {"ToolShedMode", "ToolShedTool_Saw", "Yellow"},
        {"HammerTheNailMode", "SpriteType_DriverMinus_Green", "Rotate"},
    };
    for (const auto& a : kAnimations)
        cases.push_back({Shared, a.manifest, std::string("<animation name=\"") + a.animation + "\"", a.spriteType,
                         std::string(a.spriteType) + " has no animation " + a.animation});
    for (const Case& c : cases)
    {
        for (const char* manifest : {"AudioResources", "AudioResources_SP"})
        {
            const bool spanish = c.where == Spoken && std::string(manifest) == "AudioResources_SP";
            const std::string from = c.where == Spoken ? std::string(manifest) : c.manifest;
            SCOPED_TRACE(from + ": " + c.needle);
            ScratchData data;
            ASSERT_TRUE(data.RemoveElement(from, c.needle, c.within));
            const std::vector<std::string> problems = CheckEverything(data.Folder());
            const auto reported = [&](const char* language)
            {
                return std::any_of(problems.begin(), problems.end(),
                                   [&](const std::string& problem)
                                   {
                                       return problem.find(std::string(" (") + language + "): ") != std::string::npos &&
                                              problem.find(c.report) != std::string::npos;
                                   });
            };
            EXPECT_EQ(c.where == Shared || !spanish, reported("English")) << Join(problems);
            EXPECT_EQ(c.where == Shared || spanish, reported("Spanish")) << Join(problems);
            if (c.where == Shared)
                break;
        }
    }
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

TEST(ContentLists, EverythingTheDataHoldsIsAskedFor)
{
    const std::vector<std::string> problems = FindEverythingUnused(DataFolder());
    EXPECT_TRUE(problems.empty()) << Join(problems);
}

TEST(ContentLists, AFileOrANameNothingAsksForFailsTheCheck)
{
    // (what is added to a copy of the data folder, the file written or the manifest it goes into, the
    // text, what the check must report)
    const struct
    {
        const char* what;
        std::string file;
        std::string text;
        std::string report;
    } kCases[] = {
        {"a picture no manifest names", "stickers/Sticker_Spare.png", "png", "stickers/Sticker_Spare.png, a file, is"},
        {"a sound no manifest names", "sfx/SFX_Spare.ogg", "ogg", "sfx/SFX_Spare.ogg, a file, is loaded by no"},
        {"a GIF picture no manifest names", "stickers/Sticker_Spare.gif", "gif", "Sticker_Spare.gif, a file, is"},
        // ForemanPoses runs from 0 to 12.
        {"a frame one past an image list's last", "foreman/ForemanPose_13.png", "png", "ForemanPose_13.png, a file"},
        {"a manifest the game never loads", "Spare.xml", "<?xml version=\"1.0\"?><manifest/>",
         "Spare.xml, a manifest, is loaded by nothing"},
        // Declared in a loaded manifest, but no code, layout, list or level names it (its file is
        // another's, so the name alone is reported).
        {"a picture declared but shown by nothing", "TitleMainMenu.xml",
         "<image name=\"Spare_Picture\" src=\"Sticker_1\"/>", "TitleMainMenu: Spare_Picture (<image>) is asked for"},
        {"a sound declared but played by nothing", "TitleMainMenu.xml",
         "<sound name=\"SFX_Spare\" src=\"SFX_SelectItem\"/>", "TitleMainMenu: SFX_Spare (<sound>) is asked for"},
        // The title's node shows the picture "TitleScreen", whose file is another: a file of that name is
        // never loaded.
        {"a picture only a node's name matches", "loading/TitleScreen.png", "png", "TitleScreen.png, a file, is"},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.what);
        ScratchData data(true);
        const std::filesystem::path path = std::filesystem::path(data.Folder()) / c.file;
        if (c.file == "TitleMainMenu.xml")
        {
            std::ifstream in(path, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            in.close();
            const size_t end = text.rfind("</manifest>");
            ASSERT_NE(end, std::string::npos);
            text.insert(end, "  " + c.text + "\n");
            std::ofstream(path, std::ios::binary) << text;
        }
        else
        {
            std::ofstream(path, std::ios::binary) << c.text;
        }
        const std::vector<std::string> problems = FindEverythingUnused(data.Folder());
        ASSERT_EQ(1u, problems.size()) << Join(problems);
        EXPECT_NE(problems[0].find(c.report), std::string::npos) << Join(problems);
    }
}

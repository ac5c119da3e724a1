#pragma once

// One game's level reader on the game-services fixture: a table of level elements loaded as one
// manifest, each checked for being filed or refused with its one log line, and the game's shipped levels.

#include "game/GameRegistry.h"
#include "game/LevelManager.h"

#include "GameServicesTestSupport.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace GameTesting
{

// A row of a level table: the element's attributes (beside the table's difficulty) and children, and
// what its log line holds (see ExpectLevelLine).
struct sLevelCase
{
    const char* name;
    std::string attributes;
    std::string children;
    const char* logged;
};

// Whether a row expects its level filed: when it expects no line (`logged` null), or a line that only
// names values that were not numbers, which ends "; it is filed".
inline bool ExpectsFiled(const char* logged)
{
    return logged == nullptr || std::string_view(logged).ends_with("; it is filed");
}

// A level's line (LevelLogLine) against its row: none when `logged` is null, else one holding
// `logged`, and refusing the level unless the row expects it filed.
inline void ExpectLevelLine(const std::string& line, const char* logged)
{
    if (logged == nullptr)
    {
        EXPECT_EQ(line, "");
        return;
    }
    EXPECT_NE(line.find(logged), std::string::npos) << line;
    if (!ExpectsFiled(logged))
        EXPECT_NE(line.find("; it is not filed"), std::string::npos) << line;
}

// A row of a letter-pattern game's level table: the level's difficulty and children, the patterns read,
// and what its log line holds (see ExpectLevelLine).
struct sLetterPatternCase
{
    const char* name;
    const char* difficulty;
    const char* children;
    std::vector<std::vector<int32_t>> read;
    const char* logged;
};

// `Factory` (a GameLevelResourceFactory) files the elements of its game's registered level tag.
template <class Factory>
class LevelReaderTest : public GameServicesTest
{
protected:
    using LevelType = typename Factory::LevelType;
    // Each difficulty's shipped levels by name.
    using ShippedByDifficulty = std::vector<std::map<std::string, const LevelType*>>;

    void SetUp() override
    {
        GameServicesTest::SetUp();
        const Yardcrew::sGameRegistration* game = Yardcrew::FindRegisteredGame(Factory().GetGameModeType());
        ASSERT_NE(game, nullptr);
        mGame = game;
        manager->AddResourceFactory(game->levelTag, new Factory());
        // Levels that earlier tests filed would count as this table's.
        Yardcrew::GetLevelManager().clearLevels();
    }

    const LevelType* Level(const char* name) const
    {
        return dynamic_cast<const LevelType*>(manager->GetResource(Strata::Label(name)).get());
    }

    // Loads one manifest of a level element per case, `<tag name="..." attributes>children</tag>` with
    // the attributes and children `element(c)` gives, and checks each case: its record is made and handed
    // to `check`, and it is filed and logged once as `c.logged` says (ExpectLevelLine).
    template <class Cases, class Element, class Check>
    void ExpectFiledUnlessLogged(const wchar_t* manifest, const Cases& cases, Element element, Check check)
    {
        const std::string tag = Narrow(mGame->levelTag);
        std::string body;
        for (const auto& c : cases)
        {
            const auto [attributes, children] = element(c);
            body += "<" + tag + " name=\"" + c.name + "\" " + attributes + ">" + children + "</" + tag + ">\n";
        }
        LoadManifest(manifest, body);
        const std::string log = TakeLog();
        const std::set<std::string> filed = FiledLevels(mGame->type);
        for (const auto& c : cases)
        {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(filed.count(c.name) == 1, ExpectsFiled(c.logged));
            ExpectLevelLine(LevelLogLine(log, Narrow(manifest), c.name), c.logged);
            const LevelType* level = Level(c.name);
            ASSERT_NE(level, nullptr);
            check(c, *level);
        }
    }
    template <class Cases, class Element>
    void ExpectFiledUnlessLogged(const wchar_t* manifest, const Cases& cases, Element element)
    {
        ExpectFiledUnlessLogged(
            manifest, cases, element, [](const auto&, const LevelType&) {});
    }

    // A table of sLevelCase rows, each level of that difficulty (null when the rows' attributes name it).
    template <size_t N>
    void ExpectLevels(const wchar_t* manifest, const sLevelCase (&cases)[N], const char* difficulty)
    {
        const std::string said = difficulty != nullptr ? std::string("difficulty=\"") + difficulty + "\" " : "";
        ExpectFiledUnlessLogged(manifest, cases,
                                [&](const sLevelCase& c) { return std::pair(said + c.attributes, c.children); });
    }

    // A letter-pattern game's table, checked as above and for the patterns read.
    template <class Cases>
    void ExpectLetterPatterns(const wchar_t* manifest, const Cases& cases)
    {
        ExpectFiledUnlessLogged(
            manifest, cases,
            [](const sLetterPatternCase& c)
            { return std::pair(std::string("difficulty=\"") + c.difficulty + "\"", c.children); },
            [](const sLetterPatternCase& c, const LevelType& level) { EXPECT_EQ(level.patterns, c.read); });
    }

    // The game's whole manifest from data/, only its levels read: none refused or logged, at least three
    // filed at each difficulty and every one playable.
    ShippedByDifficulty ShippedLevels()
    {
        files.AddFile(std::wstring(mGame->manifest) + L".xml",
                      ReadFile(std::filesystem::path(MENAGERIE_DATA_DIR) / (std::wstring(mGame->manifest) + L".xml")));
        Yardcrew::GetLevelManager().clearLevels();
        EXPECT_TRUE(manager->Load(mGame->manifest)->IsComplete());
        EXPECT_EQ(TakeLog().find("Level \""), std::string::npos);
        ShippedByDifficulty shipped(Yardcrew::GameModeDifficulty_Count);
        for (int d = 0; d < Yardcrew::GameModeDifficulty_Count; ++d)
        {
            for (const std::string& name : DrawnLevels(mGame->type, static_cast<Yardcrew::GameModeDifficulty>(d)))
            {
                const LevelType* level = Level(name.c_str());
                EXPECT_NE(level, nullptr) << name;
                if (level == nullptr)
                    continue;
                EXPECT_EQ(level->Validate(), "") << name;
                shipped[d][name] = level;
            }
            EXPECT_GE(shipped[d].size(), 3u) << Yardcrew::kGameModeDifficultyNames[d];
        }
        return shipped;
    }

private:
    static std::string Narrow(const wchar_t* text)
    {
        std::string narrow;
        for (; *text != L'\0'; ++text)
            narrow += static_cast<char>(*text);
        return narrow;
    }

    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        EXPECT_TRUE(file.good()) << path;
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    const Yardcrew::sGameRegistration* mGame = nullptr;
};

} // namespace GameTesting

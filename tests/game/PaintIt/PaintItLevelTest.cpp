#include "game/PaintIt/PaintItLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <set>
#include <string>
#include <vector>

using namespace GameTesting;
using Strata::Label;

namespace
{

using Patterns = std::vector<std::vector<int32_t>>;

class PaintItLevelTest : public LevelReaderTest<PaintItLevelResourceFactory, PaintItLevel>
{
protected:
    PaintItLevelTest() : LevelReaderTest(L"PaintItLevel") {}
};

TEST_F(PaintItLevelTest, DamagedLevelsAreRefusedWithOneLineAndTheRestAreFiled)
{
    struct Case
    {
        const char* name;
        const char* difficulty;
        const char* children;
        Patterns read;
        const char* logged; // null when the level is filed
    };
    const Case cases[] = {
        {"PiMixed",
         "Easy",
         R"(<Pattern order="AbC"/><Pattern order="A B A"/><Pattern order="ABD"/>)",
         {{0, 1, 2}, {0, 1, 0}, {0, 1}},
         nullptr},
        {"PiOthers", "Hard", R"(<Stripe order="C"/><Pattern order="ba"/><pattern order="C"/>)", {{1, 0}}, nullptr},
        {"PiNone", "Easy", R"(<Note order="AB"/>)", {}, "has no \"Pattern\""},
        {"PiEmpty",
         "Medium",
         R"(<Pattern order="AB"/><Pattern order="1, 2"/>)",
         {{0, 1}, {}},
         "has an empty pattern (number 2)"},
        {"PiNoOrder", "Hard", "<Pattern/>", {{}}, "has an empty pattern (number 1)"},
        {"PiUnknown", "Hardest", R"(<Pattern order="AB"/>)", {{0, 1}}, "has no known difficulty"},
    };
    std::string body;
    for (const Case& c : cases)
        body += std::string("<PaintItLevel name=\"") + c.name + "\" difficulty=\"" + c.difficulty + "\">" + c.children +
                "</PaintItLevel>\n";
    LoadManifest(L"Fence", body);
    const std::string log = TakeLog();

    const std::set<std::string> filed = FiledLevels(GameModeType_PaintIt);
    for (const Case& c : cases)
    {
        const PaintItLevel* level = Level(c.name);
        ASSERT_NE(level, nullptr) << c.name;
        EXPECT_EQ(level->patterns, c.read) << c.name;
        EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr) << c.name;
        const std::string line = LevelLogLine(log, "Fence", c.name);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "") << c.name;
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << c.name << ": " << line;
    }
    EXPECT_EQ(filed, (std::set<std::string>{"PiMixed", "PiOthers"}));
}

TEST_F(PaintItLevelTest, ShippedLevelsAreFiledAtEachDifficultyAndAllPlayable)
{
    const std::vector<std::set<std::string>> drawn = ShippedLevels(L"PaintTheHouseMode", GameModeType_PaintIt);
    for (size_t d = 0; d < drawn.size(); ++d)
    {
        EXPECT_GE(drawn[d].size(), 3u) << "difficulty " << d;
        for (const std::string& name : drawn[d])
        {
            const PaintItLevel* level = Level(name.c_str());
            ASSERT_NE(level, nullptr) << name;
            EXPECT_EQ(level->Validate(), "") << name;
        }
    }
}

} // namespace

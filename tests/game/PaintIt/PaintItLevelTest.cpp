#include "game/PaintIt/PaintItLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using PaintItLevelTest = LevelReaderTest<PaintItLevelResourceFactory>;

TEST_F(PaintItLevelTest, DamagedLevelsAreRefusedWithOneLineAndTheRestAreFiled)
{
    const sLetterPatternCase cases[] = {
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
    ExpectLetterPatterns(L"Fence", cases);
    EXPECT_EQ(FiledLevels(GameModeType_PaintIt), (std::set<std::string>{"PiMixed", "PiOthers"}));
}

TEST_F(PaintItLevelTest, ShippedLevelsAreFiledAtEachDifficultyAndAllPlayable)
{
    ShippedLevels();
}

} // namespace

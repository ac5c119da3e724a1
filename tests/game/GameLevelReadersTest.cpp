#include "game/GameLevelReaders.h"

#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/GameRegistry.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/LetterPatternLevel.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/ToolShed/ToolShedLevel.h"

#include "LevelReaderTestSupport.h"

#include <cwchar>
#include <deque>
#include <set>
#include <string>
#include <vector>

using namespace GameTesting;
using namespace Yardcrew;

namespace
{

// Every registered game's level reader on one manager, so one manifest can hold levels of all games.
class GameLevelReadersTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        RegisterGames();
        GetLevelManager().clearLevels();
        for (const sGameRegistration& game : GetRegisteredGames())
            manager->AddResourceFactory(game.levelTag, game.makeLevelReader().release());
    }

    // One game's level as a table row.
    struct sGameLevel
    {
        GameModeType game;
        sLevelCase level;
    };

    // Loads the levels as one manifest, each at medium, and checks that each is filed and logged in one
    // line as its row says (ExpectLevelLine). Answers the log.
    std::string ExpectFiledUnlessLogged(const wchar_t* manifest, const std::vector<sGameLevel>& levels)
    {
        std::string body;
        for (const sGameLevel& l : levels)
        {
            const std::wstring wideTag = FindRegisteredGame(l.game)->levelTag;
            const std::string tag(wideTag.begin(), wideTag.end());
            body += "<" + tag + " name=\"" + l.level.name + "\" difficulty=\"Medium\" " + l.level.attributes + ">" +
                    l.level.children + "</" + tag + ">\n";
        }
        LoadManifest(manifest, body);
        const std::string log = TakeLog();
        const std::string manifestName(manifest, manifest + std::wcslen(manifest));
        for (const sGameLevel& l : levels)
        {
            SCOPED_TRACE(l.level.name);
            EXPECT_EQ(FiledLevels(l.game).count(l.level.name) == 1, ExpectsFiled(l.level.logged));
            ExpectLevelLine(LevelLogLine(log, manifestName, l.level.name), l.level.logged);
        }
        return log;
    }
};

// `count` copies of `element`, the one-based copy number put in for every "#".
std::string Repeat(int count, const std::string& element)
{
    std::string all;
    for (int i = 1; i <= count; ++i)
    {
        std::string copy = element;
        for (size_t at = copy.find('#'); at != std::string::npos; at = copy.find('#', at))
            copy.replace(at, 1, std::to_string(i));
        all += copy;
    }
    return all;
}

// The integer and float getters read a number's leading digits ("1O0" is 1, "big" is 0, "inf" is
// infinite). A level is refused, with one line naming it, when what was read leaves its game nothing
// to play; a typo that still reads as a playable number keeps the level, and its line names the typo.
TEST_F(GameLevelReadersTest, ANumberThatLeavesTheGameUnplayableRefusesTheLevelWithOneLogLine)
{
    const char* const obstacles = R"(<Obstacle imageID="1"/><Obstacle imageID="2"/>)";
    const std::vector<sGameLevel> cases = {
        {GameModeType_PileOfLeaves,
         {"LeafTypo", R"(numTools="3" cursorRadius="1O0")", "",
          "has \"cursorRadius\" \"1O0\", not a number (read as 1); it is filed"}},
        {GameModeType_PileOfLeaves,
         {"LeafWord", R"(numTools="3" cursorRadius="big")", "", "has \"cursorRadius\" 0, not 1 to"}},
        {GameModeType_PileOfLeaves, {"LeafZero", R"(numTools="3" cursorRadius="0")", "", "has \"cursorRadius\" 0"}},
        {GameModeType_PileOfLeaves, {"LeafNoTools", R"(numTools="few")", "", "has \"numTools\" 0"}},
        {GameModeType_HideAndSeek,
         {"CatTypo", R"(numPreviewHides="2" runSpeed="300 px")", obstacles,
          "has \"runSpeed\" \"300 px\", not a number (read as 300); it is filed"}},
        {GameModeType_HideAndSeek,
         {"CatInfinite", R"(numPreviewHides="2" runSpeed="inf")", obstacles,
          "has \"runSpeed\" inf, not a finite number above 0"}},
        {GameModeType_HideAndSeek,
         {"CatMinusInfinite", R"(numPreviewHides="2" runSpeed="-inf")", obstacles, "not a finite number above 0"}},
        {GameModeType_HideAndSeek,
         {"CatNaN", R"(numPreviewHides="2" runSpeed="nan")", obstacles, "not a finite number above 0"}},
        {GameModeType_HideAndSeek,
         {"CatWord", R"(numPreviewHides="2" runSpeed="fast")", obstacles, "not a finite number above 0"}},
        // Above 0 yet too slow to hide in any time a child waits; the last two make distance over speed
        // 0 or infinite, and the line still shows what was written.
        {GameModeType_HideAndSeek,
         {"CatCrawling", R"(numPreviewHides="2" runSpeed="0.5")", obstacles, "has \"runSpeed\" 0.5, less than 200"}},
        {GameModeType_HideAndSeek,
         {"CatStill", R"(numPreviewHides="2" runSpeed="1e-30")", obstacles, "has \"runSpeed\" 1e-30, less than"}},
        {GameModeType_HideAndSeek,
         {"CatSubnormal", R"(numPreviewHides="2" runSpeed="1e-45")", obstacles, "has \"runSpeed\" 1e-45, less than"}},
        {GameModeType_HideAndSeek,
         {"CatNoHiding", R"(numPreviewHides="some" runSpeed="300")", obstacles, "so the cat never hides"}},
        {GameModeType_PlanAJob, {"JobNoGaps", R"(imageList="Job" numEmpty="many")", "", "has \"numEmpty\" 0"}},
        {GameModeType_StreetSigns, {"SignsNone", R"(signs="lots")", R"(<Ask trait="Color"/>)", "has \"signs\" 0"}},
        {GameModeType_SproutPuzzle,
         {"PuzzleUncut", R"(picture="Giraffes" columns="two" rows="2")", "", "is cut \"columns\" 0 by \"rows\" 2"}},
        {GameModeType_HammerTheNail,
         {"NailsDriven", "", R"(<Nail type="Wrench" color="Green" clickCount="three"/>)",
          "has no nail that needs a stroke"}},
        {GameModeType_CountTheMaterials,
         {"CountNothing", "", R"(<Request material="Plant" number="two"/><Material type="Plant" number="2"/>)",
          "has a \"Request\" of \"number\" 0"}},
        {GameModeType_HoistStacker,
         {"StackFlat", "", R"(<StackObject size="big" color="Red" type="Log"/>)", "has an object of \"size\" 0"}},
    };
    ExpectFiledUnlessLogged(L"Mixed", cases);
}

// Every count, size and speed a level sets is held to what the playfield shows or a child sits through,
// and every speed from below too: at its bound the level is filed, one past it the level is refused
// with one line naming the field.
TEST_F(GameLevelReadersTest, ANumberPastWhatTheGameCanShowRefusesTheLevelWithOneLogLineNamingTheField)
{
    const struct
    {
        GameModeType game;
        const char* field;
        sLevelCase atBound;
        sLevelCase pastBound;
    } rows[] = {
        // Counting: the request and the piles.
        {GameModeType_CountTheMaterials,
         "number",
         {"CountRequestAt", "", R"(<Request material="Plant" number="10"/><Material type="Plant" number="10"/>)",
          nullptr},
         {"CountRequestPast", "", R"(<Request material="Plant" number="11"/><Material type="Plant" number="11"/>)",
          "has a \"Request\" of \"number\" 11, not 1 to 10"}},
        {GameModeType_CountTheMaterials,
         "number",
         {"CountPileAt", "",
          R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>)"
          R"(<Material type="LogRed" number="10"/>)",
          nullptr},
         {"CountPilePast", "",
          R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>)"
          R"(<Material type="LogRed" number="11"/>)",
          "has a \"Material\" pile of \"number\" 11"}},
        {GameModeType_CountTheMaterials,
         "Material",
         {"CountPilesAt", "",
          R"(<Request material="Plant" number="1"/>)" +
              Repeat(kCountTheMaterialsMaxPiles, R"(<Material type="Plant" number="1"/>)"),
          nullptr},
         {"CountPilesPast", "",
          R"(<Request material="Plant" number="1"/>)" +
              Repeat(kCountTheMaterialsMaxPiles + 1, R"(<Material type="Plant" number="1"/>)"),
          "has more than 5 \"Material\" piles"}},
        // Hammering: the nails, their strokes and places, the tool box.
        {GameModeType_HammerTheNail,
         "Nail",
         {"NailsAt", "", Repeat(kHammerTheNailMaxNails, R"(<Nail type="Wrench" color="Red" clickCount="1" x="#"/>)"),
          nullptr},
         {"NailsPast", "",
          Repeat(kHammerTheNailMaxNails + 1, R"(<Nail type="Wrench" color="Red" clickCount="1" x="#"/>)"),
          "has more than 8 \"Nail\""}},
        {GameModeType_HammerTheNail,
         "clickCount",
         {"StrokesAt", "", R"(<Nail type="Wrench" color="Red" clickCount="3"/>)", nullptr},
         {"StrokesPast", "", R"(<Nail type="Wrench" color="Red" clickCount="4"/>)",
          "has a nail of \"clickCount\" 4, not 0 to 3"}},
        {GameModeType_HammerTheNail,
         "x",
         {"NailXAt", "", R"(<Nail type="Wrench" color="Red" clickCount="1" x="799"/>)", nullptr},
         {"NailXPast", "", R"(<Nail type="Wrench" color="Red" clickCount="1" x="800"/>)",
          "has a nail off the playfield at \"x\" 800"}},
        {GameModeType_HammerTheNail,
         "y",
         {"NailYAt", "", R"(<Nail type="Wrench" color="Red" clickCount="1" y="599"/>)", nullptr},
         {"NailYPast", "", R"(<Nail type="Wrench" color="Red" clickCount="1" y="600"/>)", "\"y\" 600"}},
        {GameModeType_HammerTheNail,
         "Tool",
         {"BoxAt", "",
          R"(<Tool type="DriverPlus" color="Red"/><Tool type="DriverPlus" color="Blue"/><Tool type="DriverMinus" color="Red"/>)"
          R"(<Nail type="Wrench" color="Red" clickCount="1"/>)",
          nullptr},
         {"BoxPast", "",
          R"(<Tool type="DriverPlus" color="Red"/><Tool type="DriverPlus" color="Blue"/><Tool type="DriverMinus" color="Red"/>)"
          R"(<Tool type="DriverMinus" color="Blue"/><Nail type="Wrench" color="Red" clickCount="1"/>)",
          "needs 5 tools"}},
        // The two letter-pattern games: patterns and their letters.
        {GameModeType_HaulersDelivery,
         "Pattern",
         {"CargoPatternsAt", "", Repeat(kLetterPatternMaxPatterns, R"(<Pattern order="AB"/>)"), nullptr},
         {"CargoPatternsPast", "", Repeat(kLetterPatternMaxPatterns + 1, R"(<Pattern order="AB"/>)"),
          "has more than 16 \"Pattern\""}},
        {GameModeType_HaulersDelivery,
         "order",
         {"CargoLettersAt", "", R"(<Pattern order="ABCABCABCA"/>)", nullptr},
         {"CargoLettersPast", "", R"(<Pattern order="ABCABCABCAB"/>)", "of more than 10 letters"}},
        {GameModeType_PaintIt,
         "Pattern",
         {"FencePatternsAt", "", Repeat(kLetterPatternMaxPatterns, R"(<Pattern order="AB"/>)"), nullptr},
         {"FencePatternsPast", "", Repeat(kLetterPatternMaxPatterns + 1, R"(<Pattern order="AB"/>)"),
          "has more than 16 \"Pattern\""}},
        {GameModeType_PaintIt,
         "order",
         {"FenceLettersAt", "", R"(<Pattern order="A B C A B C A B C A"/>)", nullptr},
         {"FenceLettersPast", "", R"(<Pattern order="A B C A B C A B C A B"/>)", "of more than 10 letters"}},
        // Delivery: the animals and the houses.
        {GameModeType_HereToThere,
         "Animal",
         {"AnimalsAt", R"(numBuildings="4")",
          R"(<Animal type="Square" color="Blue"/><Animal type="Circle" color="Blue"/>)"
          R"(<Animal type="Star" color="Blue"/><Animal type="Triangle" color="Blue"/>)",
          nullptr},
         {"AnimalsPast", R"(numBuildings="5")",
          R"(<Animal type="Square" color="Blue"/><Animal type="Circle" color="Blue"/>)"
          R"(<Animal type="Star" color="Blue"/><Animal type="Triangle" color="Blue"/><Animal type="Star" color="Green"/>)",
          "has more than 4 \"Animal\""}},
        {GameModeType_HereToThere,
         "numBuildings",
         {"HousesAt", R"(numBuildings="12")", R"(<Animal type="Square" color="Blue"/>)", nullptr},
         {"HousesPast", R"(numBuildings="13")", R"(<Animal type="Square" color="Blue"/>)",
          "has \"numBuildings\" 13, not 0 to 12"}},
        // Hide-and-seek: the finds, the runs, the speed and the obstacles.
        {GameModeType_HideAndSeek,
         "numHides",
         {"FindsAt", R"(numHides="10" numPreviewHides="1" runSpeed="300")", Repeat(2, "<Obstacle/>"), nullptr},
         {"FindsPast", R"(numHides="11" numPreviewHides="1" runSpeed="300")", Repeat(2, "<Obstacle/>"),
          "has \"numHides\" 11, more than 10"}},
        {GameModeType_HideAndSeek,
         "numPreviewHides",
         {"RunsAt", R"(numPreviewHides="10" runSpeed="300")", Repeat(2, "<Obstacle/>"), nullptr},
         {"RunsPast", R"(numPreviewHides="11" runSpeed="300")", Repeat(2, "<Obstacle/>"),
          "has \"numPreviewHides\" 11, more than 10"}},
        {GameModeType_HideAndSeek,
         "runSpeed",
         {"SpeedAt", R"(numPreviewHides="1" runSpeed="1500")", Repeat(2, "<Obstacle/>"), nullptr},
         {"SpeedPast", R"(numPreviewHides="1" runSpeed="1501")", Repeat(2, "<Obstacle/>"),
          "has \"runSpeed\" 1501, more than 1500"}},
        // The floor: the playfield's diagonal run within five seconds.
        {GameModeType_HideAndSeek,
         "runSpeed",
         {"SpeedFloorAt", R"(numPreviewHides="1" runSpeed="200")", Repeat(2, "<Obstacle/>"), nullptr},
         {"SpeedFloorPast", R"(numPreviewHides="1" runSpeed="199.99")", Repeat(2, "<Obstacle/>"),
          "has \"runSpeed\" 199.99, less than 200"}},
        {GameModeType_HideAndSeek,
         "Obstacle",
         {"ObstaclesAt", R"(numPreviewHides="1" runSpeed="300")", Repeat(kHideAndSeekMaxObstacles, "<Obstacle/>"),
          nullptr},
         {"ObstaclesPast", R"(numPreviewHides="1" runSpeed="300")", Repeat(kHideAndSeekMaxObstacles + 1, "<Obstacle/>"),
          "has more than 12 \"Obstacle\""}},
        // Stacking: the objects and their sizes.
        {GameModeType_HoistStacker,
         "StackObject",
         {"StackAt", "",
          Repeat(kHoistStackerMaxSize, R"(<StackObject size="#" color="Red" type="Log"/>)") +
              Repeat(kHoistStackerMaxSize, R"(<StackObject size="#" color="Blue" type="Log"/>)"),
          nullptr},
         {"StackPast", "",
          Repeat(kHoistStackerMaxSize, R"(<StackObject size="#" color="Red" type="Log"/>)") +
              Repeat(kHoistStackerMaxSize + 1, R"(<StackObject size="#" color="Blue" type="Log"/>)"),
          "has more than 10 \"StackObject\""}},
        {GameModeType_HoistStacker,
         "size",
         {"SizeAt", "", R"(<StackObject size="5" color="Red" type="Girder"/>)", nullptr},
         {"SizePast", "", R"(<StackObject size="6" color="Red" type="Girder"/>)",
          "has an object of \"size\" 6, not 1 to 5"}},
        // Leaves: the tools, the leaves and the pointer's reach.
        {GameModeType_PileOfLeaves,
         "numTools",
         {"LeafToolsAt", R"(numTools="22")", "", nullptr},
         {"LeafToolsPast", R"(numTools="23")", "", "has \"numTools\" 23, not 1 to 22"}},
        {GameModeType_PileOfLeaves,
         "areaCover",
         {"LeafAreaAt", R"(numTools="1" areaCover="300")", "", nullptr},
         {"LeafAreaPast", R"(numTools="1" areaCover="301")", "", "has \"areaCover\" 301, not 0 to 300"}},
        {GameModeType_PileOfLeaves,
         "toolCover",
         {"LeafCoverAt", R"(numTools="1" toolCover="30")", "", nullptr},
         {"LeafCoverPast", R"(numTools="1" toolCover="31")", "", "has \"toolCover\" 31, not 0 to 30"}},
        {GameModeType_PileOfLeaves,
         "cursorRadius",
         {"LeafRadiusAt", R"(numTools="1" cursorRadius="400")", "", nullptr},
         {"LeafRadiusPast", R"(numTools="1" cursorRadius="401")", "", "has \"cursorRadius\" 401, not 1 to 400"}},
        // Job order: the steps left empty.
        {GameModeType_PlanAJob,
         "numEmpty",
         {"JobGapsAt", R"(imageList="Job" numEmpty="5")", "", nullptr},
         {"JobGapsPast", R"(imageList="Job" numEmpty="6")", "", "has \"numEmpty\" 6, not 1 to 5"}},
        // Jigsaw: the cut, column by row.
        {GameModeType_SproutPuzzle,
         "columns",
         {"CutColumnsAt", R"(picture="Pond" columns="3" rows="3")", "", nullptr},
         {"CutColumnsPast", R"(picture="Pond" columns="4" rows="3")", "", "is cut \"columns\" 4 by \"rows\" 3"}},
        {GameModeType_SproutPuzzle,
         "rows",
         {"CutRowsAt", R"(picture="Pond" columns="3" rows="3")", "", nullptr},
         {"CutRowsPast", R"(picture="Pond" columns="3" rows="4")", "", "is cut \"columns\" 3 by \"rows\" 4"}},
        // Street signs: the signs and the asks.
        {GameModeType_StreetSigns,
         "signs",
         {"SignsAt", R"(signs="5")", R"(<Ask trait="Color"/>)", nullptr},
         {"SignsPast", R"(signs="6")", R"(<Ask trait="Color"/>)", "has \"signs\" 6, not 2 to 5"}},
        {GameModeType_StreetSigns,
         "Ask",
         {"AsksAt", R"(signs="5")", Repeat(kStreetSignMaxSigns - 1, R"(<Ask trait="Shape"/>)"), nullptr},
         {"AsksPast", R"(signs="5")", Repeat(kStreetSignMaxSigns, R"(<Ask trait="Shape"/>)"),
          "has 5 \"Ask\" for \"signs\" 5"}},
        // Tool shed: the boxes and the tools.
        {GameModeType_ToolShed,
         "Box",
         {"ShedBoxesAt", R"(sortBy="Color")",
          R"(<Box color="Red"/><Box color="Blue"/><Box color="Green"/><Box color="Yellow"/>)"
          R"(<Tool type="Saw" color="Red"/>)",
          nullptr},
         {"ShedBoxesPast", R"(sortBy="Color")",
          R"(<Box color="Red"/><Box color="Blue"/><Box color="Green"/><Box color="Yellow"/><Box color="Red"/>)"
          R"(<Tool type="Saw" color="Red"/>)",
          "has 5 \"Box\", not 2 to 4"}},
        {GameModeType_ToolShed,
         "Tool",
         {"ShedToolsAt", R"(sortBy="Color")",
          R"(<Box color="Red"/><Box color="Blue"/>)" + Repeat(kToolShedMaxTools, R"(<Tool type="Saw" color="Red"/>)"),
          nullptr},
         {"ShedToolsPast", R"(sortBy="Color")",
          R"(<Box color="Red"/><Box color="Blue"/>)" +
              Repeat(kToolShedMaxTools + 1, R"(<Tool type="Saw" color="Red"/>)"),
          "has 11 \"Tool\", not 1 to 10"}},
    };
    std::vector<sGameLevel> levels;
    for (const auto& row : rows)
    {
        levels.push_back({row.game, row.atBound});
        levels.push_back({row.game, row.pastBound});
    }
    const std::string log = ExpectFiledUnlessLogged(L"Bounds", levels);
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.pastBound.name);
        EXPECT_NE(LevelLogLine(log, "Bounds", row.pastBound.name).find(std::string("\"") + row.field + "\""),
                  std::string::npos);
    }
}

// A value that is not a number of the type asked for is named in the level's one line, with the
// attribute, the value as written and what it is read as, in every reader; the level is filed or
// refused on that as before, except that "1e400" is past every whole number's bound, not 1.
TEST_F(GameLevelReadersTest, AValueThatIsNotANumberIsNamedInTheLevelsOneLine)
{
    const struct
    {
        GameModeType game;
        const char* attribute;
        const char* attributes; // "@" stands for the value
        const char* children;
    } numbers[] = {
        {GameModeType_PileOfLeaves, "areaCover", R"(numTools="3" areaCover="@")", ""},
        {GameModeType_HammerTheNail, "clickCount", "",
         R"(<Nail type="Wrench" color="Red" clickCount="@"/><Nail type="Wrench" color="Red" clickCount="1"/>)"},
        {GameModeType_HammerTheNail, "x", "", R"(<Nail type="Wrench" color="Red" clickCount="1" x="@"/>)"},
        {GameModeType_HereToThere, "numBuildings", R"(numBuildings="@")", R"(<Animal type="Square" color="Blue"/>)"},
        {GameModeType_HideAndSeek, "numHides", R"(numHides="@" numPreviewHides="1" runSpeed="300")",
         "<Obstacle/><Obstacle/>"},
    };
    const std::pair<const char*, const char*> values[] = {
        {"", "not a number (read as 0); it is filed"},
        {"abc", "not a number (read as 0); it is filed"},
        {"nan", "not a number (read as 0); it is filed"},
        {"inf", "not a finite number (read as 0); it is filed"},
        {"1e400", "out of range for a whole number (read as 2147483647)"},
    };
    std::deque<std::string> texts; // what the rows point to
    std::vector<sGameLevel> levels;
    for (const auto& number : numbers)
        for (const auto& [value, said] : values)
        {
            const auto put = [value = value](std::string text)
            {
                if (const size_t at = text.find('@'); at != std::string::npos)
                    text.replace(at, 1, value);
                return text;
            };
            const std::string attribute = number.attribute;
            const char* name = texts.emplace_back(attribute + std::to_string(levels.size())).c_str();
            const char* logged = texts.emplace_back("has \"" + attribute + "\" \"" + value + "\", " + said).c_str();
            levels.push_back({number.game, {name, put(number.attributes), put(number.children), logged}});
        }
    // The other readers' numbers, a fraction and the float speed are named the same way, and two values
    // of one level share its one line.
    const std::vector<sGameLevel> others = {
        {GameModeType_CountTheMaterials,
         {"CountWord", "", R"(<Request material="Plant" number="abc"/><Material type="Plant" number="2"/>)",
          "has \"number\" \"abc\", not a number (read as 0); has a \"Request\" of \"number\" 0"}},
        {GameModeType_HoistStacker,
         {"StackNaN", "", R"(<StackObject size="nan" color="Red" type="Log"/>)",
          "has \"size\" \"nan\", not a number (read as 0); has an object of \"size\" 0"}},
        {GameModeType_PlanAJob,
         {"JobInfinite", R"(imageList="Job" numEmpty="inf")", "", "has \"numEmpty\" \"inf\", not a finite number"}},
        {GameModeType_SproutPuzzle,
         {"PuzzleEmpty", R"(picture="Pond" columns="" rows="3")", "",
          "has \"columns\" \"\", not a number (read as 0)"}},
        {GameModeType_StreetSigns,
         {"SignsHuge", R"(signs="1e400")", R"(<Ask trait="Color"/>)",
          "has \"signs\" \"1e400\", out of range for a whole number (read as 2147483647); has \"signs\" 2147483647"}},
        {GameModeType_HideAndSeek,
         {"CatHuge", R"(numPreviewHides="1" runSpeed="1e400")", "<Obstacle/><Obstacle/>",
          "has \"runSpeed\" \"1e400\", out of range (read as inf)"}},
        {GameModeType_HammerTheNail,
         {"NailTwice", "", R"(<Nail type="Wrench" color="Red" clickCount="1" x="12.5" y=" abc "/>)",
          "has \"x\" \"12.5\", not written as a whole number (read as 12); has \"y\" \" abc \", not a number (read as "
          "0); it is filed"}},
        // Written as plain whole and real numbers, with the blanks and sign the getters allow: no line.
        {GameModeType_HideAndSeek,
         {"CatPlain", R"(numHides=" +3 " numPreviewHides="1" runSpeed=" 2.5e2 ")", "<Obstacle/><Obstacle/>", nullptr}},
    };
    levels.insert(levels.end(), others.begin(), others.end());
    ExpectFiledUnlessLogged(L"NotNumbers", levels);
}

} // namespace

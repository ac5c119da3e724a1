#include "game/GameLevelReaders.h"

#include "game/GameRegistry.h"

#include "GameServicesTestSupport.h"

#include <set>
#include <string>

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
};

// The integer and float getters read a number's leading digits ("1O0" is 1, "big" is 0, "inf" is
// infinite). A level is refused, with one line naming it, when what was read leaves its game nothing
// to play; a typo that still reads as a playable number keeps the level.
TEST_F(GameLevelReadersTest, ANumberThatLeavesTheGameUnplayableRefusesTheLevelWithOneLogLine)
{
    const char* const obstacles = R"(<Obstacle imageID="1"/><Obstacle imageID="2"/>)";
    const struct
    {
        GameModeType game;
        const char* name;
        const char* attributes;
        const char* children;
        const char* logged; // null when the level is filed
    } cases[] = {
        {GameModeType_PileOfLeaves, "LeafTypo", R"(numTools="3" cursorRadius="1O0")", "", nullptr},
        {GameModeType_PileOfLeaves, "LeafWord", R"(numTools="3" cursorRadius="big")", "",
         "has 0 pixels of cursor radius, not 1 to"},
        {GameModeType_PileOfLeaves, "LeafZero", R"(numTools="3" cursorRadius="0")", "",
         "has 0 pixels of cursor radius"},
        {GameModeType_PileOfLeaves, "LeafNoTools", R"(numTools="few")", "", "has 0 tools"},
        {GameModeType_HideAndSeek, "CatTypo", R"(numPreviewHides="2" runSpeed="300 px")", obstacles, nullptr},
        {GameModeType_HideAndSeek, "CatInfinite", R"(numPreviewHides="2" runSpeed="inf")", obstacles,
         "has \"runSpeed\" inf, not a finite number above 0"},
        {GameModeType_HideAndSeek, "CatMinusInfinite", R"(numPreviewHides="2" runSpeed="-inf")", obstacles,
         "not a finite number above 0"},
        {GameModeType_HideAndSeek, "CatNaN", R"(numPreviewHides="2" runSpeed="nan")", obstacles,
         "not a finite number above 0"},
        {GameModeType_HideAndSeek, "CatWord", R"(numPreviewHides="2" runSpeed="fast")", obstacles,
         "not a finite number above 0"},
        {GameModeType_HideAndSeek, "CatNoHiding", R"(numPreviewHides="some" runSpeed="300")", obstacles,
         "so the cat never hides"},
        {GameModeType_PlanAJob, "JobNoGaps", R"(imageList="Job" numEmpty="many")", "", "has \"numEmpty\" 0"},
        {GameModeType_StreetSigns, "SignsNone", R"(signs="lots")", R"(<Ask trait="Color"/>)", "has \"signs\" 0"},
        {GameModeType_SproutPuzzle, "PuzzleUncut", R"(picture="Giraffes" columns="two" rows="2")", "", "is cut 0 by 2"},
        {GameModeType_HammerTheNail, "NailsDriven", "", R"(<Nail type="Wrench" color="Green" clickCount="three"/>)",
         "has no nail that needs a stroke"},
        {GameModeType_CountTheMaterials, "CountNothing", "",
         R"(<Request material="Plant" number="two"/><Material type="Plant" number="2"/>)", "requests 0 items"},
        {GameModeType_HoistStacker, "StackFlat", "", R"(<StackObject size="big" color="Red" type="Log"/>)",
         "has an object of size 0"},
    };
    std::string body;
    for (const auto& c : cases)
    {
        const std::wstring wideTag = FindRegisteredGame(c.game)->levelTag;
        const std::string tag(wideTag.begin(), wideTag.end());
        body += "<" + tag + " name=\"" + c.name + "\" difficulty=\"Medium\" " + c.attributes + ">" + c.children + "</" +
                tag + ">\n";
    }
    LoadManifest(L"Mixed", body);
    const std::string log = TakeLog();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FiledLevels(c.game).count(c.name) == 1, c.logged == nullptr);
        const std::string line = LevelLogLine(log, "Mixed", c.name);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "");
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << line;
    }
}

} // namespace

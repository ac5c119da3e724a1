#include "game/HammerTheNail/HammerTheNailLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using HammerTheNailLevelTest = LevelReaderTest<HammerTheNailLevelResourceFactory>;

TEST_F(HammerTheNailLevelTest, OnlyPlayableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    const std::string nail = R"(<Nail type="Wrench" color="Red" clickCount="1" x="10" y="10"/>)";
    const std::string fiveTools = R"(<Tool type="Wrench" color="Green"/><Tool type="Wrench" color="Blue"/>
        <Tool type="DriverPlus" color="Red"/><Tool type="DriverMinus" color="Yellow"/>)" +
                                  nail;
    const std::string nineNails = [&]
    {
        std::string text;
        for (int i = 0; i < 9; ++i)
            text += nail;
        return text;
    }();
    const sLevelCase cases[] = {
        {"HtnFull", "", R"(<Tool type="DriverPlus" color="Yellow"/><Nail type="Wrench" color="Green" clickCount="3"
            x="799" y="599"/><Nail type="Wrench" color="Green" x="0" y="0"/><Note/>)",
         nullptr},
        {"HtnFiveTools", "", fiveTools,
         "needs 5 tools (each \"Tool\" and each distinct tool of a \"Nail\"), more than the 4 the box holds"},
        {"HtnNineNails", "", nineNails, "has more than 8 \"Nail\""},
        {"HtnBadTool", "", R"(<Tool type="Hammer" color="Red"/>)", "has a \"Tool\" of an unknown type or colour"},
        {"HtnCase", "", R"(<Nail type="wrench" color="Red" clickCount="1"/>)",
         "has a nail of an unknown type or colour"},
        {"HtnBadColor", "", R"(<Nail type="Wrench" color="Purple" clickCount="1"/>)",
         "has a nail of an unknown type or colour"},
        {"HtnDeep", "", R"(<Nail type="Wrench" color="Red" clickCount="4"/>)",
         "has a nail of \"clickCount\" 4, not 0 to 3"},
        {"HtnNegative", "", R"(<Nail type="Wrench" color="Red" clickCount="-1"/>)", "has a nail of \"clickCount\" -1"},
        {"HtnOff", "", R"(<Nail type="Wrench" color="Red" clickCount="1" x="800"/>)", "has a nail off the playfield"},
        {"HtnDriven", "", R"(<Nail type="Wrench" color="Red"/><Tool type="Wrench" color="Red"/>)",
         "has no nail that needs a stroke, so it could never end"},
        {"HtnEmpty", "", "", "could never end"},
    };
    ExpectLevels(L"Hammer", cases, "Medium");
    const HammerTheNailLevel* full = Level("HtnFull");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->nails, (std::vector<NailData>{{FixItToolType_Wrench, FixItToolColor_Green, 3, 799, 599},
                                                  {FixItToolType_Wrench, FixItToolColor_Green, 0, 0, 0}}));
}

TEST_F(HammerTheNailLevelTest, TheBoxHoldsTheNamedToolsThenOneOfEachNeededInTableOrder)
{
    struct Case
    {
        const char* children;
        std::vector<FixItTool> box;
    };
    const Case cases[] = {
        {R"(<Nail type="DriverMinus" color="Blue" clickCount="1"/><Nail type="Wrench" color="Red" clickCount="2"/>
            <Nail type="Wrench" color="Red" clickCount="1"/>)",
         {{FixItToolType_Wrench, FixItToolColor_Red}, {FixItToolType_DriverMinus, FixItToolColor_Blue}}},
        {R"(<Nail type="Wrench" color="Green" clickCount="1"/><Tool type="DriverPlus" color="Yellow"/>)",
         {{FixItToolType_DriverPlus, FixItToolColor_Yellow}, {FixItToolType_Wrench, FixItToolColor_Green}}},
        {R"(<Tool type="Wrench" color="Red"/><Nail type="Wrench" color="Red" clickCount="1"/>)",
         {{FixItToolType_Wrench, FixItToolColor_Red}, {FixItToolType_Wrench, FixItToolColor_Red}}},
        {R"(<Nail type="Wrench" color="Yellow" clickCount="1"/><Nail type="Wrench" color="Blue" clickCount="1"/>)",
         {{FixItToolType_Wrench, FixItToolColor_Blue}, {FixItToolType_Wrench, FixItToolColor_Yellow}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const std::string name = "HtnBox" + std::to_string(i);
        const std::wstring manifest = L"Box" + std::to_wstring(i);
        LoadManifest(manifest.c_str(), "<HammerTheNailLevel name=\"" + name + "\" difficulty=\"Easy\">" +
                                           cases[i].children + "</HammerTheNailLevel>");
        const HammerTheNailLevel* level = Level(name.c_str());
        ASSERT_NE(level, nullptr) << name;
        EXPECT_EQ(level->Tools(), cases[i].box) << name;
        EXPECT_EQ(level->Validate(), "") << name;
    }
    EXPECT_EQ(ParseFixItToolType(L"DriverPlus"), FixItToolType_DriverPlus);
    EXPECT_EQ(ParseFixItToolType(std::wstring(L"Wrench\0x", 8)), FixItToolType_None);
    EXPECT_EQ(ParseFixItToolColor(L"Yellow "), FixItToolColor_None);
}

TEST_F(HammerTheNailLevelTest, EveryShippedLevelIsFiledWithItsNailsApartAboveTheBoxAndClearOfTheForeman)
{
    const ShippedByDifficulty shipped = ShippedLevels();
    // The nail layout's picture is 100 by 140; the tool box starts at y 428 and the foreman stands at
    // (640, 270): a nail there would hide or be hidden.
    const auto box = [](const NailData& n) { return Strata::Rect<int>(n.x, n.y, 100, 140); };
    const auto overlap = [](const Strata::Rect<int>& a, const Strata::Rect<int>& b)
    { return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height; };
    for (const auto& levels : shipped)
        for (const auto& [name, level] : levels)
        {
            for (size_t i = 0; i < level->nails.size(); ++i)
            {
                const Strata::Rect<int> a = box(level->nails[i]);
                EXPECT_LE(a.y + a.height, 428) << name << " nail " << i;
                EXPECT_GE(a.y, 135) << name << " nail " << i << ": a screwdriver held on it would leave the screen";
                EXPECT_FALSE(a.x + a.width > 640 && a.y + a.height > 270) << name << " nail " << i;
                for (size_t j = i + 1; j < level->nails.size(); ++j)
                    EXPECT_FALSE(overlap(a, box(level->nails[j]))) << name << " nails " << i << ", " << j;
            }
        }
}

} // namespace

#include "game/HoistStacker/HoistStackerLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using HoistStackerLevelTest = LevelReaderTest<HoistStackerLevelResourceFactory>;

TEST_F(HoistStackerLevelTest, OnlyStackableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    const std::string ten = []
    {
        std::string objects;
        for (int size = 1; size <= 5; ++size)
            for (const char* color : {"Red", "Blue"})
                objects += "<StackObject size=\"" + std::to_string(size) + "\" color=\"" + color + "\" type=\"Log\"/>";
        return objects;
    }();
    const std::string eleven = ten + R"(<StackObject size="1" color="Red" type="Log"/>)";
    const sLevelCase cases[] = {
        // Nested objects count; a size may repeat across colours.
        {"HsTwo", "", R"(<Pile><StackObject size="3" color="Red" type="Girder"/></Pile><Note/>
                    <StackObject size="3" color="Blue" type="Log"/>)",
         nullptr},
        {"HsTen", "", ten, nullptr},
        {"HsEleven", "", eleven, "has more than 10 \"StackObject\""},
        {"HsEmpty", "", "<Pile/>", "has no \"StackObject\""},
        {"HsTwins", "",
         R"(<StackObject size="2" color="Blue" type="Log"/><StackObject size="2" color="Blue" type="Girder"/>)",
         "has two Blue objects of size 2"},
        {"HsCase", "", R"(<StackObject size="2" color="red" type="Log"/>)", "has an object of an unknown colour"},
        {"HsGreen", "", R"(<StackObject size="2" color="Green" type="Log"/>)", "has an object of an unknown colour"},
        {"HsPlank", "", R"(<StackObject size="2" color="Red" type="Plank"/>)", "has an object of an unknown type"},
        {"HsNoSize", "", R"(<StackObject color="Red" type="Log"/>)", "has an object of \"size\" 0, not 1 to 5"},
        {"HsHuge", "", R"(<StackObject size="6" color="Red" type="Log"/>)", "has an object of \"size\" 6, not 1 to 5"},
    };
    ExpectLevels(L"Stacks", cases, "Hard");
    const HoistStackerLevel* two = Level("HsTwo");
    ASSERT_NE(two, nullptr);
    ASSERT_EQ(two->objects.size(), 2u);
    EXPECT_EQ(two->objects[0].type, StackObjectType_Girder);
    EXPECT_EQ(two->objects[1].color, StackObjectColor_Blue);
    EXPECT_EQ(two->objects[1].type, StackObjectType_Log);
}

} // namespace

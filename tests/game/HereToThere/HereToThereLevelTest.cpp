#include "game/HereToThere/HereToThereLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using HereToThereLevelTest = LevelReaderTest<HereToThereLevelResourceFactory>;

TEST_F(HereToThereLevelTest, OnlyLevelsThePlayfieldCanHoldAreFiledAndEachRefusalIsLoggedOnce)
{
    const char* const two = R"(<Animal type="Square" color="Blue"/><Animal type="Star" color="Yellow"/>)";
    const sLevelCase cases[] = {
        {"HttTwo", R"(numBuildings="4" matchColor="true")", two, nullptr},
        // Every animal gets its house even when the street would be smaller.
        {"HttNoStreet", "", R"(<Animal type="Circle" color="Green"/><Animal type="Star" color="Purple"/>)", nullptr},
        // Two colours left free give eight decoy marks, all of which fit.
        {"HttFullColor", R"(numBuildings="10" matchColor="true")", two, nullptr},
        {"HttTwelve", R"(numBuildings="12")", two, nullptr},
        {"HttFive", R"(numBuildings="6")", R"(<Animal type="Square" color="Blue"/><Animal type="Square" color="Blue"/>
            <Animal type="Square" color="Blue"/><Animal type="Square" color="Blue"/>
            <Animal type="Circle" color="Blue"/>)",
         "has more than 4 \"Animal\""},
        {"HttThirteen", R"(numBuildings="13")", two, "has \"numBuildings\" 13, not 0 to 12"},
        {"HttNegative", R"(numBuildings="-1")", two, "has \"numBuildings\" -1, not 0 to 12"},
        {"HttCase", R"(numBuildings="2")", R"(<Animal type="square" color="Blue"/>)",
         "has an animal of an unknown shape"},
        {"HttNoType", R"(numBuildings="2")", R"(<Animal color="Blue"/>)", "has an animal of an unknown shape"},
        {"HttRed", R"(numBuildings="2")", R"(<Animal type="Star" color="Red"/>)", "has an animal of an unknown colour"},
        {"HttEmpty", R"(numBuildings="3")", "<Cage/>", "has no \"Animal\""},
        // Four colours taken leave no decoy a mark of its own.
        {"HttNoFreeColor", R"(numBuildings="5" matchColor="true")",
         R"(<Animal type="Star" color="Blue"/><Animal type="Star" color="Green"/>
            <Animal type="Star" color="Purple"/><Animal type="Star" color="Yellow"/>)",
         "needs 1 decoy houses but leaves 0 free marks"},
        {"HttTooManyForColor", R"(numBuildings="11" matchColor="true")", two,
         "needs 9 decoy houses but leaves 8 free marks"},
    };
    ExpectLevels(L"Delivery", cases, "Medium");
}

TEST_F(HereToThereLevelTest, DecoysAreDrawnFromTheMarksNoAnimalHolds)
{
    LoadManifest(L"Marks", R"(
        <HereToThereLevel name="HttColour" difficulty="Easy" numBuildings="4" matchColor="true">
          <Animal type="Square" color="Blue"/><Note/><Animal type="Star" color="Yellow"/>
        </HereToThereLevel>
        <HereToThereLevel name="HttShape" difficulty="Easy" numBuildings="4" matchColor="false">
          <Animal type="Square" color="Blue"/><Animal type="Star" color="Yellow"/>
        </HereToThereLevel>
        <HereToThereLevel name="HttAlone" difficulty="Easy" numBuildings="0">
          <Animal type="Circle" color="Green"/><Animal type="Circle" color="Green"/><Animal type="Star" color="Blue"/>
        </HereToThereLevel>)");
    const HereToThereLevel* colour = Level("HttColour");
    const HereToThereLevel* shape = Level("HttShape");
    const HereToThereLevel* alone = Level("HttAlone");
    ASSERT_TRUE(colour != nullptr && shape != nullptr && alone != nullptr);

    const std::vector<HereToThereMark> animals = {{HereToThereObjectShape_Square, HereToThereObjectColor_Blue},
                                                  {HereToThereObjectShape_Star, HereToThereObjectColor_Yellow}};
    EXPECT_EQ(colour->animals, animals);
    EXPECT_TRUE(colour->matchColor);
    EXPECT_EQ(colour->numBuildings, 4);
    EXPECT_EQ(colour->DecoyCount(), 2u);
    // Matching by colour: only green and purple marks, of every shape.
    const std::vector<HereToThereMark> byColour = colour->FreeDecoyMarks();
    EXPECT_EQ(byColour.size(), 8u);
    for (const HereToThereMark& mark : byColour)
        EXPECT_TRUE(mark.color == HereToThereObjectColor_Green || mark.color == HereToThereObjectColor_Purple);
    // Matching both: anything but the animals' own marks, so a yellow square or a blue circle too.
    const std::vector<HereToThereMark> byBoth = shape->FreeDecoyMarks();
    EXPECT_EQ(byBoth.size(), 14u);
    for (const HereToThereMark& mark : animals)
        EXPECT_EQ(std::count(byBoth.begin(), byBoth.end(), mark), 0);
    EXPECT_EQ(std::count(byBoth.begin(), byBoth.end(),
                         HereToThereMark{HereToThereObjectShape_Square, HereToThereObjectColor_Yellow}),
              1);
    // No street at all: the three animals' own houses and no decoy.
    EXPECT_EQ(alone->DecoyCount(), 0u);
    EXPECT_TRUE(alone->Validate().empty());
    EXPECT_TRUE(HereToThereLevel::Matches(alone->animals[0], alone->animals[1]));
    EXPECT_FALSE(HereToThereLevel::Matches(alone->animals[0], alone->animals[2]));
}

} // namespace

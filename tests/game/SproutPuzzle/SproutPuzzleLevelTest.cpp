#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <set>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

using SproutPuzzleLevelTest = LevelReaderTest<SproutPuzzleLevelResourceFactory>;

TEST_F(SproutPuzzleLevelTest, OnlyAKnownPictureInACutThePiecesAreDrawnForIsFiled)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        const char* logged; // null when the level is filed
    };
    const Case cases[] = {
        {"Four", R"(picture="Giraffes" columns="2" rows="2")", nullptr},
        {"Six", R"(picture="Lions" columns="3" rows="2")", nullptr},
        {"Nine", R"(picture="Trees" columns="3" rows="3" shuffle="no")", nullptr},
        {"NoPicture", R"(columns="2" rows="2")", "has no \"picture\""},
        {"PictureInOtherCase", R"(picture="giraffes" columns="2" rows="2")", "has no \"picture\""},
        {"PictureWithSpace", R"(picture="Pond " columns="2" rows="2")", "has no \"picture\""},
        {"NoCut", R"(picture="Pond")", "is cut 0 by 0, not 2 by 2, 3 by 2 or 3 by 3"},
        {"Turned", R"(picture="Pond" columns="2" rows="3")", "is cut 2 by 3"},
        {"Huge", R"(picture="Pond" columns="100000" rows="100000")", "is cut 100000 by 100000"},
        {"Negative", R"(picture="Pond" columns="-3" rows="-3")", "is cut -3 by -3"},
        {"NotANumber", R"(picture="Pond" columns="three" rows="3")", "is cut 0 by 3"},
    };
    ExpectFiledUnlessLogged(
        L"Jigsaw", cases,
        [](const Case& c)
        { return std::pair("difficulty=\"Medium\" " + std::string(c.attributes), "<Piece column=\"9\"/>"); });
    const SproutPuzzleLevel* six = Level("Six");
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->PictureName(), "Lions");
    EXPECT_EQ(six->CutName(), "3x2");
    EXPECT_EQ(six->Pieces(), 6);
    ASSERT_NE(Level("NoPicture"), nullptr);
    EXPECT_EQ(Level("NoPicture")->PictureName(), "");
}

} // namespace

#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using SproutPuzzleLevelTest = LevelReaderTest<SproutPuzzleLevelResourceFactory>;

TEST_F(SproutPuzzleLevelTest, OnlyAKnownPictureInACutThePiecesAreDrawnForIsFiled)
{
    // A child element says nothing about the level.
    const char* const piece = "<Piece column=\"9\"/>";
    const sLevelCase cases[] = {
        {"Four", R"(picture="Giraffes" columns="2" rows="2")", piece, nullptr},
        {"Six", R"(picture="Lions" columns="3" rows="2")", piece, nullptr},
        {"Nine", R"(picture="Trees" columns="3" rows="3" shuffle="no")", piece, nullptr},
        {"NoPicture", R"(columns="2" rows="2")", piece, "has no \"picture\""},
        {"PictureInOtherCase", R"(picture="giraffes" columns="2" rows="2")", piece, "has no \"picture\""},
        {"PictureWithSpace", R"(picture="Pond " columns="2" rows="2")", piece, "has no \"picture\""},
        {"NoCut", R"(picture="Pond")", piece, "is cut \"columns\" 0 by \"rows\" 0, not 2 by 2, 3 by 2 or 3 by 3"},
        {"Turned", R"(picture="Pond" columns="2" rows="3")", piece, "is cut \"columns\" 2 by \"rows\" 3"},
        {"Huge", R"(picture="Pond" columns="100000" rows="100000")", piece,
         "is cut \"columns\" 100000 by \"rows\" 100000"},
        {"Negative", R"(picture="Pond" columns="-3" rows="-3")", piece, "is cut \"columns\" -3 by \"rows\" -3"},
        {"NotANumber", R"(picture="Pond" columns="three" rows="3")", piece, "is cut \"columns\" 0 by \"rows\" 3"},
    };
    ExpectLevels(L"Jigsaw", cases, "Medium");
    const SproutPuzzleLevel* six = Level("Six");
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->PictureName(), "Lions");
    EXPECT_EQ(six->CutName(), "3x2");
    EXPECT_EQ(six->Pieces(), 6);
    ASSERT_NE(Level("NoPicture"), nullptr);
    EXPECT_EQ(Level("NoPicture")->PictureName(), "");
}

} // namespace

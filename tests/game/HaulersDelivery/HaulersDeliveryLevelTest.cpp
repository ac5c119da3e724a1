#include "game/HaulersDelivery/HaulersDeliveryLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;
using Strata::Label;

namespace
{

using Patterns = std::vector<std::vector<int32_t>>;

using HaulersDeliveryLevelTest = LevelReaderTest<HaulersDeliveryLevelResourceFactory>;

TEST_F(HaulersDeliveryLevelTest, LettersAreReadInOrderAndOnlyPlayableLevelsAreFiled)
{
    const std::string seventeen = []
    {
        std::string s;
        for (int i = 0; i < 17; ++i)
            s += "<Pattern order=\"AB\"/>";
        return s;
    }();
    const sLetterPatternCase cases[] = {
        {"HdTwo",
         "Easy",
         R"(<Pattern order="AB"/><Pattern order="A, B, C"/><Note order="C"/>)",
         {{0, 1}, {0, 1, 2}},
         nullptr},
        {"HdMixed", "Hard", R"(<Pattern order="aBc"/><Pattern order="ABD"/>)", {{0, 1, 2}, {0, 1}}, nullptr},
        {"HdNone", "Easy", "<Note/>", {}, "has no \"Pattern\""},
        {"HdEmpty",
         "Medium",
         R"(<Pattern order="AB"/><Pattern order="xyz, "/>)",
         {{0, 1}, {}},
         "has an empty pattern (number 2)"},
        {"HdNoOrder", "Medium", "<Pattern/>", {{}}, "has an empty pattern (number 1)"},
        {"HdLong", "Medium", R"(<Pattern order="ABCABCABCABCA"/>)", {{0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1}}, "letters"},
        {"HdMany", "Medium", seventeen.c_str(), Patterns(17, {0, 1}), "has more than 16 \"Pattern\""},
        {"HdBadDifficulty", "easy!", R"(<Pattern order="A"/>)", {{0}}, "has no known difficulty"},
    };
    ExpectLetterPatterns(L"Cargo", cases);

    // Filed only under its own difficulty.
    GetLevelManager().difficulty = GameModeDifficulty_Medium;
    EXPECT_FALSE(GetLevelManager().getLevelForGameModeType(GameModeType_HaulersDelivery));
    GetLevelManager().difficulty = GameModeDifficulty_Hard;
    EXPECT_EQ(GetLevelManager().getLevelForGameModeType(GameModeType_HaulersDelivery), Label("HdMixed"));
}

TEST_F(HaulersDeliveryLevelTest, TheTrainContinuesThePatternAndTheVoiceNamesTheMismatch)
{
    // Cart letters 0 to 5 (the last the empty cart's wish); letters past the sixth are never used.
    const struct
    {
        std::vector<int32_t> pattern;
        std::vector<int32_t> carts;
    } trains[] = {{{0, 1}, {0, 1, 0, 1, 0, 1}},
                  {{0, 1, 2}, {0, 1, 2, 0, 1, 2}},
                  {{0}, {0, 0, 0, 0, 0, 0}},
                  {{0, 0, 1}, {0, 0, 1, 0, 0, 1}},
                  {{0, 1, 2, 0, 1, 2, 1}, {0, 1, 2, 0, 1, 2}}};
    for (const auto& train : trains)
        for (size_t cart = 0; cart < train.carts.size(); ++cart)
            EXPECT_EQ(HaulersDeliveryLevel::LetterOfCart(train.pattern, cart), train.carts[cart]) << cart;
    EXPECT_EQ(HaulersDeliveryLevel::LetterOfCart({}, 3), -1);

    const struct
    {
        HaulersDeliveryType wanted, given;
        eCargoMismatch mismatch;
    } answers[] = {{HaulersDeliveryType_ConeRed, HaulersDeliveryType_ConeRed, CargoMismatch_None},
                   {HaulersDeliveryType_ConeRed, HaulersDeliveryType_ConeOrange, CargoMismatch_Color},
                   {HaulersDeliveryType_ConeRed, HaulersDeliveryType_LogRed, CargoMismatch_Type},
                   {HaulersDeliveryType_ConeRed, HaulersDeliveryType_CementBlue, CargoMismatch_Both},
                   {HaulersDeliveryType_Plant, HaulersDeliveryType_Log, CargoMismatch_Type},
                   {HaulersDeliveryType_Bricks, HaulersDeliveryType_BricksBlue, CargoMismatch_Color},
                   {HaulersDeliveryType_LogYellow, HaulersDeliveryType_ConeYellow, CargoMismatch_Type}};
    for (const auto& a : answers)
        EXPECT_EQ(CompareCargo(a.wanted, a.given), a.mismatch) << a.wanted << " " << a.given;
}

TEST_F(HaulersDeliveryLevelTest, ShippedLevelsAreFiledAtEachDifficultyAndAllPlayable)
{
    ShippedLevels();
}

} // namespace

#include "game/StreetSigns/StreetSignLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using Traits = std::vector<StreetSignTrait>;
constexpr StreetSignTrait C = StreetSignTrait_Color;
constexpr StreetSignTrait S = StreetSignTrait_Shape;

using StreetSignLevelTest = LevelReaderTest<StreetSignLevelResourceFactory>;

TEST_F(StreetSignLevelTest, AsksAreReadInOrderAndOnlyPlayableLevelsAreFiled)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        const char* children;
        int32_t signs;
        Traits read;
        const char* logged; // null when the level is filed
    };
    const Case cases[] = {
        {"SsColors",
         R"(difficulty="Easy" signs="3")",
         R"(<Ask trait="Color"/><Note/><Ask trait="color"/>)",
         3,
         {C, C},
         nullptr},
        {"SsMixed",
         R"(difficulty="Hard" signs="5")",
         R"(<Ask trait="Shape"/><Ask trait="COLOR"/>)",
         5,
         {S, C},
         nullptr},
        {"SsNoAsk", R"(difficulty="Easy" signs="3")", "<Note/>", 3, {}, "has no \"Ask\""},
        {"SsOneSign", R"(difficulty="Easy" signs="1")", R"(<Ask trait="Color"/>)", 1, {C}, "\"signs\" 1, not 2 to 5"},
        {"SsSixSigns", R"(difficulty="Medium" signs="6")", R"(<Ask trait="Color"/>)", 6, {C}, "\"signs\" 6"},
        {"SsNoChoiceLeft",
         R"(difficulty="Medium" signs="2")",
         R"(<Ask trait="Color"/><Ask trait="Shape"/>)",
         2,
         {C, S},
         "has 2 \"Ask\" for \"signs\" 2"},
        // Reading stops one past what five signs allow, so a long list is refused whole.
        {"SsTooMany",
         R"(difficulty="Medium" signs="5")",
         R"(<Ask trait="Color"/><Ask trait="Color"/><Ask trait="Color"/><Ask trait="Color"/><Ask trait="Color"/>
            <Ask trait="Color"/><Ask trait="Color"/>)",
         5,
         {C, C, C, C, C},
         "has 5 \"Ask\" for \"signs\" 5"},
        {"SsBadTrait",
         R"(difficulty="Hard" signs="4")",
         R"(<Ask trait="Color"/><Ask trait="Size"/>)",
         4,
         {C, StreetSignTrait_None},
         "no known trait (number 2"},
        {"SsBadDifficulty",
         R"(difficulty="Tricky" signs="3")",
         R"(<Ask trait="Color"/>)",
         3,
         {C},
         "has no known difficulty"},
    };
    ExpectFiledUnlessLogged(
        L"Signs", cases, [](const Case& c) { return std::pair(std::string(c.attributes), c.children); },
        [](const Case& c, const StreetSignLevel& level)
        {
            EXPECT_EQ(level.signs, c.signs);
            EXPECT_EQ(level.asks, c.read);
            // A damaged level draws no round, so nothing can be shown from it.
            EXPECT_EQ(level.MakeRound().signs.empty(), !level.Validate().empty());
        });
}

TEST_F(StreetSignLevelTest, EveryRoundHasExactlyOneSignForEachAskAndNeverAsksForOneTwice)
{
    StreetSignLevel level;
    for (int32_t signs = 2; signs <= kStreetSignMaxSigns; ++signs)
    {
        level.signs = signs;
        level.asks.assign(static_cast<size_t>(signs - 1), C);
        for (size_t i = 1; i < level.asks.size(); i += 2)
            level.asks[i] = S;
        for (int draw = 0; draw < 40; ++draw)
        {
            const sStreetSignRound round = level.MakeRound();
            ASSERT_EQ(round.signs.size(), static_cast<size_t>(signs));
            ASSERT_EQ(round.asks.size(), level.asks.size());
            std::set<int> answered;
            for (size_t a = 0; a < round.asks.size(); ++a)
            {
                EXPECT_EQ(round.asks[a].trait, level.asks[a]);
                int matches = 0;
                for (size_t s = 0; s < round.signs.size(); ++s)
                    if (round.asks[a].Matches(round.signs[s]))
                    {
                        ++matches;
                        EXPECT_TRUE(answered.insert(static_cast<int>(s)).second) << "sign " << s << " asked twice";
                    }
                EXPECT_EQ(matches, 1) << signs << " signs, ask " << a;
            }
        }
    }
    // An ask of no trait, or a value out of the tables, matches nothing.
    const sStreetSign red{StreetSignColor_Red, StreetSignShape_Square};
    EXPECT_FALSE((sStreetSignAsk{}).Matches(red));
    EXPECT_FALSE((sStreetSignAsk{C, -1}).Matches(sStreetSign{}));
    EXPECT_TRUE(sStreetSignAsk::Of(red, S).Matches(red));
    EXPECT_FALSE(
        (sStreetSignAsk{S, StreetSignColor_Red}).Matches(sStreetSign{StreetSignColor_Red, StreetSignShape_Octagon}));
}

} // namespace

#include "scene/MeterNodes.h"

#include "scene/TextSpriteNodes.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// A fill (red 40) and a track (red 80) of 10 x 4, cells of 10 x 6, an empty list and a font.
constexpr char kMeterResources[] = R"(
<testimagelist name="Bar"><frame w="10" h="4"/><frame w="10" h="4"/></testimagelist>
<testimagelist name="Cells"><frame w="10" h="6"/><frame w="10" h="6"/></testimagelist>
<testimagelist name="None"></testimagelist>
<testfont name="Mono"/>
)";

constexpr uint8_t kFull = 40;
constexpr uint8_t kEmpty = 80;

class MeterTest : public NodeTest
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        ASSERT_EQ("", Load(L"Meters", kMeterResources));
    }

    // The red of each pixel along the bar's axis through (x, y), stepping by (dx, dy): 'F' full, 'E'
    // empty, '.' nothing, '?' anything else.
    static std::string Strip(const Target& target, int x, int y, int dx, int dy, int count)
    {
        std::string strip;
        for (int i = 0; i < count; ++i, x += dx, y += dy)
        {
            const Color32 pixel = target.At(x, y);
            strip += pixel.a == 0 ? '.' : pixel.r == kFull ? 'F' : pixel.r == kEmpty ? 'E' : '?';
        }
        return strip;
    }
};

const char* const kMeterElements[] = {
    R"(<meterbarnode images="Bar" size="20"/>)",
    R"(<discretemeterbarnode images="Cells" size="4"/>)",
    R"(<fractiontextmeternode font="Mono"/>)",
};

} // namespace

TEST_F(MeterTest, EveryMeterKeepsItsValueBetweenZeroAndItsMaximum)
{
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    struct Step
    {
        float max;
        float value;
        float expectedMax;
        float expectedValue;
        const char* text;
    };
    // Each row sets the maximum, then the value, on the meter as it was left by the row before.
    const Step steps[] = {
        {10.0f, -3.0f, 10.0f, 0.0f, "0/10"}, {10.0f, 12.0f, 10.0f, 10.0f, "10/10"}, {10.0f, 7.0f, 10.0f, 7.0f, "7/10"},
        {4.0f, 7.0f, 4.0f, 4.0f, "4/4"},     {10.0f, 2.9f, 10.0f, 2.9f, "2/10"},    {-5.0f, 3.0f, 0.0f, 0.0f, "0/0"},
        {nan, nan, 0.0f, 0.0f, "0/0"},       {inf, 1.0f, 0.0f, 0.0f, "0/0"},        {6.0f, inf, 6.0f, 0.0f, "0/6"},
    };
    for (const char* element : kMeterElements)
    {
        SceneNode* node = Make(element);
        auto* meter = dynamic_cast<IMeter*>(node);
        ASSERT_NE(nullptr, meter) << element;
        auto* fraction = dynamic_cast<FractionTextMeterNode*>(node);
        for (const Step& step : steps)
        {
            meter->SetMeterMax(step.max);
            meter->SetMeterValue(step.value);
            EXPECT_EQ(step.expectedMax, meter->GetMeterMax()) << element << " max " << step.max;
            EXPECT_FLOAT_EQ(step.expectedValue, meter->GetMeterValue()) << element << " value " << step.value;
            if (fraction != nullptr)
            {
                const std::wstring expected(step.text, step.text + std::strlen(step.text));
                EXPECT_TRUE(fraction->GetTextNode()->GetText() == expected) << step.text;
                // The node takes its text's size: six pixels a character in the test font.
                EXPECT_EQ(6.0f * static_cast<float>(expected.size()), node->GetWidth()) << step.text;
            }
        }
    }
}

TEST_F(MeterTest, TheLayoutSetsTheMaximumBeforeTheStartValue)
{
    auto* bar = Make<MeterBarNode>(R"(<meterbarnode images="Bar" max="10" start="7"/>)");
    auto* text = Make<FractionTextMeterNode>(R"(<fractiontextmeternode font="Mono" max="8" start="9.5"/>)");
    auto* unbounded = Make<DiscreteMeterBarNode>(R"(<discretemeterbarnode images="Cells" start="3"/>)");
    ASSERT_TRUE(bar && text && unbounded);
    EXPECT_EQ(7.0f, bar->GetMeterValue());
    EXPECT_TRUE(text->GetTextNode()->GetText() == L"8/8");
    // Without "max" a meter shows nothing.
    EXPECT_EQ(0.0f, unbounded->GetMeterValue());
}

TEST_F(MeterTest, SizesComeFromTheImagesTheSizeAndTheCells)
{
    struct Case
    {
        const char* element;
        float width;
        float height;
    };
    const Case cases[] = {
        {R"(<meterbarnode images="Bar"/>)", 10, 4},
        {R"(<meterbarnode images="Bar" size="100" direction="rightToLeft"/>)", 100, 4},
        {R"(<meterbarnode images="Bar" direction="topToBottom"/>)", 10, 4},
        {R"(<meterbarnode images="Bar" size="30" direction="bottomToTop"/>)", 10, 30},
        // Direction words are exact: any other spelling is left to right.
        {R"(<meterbarnode images="Bar" size="30" direction="BottomToTop"/>)", 30, 4},
        {R"(<meterbarnode images="Bar" size="999999999"/>)", kMaxMeterLength, 4},
        {R"(<meterbarnode size="30"/>)", 0, 0},
        {R"(<meterbarnode images="None" size="30"/>)", 0, 0},
        {R"(<discretemeterbarnode images="Cells" size="5" offset="2"/>)", 58, 6},
        {R"(<discretemeterbarnode images="Cells" size="5" offset="2" direction="topToBottom"/>)", 10, 38},
        {R"(<discretemeterbarnode images="Cells" size="-4" offset="-2"/>)", 0, 6},
        {R"(<discretemeterbarnode images="Cells" size="100000"/>)", 10 * kMaxMeterCells, 6},
        {R"(<discretemeterbarnode images="None" size="3"/>)", 0, 0},
        {R"(<discretemeterbarnode size="3"/>)", 0, 0},
    };
    for (const Case& c : cases)
    {
        SceneNode* node = Make(c.element);
        ASSERT_NE(nullptr, node) << c.element;
        EXPECT_EQ(c.width, node->GetWidth()) << c.element;
        EXPECT_EQ(c.height, node->GetHeight()) << c.element;
    }
}

TEST_F(MeterTest, ContinuousBarsFillFromTheirStartingEdge)
{
    struct Case
    {
        const char* direction;
        bool horizontal;
        const char* strip;
    };
    // A 20-pixel bar at 0.5 of 1, sampled every 2 pixels along its axis.
    const Case cases[] = {
        {"leftToRight", true, "FFFFFEEEEE"},
        {"rightToLeft", true, "EEEEEFFFFF"},
        {"topToBottom", false, "FFFFFEEEEE"},
        {"bottomToTop", false, "EEEEEFFFFF"},
    };
    for (const Case& c : cases)
    {
        auto* bar = Make<MeterBarNode>(std::string(R"(<meterbarnode images="Bar" size="20" max="1" start="0.5" )") +
                                       "direction=\"" + c.direction + "\"/>");
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(10, bar->GetFilledLength()) << c.direction;
        Target target(32, 32);
        bar->DrawScene();
        EXPECT_EQ(c.strip, c.horizontal ? Strip(target, 0, 1, 2, 0, 10) : Strip(target, 1, 0, 0, 2, 10)) << c.direction;
        EXPECT_EQ(c.horizontal ? Rect<int>(0, 0, 20, 4) : Rect<int>(0, 0, 10, 20), target.Drawn()) << c.direction;
    }
}

TEST_F(MeterTest, DiscreteBarsShowWholeFullCellsAtTheirStartingEnd)
{
    struct Case
    {
        const char* attributes;
        const char* strip;
    };
    // Five 10-pixel cells 2 apart, sampled at the middle of each cell and of each gap.
    const Case cases[] = {
        {R"(max="10" start="6.5")", "F.F.F.E.E"},
        {R"(max="10" start="6.5" direction="rightToLeft")", "E.E.F.F.F"},
        {R"(max="10" start="10")", "F.F.F.F.F"},
        {R"(max="10" start="1.9")", "E.E.E.E.E"},
        // No maximum: every cell empty, nothing divided by zero.
        {R"(start="3")", "E.E.E.E.E"},
    };
    for (const Case& c : cases)
    {
        auto* meter = Make<DiscreteMeterBarNode>(
            std::string(R"(<discretemeterbarnode images="Cells" size="5" offset="2" )") + c.attributes + "/>");
        ASSERT_NE(nullptr, meter);
        Target target(64, 8);
        meter->DrawScene();
        EXPECT_EQ(c.strip, Strip(target, 5, 3, 6, 0, 9)) << c.attributes;
    }
}

TEST_F(MeterTest, AMeterWithoutImagesOrMaximumOrVisibilityDrawsNoFill)
{
    for (const char* element : {R"(<meterbarnode size="20" max="1" start="1"/>)",
                                R"(<meterbarnode images="None" size="20" max="1" start="1"/>)",
                                R"(<discretemeterbarnode images="None" size="3" max="1" start="1"/>)",
                                R"(<meterbarnode images="Bar" size="20" max="1" start="1" visible="false"/>)"})
    {
        SceneNode* node = Make(element);
        ASSERT_NE(nullptr, node);
        Target target(32, 8);
        node->DrawScene();
        EXPECT_TRUE(target.Drawn().isEmpty()) << element;
    }
    auto* unbounded = Make<MeterBarNode>(R"(<meterbarnode images="Bar" size="20" start="5"/>)");
    ASSERT_NE(nullptr, unbounded);
    Target target(32, 8);
    unbounded->DrawScene();
    EXPECT_EQ(0, unbounded->GetFilledLength());
    EXPECT_EQ("EEEEEEEEEE", Strip(target, 0, 1, 2, 0, 10));
}

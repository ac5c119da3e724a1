#include "scene/TextSpriteNodes.h"

#include "framework/ValueResources.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// The test font draws every character as a 6 x 10 box.
constexpr char kText[] = R"(
<testfont name="Mono"/>
<string name="Greeting" value="Hi there"/>
<string name="Tricky" value="a&lt;b"/>
)";

class TextNodeTest : public NodeTest
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        CreateConstantResourceFactories();
        ASSERT_EQ("", Load(L"Text", kText));
    }
};

std::string Size(const SceneNode* node)
{
    return std::to_string(static_cast<int>(node->GetWidth())) + "x" +
           std::to_string(static_cast<int>(node->GetHeight()));
}

// The columns drawn on row y, as '#' and '.' from column 0.
std::string Row(const Target& target, int y, int width)
{
    std::string row;
    for (int x = 0; x < width; ++x)
        row += target.At(x, y).a != 0 ? '#' : '.';
    return row;
}

} // namespace

TEST_F(TextNodeTest, SizesItselfToTheText)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"(<textspritenode font="Mono" text="Hello"/>)", "30x10"},
        {R"(<textspritenode font="Mono" text="aaa bbb ccc" width="40"/>)", "24x30"},
        {R"(<textspritenode text="Hello"/>)", "0x0"},
        {R"(<textspritenode font="Mono"/>)", "0x0"},
        {R"(<textspritenode font="Mono" text="x" textResource="Greeting"/>)", "48x10"},
        {R"(<textspritenode font="Mono" textResource="Nope"/>)", "90x10"},
        // A negative width does not wrap.
        {R"(<textspritenode font="Mono" text="aaa bbb" width="-5"/>)", "42x10"},
        {R"(<styledtextspritenode font="Mono" text="ab&lt;style textMode=&quot;outline&quot;&gt;cd&lt;/style&gt;"/>)",
         "24x10"},
        // A styled node of no width never wraps.
        {R"(<styledtextspritenode font="Mono" text="aaa bbb ccc ddd"/>)", "90x10"},
        {R"(<styledtextspritenode font="Mono" text="aaa bbb ccc" width="40"/>)", "18x30"},
        // A styled node escapes its text resource.
        {R"(<styledtextspritenode font="Mono" textResource="Tricky"/>)", "18x10"},
        {R"(<styledtextspritenode font="Mono" textResource="Nope"/>)", "90x10"},
    };
    for (const auto& [element, size] : cases)
    {
        SceneNode* node = Make(element);
        ASSERT_NE(nullptr, node) << element;
        EXPECT_EQ(size, Size(node)) << element;
    }
}

TEST_F(TextNodeTest, TextResourcesAndSetTextTakeTheTextLiterally)
{
    auto* plain = Make<TextSpriteNode>(R"(<textspritenode font="Mono" textResource="Nope"/>)");
    auto* styled = Make<StyledTextSpriteNode>(R"(<styledtextspritenode font="Mono" textResource="Nope"/>)");
    ASSERT_TRUE(plain && styled);
    EXPECT_EQ(L"Missing: \"Nope\"", plain->GetText());
    EXPECT_EQ(L"Missing: &quot;Nope&quot;", styled->GetText()) << "escaped like any other SetText";

    styled->SetText(L"<b>&'");
    EXPECT_EQ(L"&lt;b&gt;&amp;'", styled->GetText());
    EXPECT_EQ("30x10", Size(styled)) << "shown literally: five characters";
    EXPECT_EQ(L"", encodeForXML(nullptr));
}

TEST_F(TextNodeTest, WidthChangesMeasureAgain)
{
    auto* plain = Make<TextSpriteNode>(R"(<textspritenode font="Mono" text="aaa bbb"/>)");
    auto* styled = Make<StyledTextSpriteNode>(R"(<styledtextspritenode font="Mono" text="aaa bbb"/>)");
    ASSERT_TRUE(plain && styled);
    plain->SetTextWidth(30.0f);
    styled->SetTextWidth(30.0f);
    EXPECT_EQ("24x20", Size(plain)) << "the font counts the blank that ends a line";
    EXPECT_EQ("18x20", Size(styled));
    plain->SetFont(nullptr);
    EXPECT_EQ("0x0", Size(plain));
}

// Two lines "aaaa" and "b" in a node at x 10: the second line shows where each justification anchors.
// The plain node is 30 wide (its font counts the blank after "aaaa"), the styled one 24.
TEST_F(TextNodeTest, LinesAlignInsideTheNode)
{
    struct Case
    {
        const char* justify;
        const char* plainSecondLine;
        const char* styledSecondLine;
    };
    const Case cases[] = {
        {"left", "..........######........................", "..........######........................"},
        {"center", "......................######............", "...................######..............."},
        {"right", "..................................######", "............................######......"},
        {"middle", "..........######........................", "..........######........................"},
    };
    for (const Case& c : cases)
    {
        for (const bool styled : {false, true})
        {
            SCOPED_TRACE(std::string(c.justify) + (styled ? " styled" : " plain"));
            SceneNode* node =
                Make(std::string(styled ? "<styledtextspritenode" : "<textspritenode") +
                     R"( font="Mono" text="aaaa b" width="25" x="10" textJustify=")" + c.justify + "\"/>");
            ASSERT_NE(nullptr, node);
            ASSERT_EQ(styled ? "24x20" : "30x20", Size(node));
            Target target(40, 30);
            node->DrawScene();
            EXPECT_EQ("..........########################......", Row(target, 5, 40));
            EXPECT_EQ(styled ? c.styledSecondLine : c.plainSecondLine, Row(target, 15, 40));
        }
    }
}

TEST_F(TextNodeTest, DrawingUsesTheNodesColourModeAndPixelSnapping)
{
    auto* node = Make<TextSpriteNode>(
        R"(<textspritenode font="Mono" text="a" x="4.6" y="4.4" noBlur="true" textMode="outline" color="#FF0000"/>)");
    ASSERT_NE(nullptr, node);
    Target target(20, 20);
    node->DrawScene();
    const Color32 inside = target.At(7, 8);
    EXPECT_EQ(255, inside.r);
    EXPECT_EQ(0, inside.g) << "the glyph in the node's colour";
    const Rect<int> drawn = target.Drawn();
    EXPECT_LT(drawn.x, 5) << "the outline reaches past the glyph snapped to x 5";
    const Color32 ring = target.At(drawn.x, 8);
    EXPECT_EQ(255, ring.g) << "an outline without bgColor is white";

    node->LocalSetVisible(false);
    Target hidden(20, 20);
    node->DrawScene();
    EXPECT_EQ(Rect<int>(), hidden.Drawn());
}

TEST_F(TextNodeTest, StyledRunsKeepTheirColoursAndTakeTheNodesAlpha)
{
    auto* node = Make<StyledTextSpriteNode>(
        R"(<styledtextspritenode font="Mono" color="#0000FF" text="a&lt;style color=&quot;#00FF00&quot;&gt;b&lt;/style&gt;"/>)");
    ASSERT_NE(nullptr, node);
    node->LocalSetAlpha(0.5f);
    Target target(20, 20);
    node->DrawScene();
    const Color32 base = target.At(2, 5);
    const Color32 run = target.At(8, 5);
    EXPECT_GT(base.b, 100);
    EXPECT_EQ(0, base.g);
    EXPECT_GT(run.g, 100);
    EXPECT_EQ(0, run.b);
    EXPECT_NEAR(128, run.g, 2) << "half transparent over black";
}

#include "scene/ShapeNodes.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// Nine 2 x 2 slices, slice i of red FrameRed(i).
constexpr char kSlices[] = R"(
<testimagelist name="Panel">
  <frame w="2" h="2"/><frame w="2" h="2"/><frame w="2" h="2"/>
  <frame w="2" h="2"/><frame w="2" h="2"/><frame w="2" h="2"/>
  <frame w="2" h="2"/><frame w="2" h="2"/><frame w="2" h="2"/>
</testimagelist>
)";

class ShapeNodeTest : public NodeTest
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        ASSERT_EQ("", Load(L"Shapes", kSlices));
    }
};

// A 16 x 16 drawing as rows of '#' (drawn) and '.'.
std::string Picture(const Target& target)
{
    std::string rows;
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 16; ++x)
            rows += target.At(x, y).a != 0 ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

} // namespace

TEST_F(ShapeNodeTest, DrawsItsOwnBoxWhateverItsScaleAndTurn)
{
    struct Case
    {
        const char* element;
        Rect<int> drawn;
        // Points that must be drawn and points that must not.
        std::vector<Vector2<int>> inside;
        std::vector<Vector2<int>> outside;
    };
    const Case cases[] = {
        {R"(<rectnode x="2" y="3" width="4" height="2" scaleX="3" orientation="45"/>)",
         Rect<int>(2, 3, 4, 2),
         {{2, 3}, {5, 4}},
         {}},
        {R"(<rectnode x="1" y="1" width="6" height="5" filled="false"/>)",
         Rect<int>(1, 1, 6, 5),
         {{1, 1}, {6, 5}, {3, 1}, {1, 3}},
         {{3, 3}, {4, 2}}},
        {R"(<rectnode x="2" y="2"/>)", Rect<int>(), {}, {}},
        {R"(<rectnode width="4" height="4" visible="false"/>)", Rect<int>(), {}, {}},
        // Ellipses are drawn as polygons whose far edges are inclusive, one pixel past the box.
        {R"(<ellipsenode x="2" y="2" width="12" height="8"/>)",
         Rect<int>(2, 2, 13, 9),
         {{8, 6}, {3, 6}},
         {{2, 2}, {13, 9}}},
        {R"(<ellipsenode x="2" y="2" width="12" height="8" filled="false"/>)",
         Rect<int>(2, 2, 13, 9),
         {{2, 6}},
         {{8, 6}, {2, 2}}},
        {R"(<backgroundnode images="Panel" x="1" y="2" width="9" height="7"/>)",
         Rect<int>(1, 2, 9, 7),
         {{1, 2}, {5, 5}, {9, 8}},
         {}},
        {R"(<backgroundnode x="1" y="2" width="9" height="7"/>)", Rect<int>(), {}, {}},
    };
    for (const Case& c : cases)
    {
        SceneNode* node = Make(c.element);
        ASSERT_NE(nullptr, node) << c.element;
        Target target(16, 16);
        node->DrawScene();
        SCOPED_TRACE(std::string(c.element) + "\n" + Picture(target));
        EXPECT_EQ(c.drawn, target.Drawn());
        for (const Vector2<int>& p : c.inside)
            EXPECT_NE(0, target.At(p.x, p.y).a) << p.x << "," << p.y;
        for (const Vector2<int>& p : c.outside)
            EXPECT_EQ(0, target.At(p.x, p.y).a) << p.x << "," << p.y;
    }
}

TEST_F(ShapeNodeTest, ColourAndAlpha)
{
    auto* rect = Make<RectNode>(R"(<rectnode width="2" height="2" color="#00FF00"/>)");
    auto* panel = Make<BackgroundNode>(R"(<backgroundnode images="Panel" width="6" height="6" alpha="0.5"/>)");
    ASSERT_TRUE(rect && panel);
    {
        Target target(8, 8);
        rect->DrawScene();
        EXPECT_EQ(255, target.At(0, 0).g);
        EXPECT_EQ(0, target.At(0, 0).r) << "a rectangle is drawn in the node's colour";
    }
    Target target(8, 8);
    panel->DrawScene();
    // Over black, half of each slice's own red: the corner slices 0 and 8, the centre slice 4.
    EXPECT_NEAR(FrameRed(0) / 2, target.At(0, 0).r, 2);
    EXPECT_NEAR(FrameRed(4) / 2, target.At(3, 3).r, 2);
    EXPECT_NEAR(FrameRed(8) / 2, target.At(5, 5).r, 2);
    EXPECT_FALSE(panel->CanFocus());
}

TEST_F(ShapeNodeTest, AMissingPanelListIsReportedOnceAndKeepsItsSize)
{
    ::testing::internal::CaptureStderr();
    auto* first = Make<BackgroundNode>(R"(<backgroundnode images="NoPanel" width="9" height="7"/>)");
    Make<BackgroundNode>(R"(<backgroundnode images="NoPanel"/>)");
    EXPECT_EQ("backgroundnode: image list \"NoPanel\" not found\n",
              LinesWith(::testing::internal::GetCapturedStderr(), "not found"));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(9.0f, first->GetWidth());
    EXPECT_EQ(nullptr, first->GetImages());
}

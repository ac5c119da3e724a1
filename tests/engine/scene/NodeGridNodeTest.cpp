#include "scene/NodeGridNode.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// Each child's local location, then the grid's size: "x,y x,y | WxH".
std::string Placement(SceneNode* grid)
{
    std::string text;
    const auto number = [](float value) { return std::to_string(static_cast<int>(value)); };
    for (const SceneNode* child : grid->GetChildren())
        text += number(child->LocalGetLocation().x) + "," + number(child->LocalGetLocation().y) + " ";
    return text + "| " + number(grid->GetWidth()) + "x" + number(grid->GetHeight());
}

std::string Cell(int width, int height, const char* extra = "")
{
    return "<scenenode width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" " + extra +
           "/>";
}

struct GridCase
{
    const char* name;
    const char* attributes;
    std::string children;
    const char* layout;
};

class NodeGridTest : public NodeTest, public ::testing::WithParamInterface<GridCase>
{
};

} // namespace

TEST_P(NodeGridTest, LaysOutTheChildrenOfALayout)
{
    SceneNode* grid = Make<NodeGridNode>(std::string("<nodegridnode ") + GetParam().attributes + ">" +
                                         GetParam().children + "</nodegridnode>");
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(GetParam().layout, Placement(grid));
}

INSTANTIATE_TEST_SUITE_P(
    Grids, NodeGridTest,
    ::testing::Values(
        GridCase{"Empty", "", "", "| 0x0"},
        GridCase{"OneRowWithoutLimit", R"(hSpacing="2")", Cell(10, 5) + Cell(20, 8) + Cell(5, 5),
                 "0,0 12,0 34,0 | 39x8"},
        GridCase{"Wrapping", R"(hSpacing="2" vSpacing="1" maxWidth="25")", Cell(10, 5) + Cell(10, 8) + Cell(10, 5),
                 "0,0 12,0 0,9 | 22x17"},
        GridCase{"RowPitchIsTheTallestSoFar", R"(maxWidth="10")", Cell(10, 8) + Cell(10, 2) + Cell(10, 2),
                 "0,0 0,8 0,16 | 10x24"},
        GridCase{"FirstChildWiderThanTheLimit", R"(vSpacing="3" maxWidth="5")", Cell(10, 4), "0,3 | 10x7"},
        GridCase{"ScaleCountsInRows", R"(hSpacing="1")", Cell(10, 5, R"(scaleX="2")") + Cell(4, 4), "0,0 21,0 | 25x5"},
        GridCase{"Columns", R"(gridGrowBehavior="verticalFirst" hSpacing="2" vSpacing="1" maxHeight="12")",
                 Cell(10, 5) + Cell(4, 5) + Cell(6, 5), "0,0 0,6 12,0 | 22x11"},
        GridCase{"ScaleDoesNotCountInColumns", R"(gridGrowBehavior="verticalFirst")",
                 Cell(10, 5, R"(scaleX="2" scaleY="3")") + Cell(4, 5), "0,0 0,5 | 10x10"},
        GridCase{"HorizontalScaleDoesNotCountInColumns", R"(gridGrowBehavior="verticalFirst")",
                 Cell(10, 5, R"(scaleX="2")") + Cell(4, 5), "0,0 0,5 | 10x10"},
        GridCase{"UnknownGrowthIsRows", R"(gridGrowBehavior="diagonal" hSpacing="1")", Cell(3, 3) + Cell(3, 3),
                 "0,0 4,0 | 7x3"},
        GridCase{"ChildLocationsAreOverwritten", "", Cell(3, 3, R"(x="50" y="60")") + Cell(3, 3), "0,0 3,0 | 6x3"}),
    [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

TEST_F(NodeGridTest, AttachAndDetachLayOutAgain)
{
    NodeGridNode grid(1.0f, 0.0f, -1.0f, -1.0f, NodeGridNode::horizontalFirst);
    SceneNode a, b, c;
    a.SetWidth(4);
    a.SetHeight(2);
    b.SetWidth(6);
    b.SetHeight(3);
    c.SetWidth(2);
    c.SetHeight(5);
    grid.AttachChild(&a);
    grid.AttachChild(&b);
    grid.AttachChild(&c);
    EXPECT_EQ("0,0 5,0 12,0 | 14x5", Placement(&grid));
    b.DetachFromParent();
    EXPECT_EQ("0,0 5,0 | 7x5", Placement(&grid)) << "the gap closes";
    EXPECT_EQ(5.0f, b.LocalGetLocation().x) << "a detached child stays where it was";

    // A child's subtree counts: its composite bounds reach past its own size.
    SceneNode inner;
    inner.SetWidth(3);
    inner.SetHeight(9);
    inner.LocalSetLocation(4.0f, 0.0f);
    b.AttachChild(&inner);
    grid.AttachChild(&b);
    EXPECT_EQ("0,0 5,0 8,0 | 15x9", Placement(&grid));

    for (SceneNode* node : {&a, &c, &b})
        node->DetachFromParent();
    inner.DetachFromParent();
    EXPECT_EQ("| 0x0", Placement(&grid));
}

#include "scene/ScrollBarNode.h"

#include "scene/ButtonNode.h"
#include "scene/CheckBoxNode.h"
#include "scene/ListNode.h"
#include "scene/RadioButtonNode.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ScrollBarNodeTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        ASSERT_EQ("", Load(L"Art", "<testimagelist name=\"Channel\"><frame w=\"12\" h=\"4\"/><frame w=\"12\" h=\"4\"/>"
                                   "<frame w=\"12\" h=\"4\"/></testimagelist>"
                                   "<testimagelist name=\"Up\"><frame w=\"12\" h=\"14\"/></testimagelist>"
                                   "<testimagelist name=\"Down\"><frame w=\"12\" h=\"16\"/></testimagelist>\n"));
    }
};

TEST_F(ScrollBarNodeTest, ArrowsAreButtonsNamedAfterTheBarAtItsEnds)
{
    auto* bar = Make<ScrollBarNode>("<scrollbarnode name=\"bar\" channelImages=\"Channel\" upArrowImages=\"Up\" "
                                    "downArrowImages=\"Down\" height=\"200\"/>");
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(12.0f, bar->GetWidth());
    EXPECT_EQ(200.0f, bar->GetHeight());
    ASSERT_EQ(2u, bar->GetChildCount());
    auto* up = dynamic_cast<ButtonNode*>(bar->GetChildren().front());
    auto* down = dynamic_cast<ButtonNode*>(bar->GetChildren().back());
    ASSERT_TRUE(up && down);
    // Made with a null name; the layout names the bar afterwards.
    EXPECT_STREQ("ScrollUp", up->GetName().c_str());
    EXPECT_STREQ("ScrollDown", down->GetName().c_str());
    EXPECT_EQ(0.0f, up->LocalGetLocation().y);
    EXPECT_EQ(184.0f, down->LocalGetLocation().y);
    // Both joined the mode with the bar's tree, once.
    EXPECT_EQ(up, mode->GetObject(up->GetID()));
    EXPECT_EQ(down, mode->GetObject(down->GetID()));

    mode->OnMouseDown(MouseButton_Left, 5, 190);
    mode->OnMouseUp(MouseButton_Left, 5, 190);
    EXPECT_EQ("ButtonClick:ScrollDown", Events());

    const Label named("list");
    SceneTreePtr own(new ScrollBarNode(named, Vector2<float>(3, 4), nullptr, nullptr, nullptr, nullptr, 50));
    EXPECT_STREQ("listScrollUp", own->GetChildren().front()->GetName().c_str());
    EXPECT_STREQ("listScrollDown", own->GetChildren().back()->GetName().c_str());
    EXPECT_EQ(50.0f, own->GetChildren().back()->LocalGetLocation().y);
    EXPECT_EQ(0.0f, own->GetWidth());
}

TEST_F(ScrollBarNodeTest, WidgetTagsParseOnlyInLowerCase)
{
    const char* tags[] = {"buttonnode", "checkboxnode", "radiobuttonnode", "listnode", "scrollbarnode"};
    for (const char* tag : tags)
    {
        EXPECT_NE(nullptr, Make<SceneNode>(std::string("<") + tag + "/>")) << tag;
        std::string upper = tag;
        upper[0] = static_cast<char>(std::toupper(upper[0]));
        const std::wstring manifest(upper.begin(), upper.end());
        const std::string failure =
            Load(manifest, "<scenelayout name=\"" + upper + "\"><" + upper + "/></scenelayout>\n");
        EXPECT_NE(std::string::npos, failure.find("unrecognized node type: \"" + upper + "\"")) << failure;
    }
}

} // namespace

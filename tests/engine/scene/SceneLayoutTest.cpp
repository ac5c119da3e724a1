#include "scene/SceneLayout.h"

#include "core/Angle.h"
#include "scene/SceneNodeFactories.h"

#include "SceneLayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <utility>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<scenenode>";
    for (int i = 0; i < depth; ++i)
        text += "</scenenode>";
    return text;
}

} // namespace

TEST_F(SceneLayoutTest, AFailureNamesTheLayoutAndKeepsNothing)
{
    const std::pair<std::string, const char*> cases[] = {
        {"only text", "scene has no root node"},
        {"", "scene has no root node"},
        {"<scenenode><scenenode/></scenenode><scenenode/>", "scene has more than one root node"},
        {"<SceneNode/>", "unrecognized node type: \"SceneNode\""},
        {"<scenenode><scenenode><mystery/></scenenode></scenenode>", "unrecognized node type: \"mystery\""},
        {"<scenenode><sceneref scenename=\"Nowhere\"/></scenenode>", "sceneref: layout \"Nowhere\" not found"},
        {"<sceneref/>", "sceneref: layout \"\" not found"},
        // Nesting is capped rather than recursed without end.
        {Nested(kMaxSceneLayoutDepth + 1), "scene nodes nest deeper than 256 levels"},
    };
    int manifests = 0;
    for (const auto& [content, message] : cases)
    {
        SCOPED_TRACE(content.substr(0, 60));
        EXPECT_EQ(std::string("in SceneLayout \"Bad\": ") + message,
                  LoadLayout("Bad", content, L"M" + std::to_wstring(++manifests)));
        EXPECT_EQ(nullptr, manager->GetResource(Label("Bad")));
    }
    EXPECT_EQ("", LoadLayout("Deep", Nested(kMaxSceneLayoutDepth), L"Deep"));
}

// One descriptor's common attributes in one line: attach params, location, scale, orientation in
// degrees, visibility, colour, hit test, buttons, rotation and scale pivots, name and nodeName.
std::string Summary(const SceneLayout::LayoutDescriptor& d)
{
    const SceneNode::NodeAttachParams& a = d.attachParams;
    char text[256];
    std::snprintf(text, sizeof(text), "%d%d%d%d %g,%g %g,%g %.0f %d %g,%g,%g,%.3f %d %x %d%d %d%d %s/%s",
                  a.parentHAlign, a.parentVAlign, a.selfHAlign, a.selfVAlign, d.location.x, d.location.y, d.scale.x,
                  d.scale.y, d.orientation.GetValue() * 180.0f / Angle::pi(), d.visible, d.color.r, d.color.g,
                  d.color.b, d.color.a, d.hitTest, d.mouseButtons, d.rotateHAlign, d.rotateVAlign, d.scaleHAlign,
                  d.scaleVAlign, d.name.IsNull() ? "-" : d.name.c_str(),
                  d.nodeName.IsNull() ? "-" : d.nodeName.c_str());
    return text;
}

TEST_F(SceneLayoutTest, ReadsTheCommonAttributesOnTheLoaderThread)
{
    const std::pair<const char*, const char*> rows[] = {
        {"", "0000 0,0 1,1 0 1 1,1,1,1.000 0 1 00 00 -/-"},
        {R"(nodeName="Every" name="Named" x="3.5" y="-2" scaleX="2" scaleY="0.5" orientation="90" visible="false"
            color="#FF000080" alpha="0.25" hitTest="true" buttons=" right ,&#10;middle " parentHAlign="right"
            selfHAlign="center" parentVAlign="bottom" selfVAlign="middle" rotateHAlign="center"
            rotateVAlign="bottom" scaleHAlign="right" scaleVAlign="middle")",
         "2211 3.5,-2 2,0.5 90 0 1,0,0,0.502 1 7 12 21 Named/Every"},
        {R"(centerOnParent="true" parentHAlign="right" selfVAlign="top" alpha="0.5" buttons="none")",
         "1111 0,0 1,1 0 1 1,1,1,0.500 0 0 00 00 -/-"},
        {R"(centerHOnParent="true" selfHAlign="right" selfVAlign="bottom" x="nan" scaleX="inf" buttons="all")",
         "1012 0,0 1,1 0 1 1,1,1,1.000 0 ffffffff 00 00 -/-"},
        {R"(centerVOnParent="true" parentVAlign="top" parentHAlign="Right" color="red" buttons=",,right")",
         "0101 0,0 1,1 0 1 0,0,0,1.000 0 3 00 00 -/-"},
    };
    std::string content = "<probe>";
    for (const auto& row : rows)
        content += std::string("<scenenode ") + row.first + "/>";
    ASSERT_EQ("", LoadLayout("Common", content + "</probe>"));
    const SceneLayout::LayoutDescriptor* root = Layout("Common")->GetRootDescriptor();
    ASSERT_NE(nullptr, root);
    EXPECT_NE(std::this_thread::get_id(), dynamic_cast<const ProbeDescriptor&>(*root->nodeDescriptor).readOn);
    ASSERT_EQ(std::size(rows), root->children.size());
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].second, Summary(*root->children[i])) << rows[i].first;
}

TEST_F(SceneLayoutTest, InstantiatesInTheEightSteps)
{
    ASSERT_EQ("", LoadLayout("Steps", R"(<probe name="Top" nodeName="top" x="5" alpha="0.5" buttons="middle"
                                               parentHAlign="center">
        <probe nodeName="first" parentVAlign="middle"><scenenode nodeName="leaf" width="7" height="9"/></probe>
        <scenenode nodeName="second" hitTest="true"/>
      </probe>)"));
    const SceneLayout* layout = Layout("Steps");

    SceneTreePtr loose = layout->InstantiateLayout(static_cast<SceneNode*>(nullptr));
    ASSERT_NE(nullptr, loose);
    auto* top = dynamic_cast<ProbeNode*>(loose.get());
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(Label("Top"), top->GetName()) << "the layout's name overwrites the factory's";
    EXPECT_EQ(Label("top"), top->GetNodeName());
    EXPECT_EQ((Vector2<float>(5, 0)), top->LocalGetLocation());
    EXPECT_TRUE(top->hitTest) << "the node's own hit test stays on";
    EXPECT_EQ(2u | 1u | 4u, top->mouseButtons) << "the node's right, combined with the layout's left and middle";
    EXPECT_EQ(HAlignment_Right, top->GetNodeAttachParams().parentHAlign)
        << "a root made without a parent keeps its node type's attach params";
    EXPECT_EQ(nullptr, top->GetParent());

    auto* first = dynamic_cast<ProbeNode*>(top->GetChild(Label("first")));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0u, first->childrenWhenAttached) << "attached before its own children exist";
    EXPECT_EQ(HAlignment_Left, first->GetNodeAttachParams().parentHAlign) << "the layout's params replace the node's";
    EXPECT_EQ(VAlignment_Middle, first->GetNodeAttachParams().parentVAlign);
    SceneNode* leaf = first->GetChild(Label("leaf"));
    ASSERT_NE(nullptr, leaf);
    EXPECT_EQ((Rect<float>(0, 0, 7, 9)), leaf->LocalGetBounds());
    EXPECT_EQ(1u, leaf->mouseButtons) << "a plain node keeps left";
    EXPECT_TRUE(top->GetChild(1)->hitTest);

    // A second instance is a tree of its own, attached under the parent it is given and, with a
    // database, made objects of it.
    SceneNode* parent = new SceneNode(Label());
    mode->AddObject(parent);
    SceneNode* again = layout->InstantiateLayout(mode.get(), parent);
    ASSERT_NE(nullptr, again);
    EXPECT_NE(loose.get(), again);
    EXPECT_EQ(parent, again->GetParent());
    EXPECT_EQ(again, mode->GetObject(again->GetID()));
    EXPECT_NE(nullptr, mode->GetObject(again->GetChild(0)->GetChild(Label("leaf"))->GetID()));
    EXPECT_EQ(nullptr, layout->InstantiateLayout(static_cast<ObjectDatabase*>(nullptr), parent))
        << "without a database nothing is made";
    EXPECT_EQ(1u, parent->GetChildren().size());

    // A tree never handed to a database is freed by its handle, and leaves its parent.
    SceneTreePtr attached = layout->InstantiateLayout(parent);
    EXPECT_EQ(2u, parent->GetChildren().size());
    attached.reset();
    EXPECT_EQ(1u, parent->GetChildren().size());
}

TEST_F(SceneLayoutTest, ASceneRefEmbedsAnEarlierLayoutUnderTheReferringAttributes)
{
    ASSERT_EQ("", LoadLayout("Inner", R"(<probe name="InnerRoot" nodeName="inner" x="50" y="60">
                                           <scenenode nodeName="part"/></probe>)",
                             L"First"));
    AddManifest(L"Second", R"(<scenelayout name="Outer"><scenenode>
        <sceneref scenename="inner" nodeName="ref" y="4"><scenenode nodeName="extra"/></sceneref>
      </scenenode></scenelayout>
      <scenelayout name="SameManifest"><sceneref scenename="Outer"/></scenelayout>
)");
    ASSERT_EQ("", manager->Load(L"Second")->GetFailureMessage());
    const SceneLayout* outer = Layout("Outer");
    ASSERT_NE(nullptr, outer);
    ASSERT_NE(nullptr, Layout("SameManifest")) << "a layout earlier in the same manifest can be named";

    // The referenced layout goes; the reference still instantiates what it read.
    manager->Unload(L"First");
    ASSERT_EQ(nullptr, Layout("Inner"));
    SceneTreePtr tree = outer->InstantiateLayout(static_cast<SceneNode*>(nullptr));
    SceneNode* ref = tree->GetChild(Label("ref"));
    ASSERT_NE(nullptr, dynamic_cast<ProbeNode*>(ref)) << "the referenced root becomes the node";
    EXPECT_TRUE(ref->GetName().IsNull()) << "the referring element's attributes overwrite the root's";
    EXPECT_EQ((Vector2<float>(0, 4)), ref->LocalGetLocation());
    EXPECT_TRUE(ref->hitTest);
    ASSERT_EQ(2u, ref->GetChildren().size());
    EXPECT_NE(nullptr, ref->GetChild(Label("part")));
    EXPECT_EQ(ref->GetChild(1), ref->GetChild(Label("extra"))) << "the element's own children go on top";

    EXPECT_NE(nullptr, Layout("SameManifest")->InstantiateLayout(static_cast<SceneNode*>(nullptr))->GetChild("ref"));
}

TEST_F(SceneLayoutTest, ReplacingANodeFactoryLeavesParsedLayoutsWorking)
{
    ASSERT_EQ("", LoadLayout("Before", "<probe/>"));
    SceneLayoutManager::Instance().AddSceneNodeFactory(L"probe", std::make_unique<BasicSceneNodeFactory>());
    EXPECT_NE(nullptr,
              dynamic_cast<ProbeNode*>(Layout("Before")->InstantiateLayout(static_cast<SceneNode*>(nullptr)).get()));
    SceneLayoutManager::Instance().AddSceneNodeFactory(L"probe", nullptr);
    EXPECT_EQ(nullptr, SceneLayoutManager::Instance().GetSceneNodeFactory(L"probe"));
    EXPECT_NE(nullptr, SceneLayoutManager::Instance().GetSceneNodeFactory(L"scenenode"));
    EXPECT_EQ(nullptr, SceneLayoutManager::Instance().GetSceneNodeFactory(L"Scenenode"));
}

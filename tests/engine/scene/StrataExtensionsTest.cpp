#include "scene/StrataExtensions.h"

#include "scene/ButtonNode.h"
#include "scene/CheckBoxNode.h"
#include "scene/ListNode.h"
#include "scene/MeterNodes.h"
#include "scene/NodeGridNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/ScrollBarNode.h"
#include "scene/ShapeNodes.h"
#include "scene/SliderNode.h"
#include "scene/SpriteAnimation.h"
#include "scene/SpriteNodes.h"
#include "scene/SpriteType.h"
#include "scene/TextEditNode.h"
#include "scene/TextSpriteNodes.h"

#include "framework/ValueResources.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// Every scene-graph resource tag and a layout with every node tag, each node filed under its tag.
// Text-bearing widgets write their colour.
constexpr char kEverything[] = R"(
<testimagelist name="Frames">
  <frame w="12" h="12"/><frame w="12" h="12"/><frame w="12" h="12"/><frame w="12" h="12"/><frame w="12" h="12"/>
</testimagelist>
<testimagelist name="Slices">
  <frame w="3" h="3"/><frame w="3" h="3"/><frame w="3" h="3"/><frame w="3" h="3"/><frame w="3" h="3"/>
  <frame w="3" h="3"/><frame w="3" h="3"/><frame w="3" h="3"/><frame w="3" h="3"/>
</testimagelist>
<testimage name="Picture" w="8" h="8"/>
<testfont name="Mono"/>
<spriteanimationlist name="Moves"><animation name="walk" frameList="0-3"/></spriteanimationlist>
<spritetype name="Walker" images="Frames" animationList="Moves"/>
<randomrange name="Pause" min="0.5" max="2"/>
<scenelayout name="Ref"><scenenode width="4"><scenenode/></scenenode></scenelayout>
<scenelayout name="Everything">
  <scenenode nodeName="scenenode" width="800" height="600">
    <sceneref nodeName="sceneref" scenename="Ref"/>
    <backgroundnode nodeName="backgroundnode" images="Slices" width="40" height="30"/>
    <buttonnode nodeName="buttonnode" images="Frames" width="60" text="Go" font="Mono" keyCode="13"
                color="#102030"/>
    <checkboxnode nodeName="checkboxnode" images="Frames" text="Music" font="Mono" color="#000000"/>
    <listnode nodeName="listnode" images="Slices" width="100" height="60" font="Mono" textColor="#000000"
              selectedTextColor="#ffffff"/>
    <radiobuttonnode nodeName="radiobuttonnode" group="Language" images="Frames" text="English" font="Mono"
                     color="#000000"/>
    <scrollbarnode nodeName="scrollbarnode" channelImages="Frames" thumbImages="Frames" upArrowImages="Frames"
                   downArrowImages="Frames" height="80"/>
    <slidernode nodeName="slidernode" channelImages="Frames" thumbImages="Frames" width="100" initialValue="0.25"/>
    <staticspritenode nodeName="staticspritenode" src="Picture"/>
    <texteditnode nodeName="texteditnode" fieldImages="Slices" cursorImage="Picture" width="90" font="Mono"
                  color="#000000"/>
    <textspritenode nodeName="textspritenode" text="Hello" font="Mono" color="#000000"/>
    <animatedspritenode nodeName="animatedspritenode" spriteType="Walker" initialAnimation="walk"/>
    <meterbarnode nodeName="meterbarnode" images="Frames" size="50" max="4" start="1"/>
    <discretemeterbarnode nodeName="discretemeterbarnode" images="Frames" size="4" offset="1" max="4" start="2"/>
    <nodegridnode nodeName="nodegridnode" hSpacing="2"><rectnode width="5" height="5"/></nodegridnode>
    <rectnode nodeName="rectnode" width="10" height="10"/>
    <ellipsenode nodeName="ellipsenode" width="10" height="10" filled="false"/>
    <styledtextspritenode nodeName="styledtextspritenode" text="&lt;b&gt;Bold&lt;/b&gt;" font="Mono" width="100"/>
    <fractiontextmeternode nodeName="fractiontextmeternode" font="Mono" color="#000000" max="10" start="3"/>
    <tiledspritenode nodeName="tiledspritenode" src="Picture" width="30" height="20"/>
  </scenenode>
</scenelayout>
)";

template <class T>
bool Is(SceneNode* node)
{
    return dynamic_cast<T*>(node) != nullptr;
}

struct TagCase
{
    const char* tag;
    std::function<bool(SceneNode*)> isItsType;
};

const TagCase kTags[] = {
    {"sceneref", [](SceneNode* node) { return node->GetChildCount() == 1; }},
    {"backgroundnode", Is<BackgroundNode>},
    {"buttonnode", Is<ButtonNode>},
    {"checkboxnode", Is<CheckBoxNode>},
    {"listnode", Is<ListNode>},
    {"radiobuttonnode", Is<RadioButtonNode>},
    {"scrollbarnode", Is<ScrollBarNode>},
    {"slidernode", Is<SliderNode>},
    {"staticspritenode", Is<StaticSpriteNode>},
    {"texteditnode", Is<TextEditNode>},
    {"textspritenode", Is<TextSpriteNode>},
    {"animatedspritenode", Is<AnimatedSpriteNode>},
    {"meterbarnode", Is<MeterBarNode>},
    {"discretemeterbarnode", Is<DiscreteMeterBarNode>},
    {"nodegridnode", Is<NodeGridNode>},
    {"rectnode", Is<RectNode>},
    {"ellipsenode", Is<EllipseNode>},
    {"styledtextspritenode", Is<StyledTextSpriteNode>},
    {"fractiontextmeternode", Is<FractionTextMeterNode>},
    {"tiledspritenode", Is<TiledSpriteNode>},
};

} // namespace

TEST_F(NodeTest, EveryNodeTagAndResourceTagLoadsAndInstantiatesInItsExactLetterCase)
{
    ::testing::internal::CaptureStderr();
    const std::string failure = Load(L"Everything", kEverything);
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ("", failure);
    EXPECT_EQ("", LinesWith(log, "not found"));
    EXPECT_NE(nullptr, AutoResource<SpriteAnimationList>("Moves").Get());
    EXPECT_NE(nullptr, AutoResource<SpriteType>("Walker").Get());
    EXPECT_EQ((RandomRange{0.5f, 2.0f}), Constant<RandomRange>("Pause").GetValue());

    const SceneLayout* layout = Layout("Everything");
    ASSERT_NE(nullptr, layout);
    SceneNode* root = layout->InstantiateLayout(mode.get(), nullptr);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(Label("scenenode"), root->GetNodeName());
    EXPECT_EQ(sizeof(kTags) / sizeof(kTags[0]), root->GetChildCount());
    for (const TagCase& c : kTags)
    {
        SceneNode* node = root->GetChildByNodeName(Label(c.tag));
        ASSERT_NE(nullptr, node) << c.tag;
        EXPECT_TRUE(c.isItsType(node)) << c.tag;
    }
    // Drawing the whole tree on a canvas reaches every node type's drawing code.
    Target target(800, 600);
    root->UpdateScene();
    root->DrawScene();
    EXPECT_FALSE(target.Drawn().isEmpty());

    // Node tags are exact in letter case: with the first letter in capitals a tag is unknown.
    std::vector<std::string> tags{"scenenode"};
    for (const TagCase& c : kTags)
        tags.push_back(c.tag);
    for (const std::string& tag : tags)
    {
        SCOPED_TRACE(tag);
        EXPECT_NE(nullptr, SceneLayoutManager::Instance().GetSceneNodeFactory(std::wstring(tag.begin(), tag.end())));
        const std::string shouted = static_cast<char>(tag[0] - 'a' + 'A') + tag.substr(1);
        const std::string name = "Shouted" + std::to_string(&tag - tags.data());
        EXPECT_EQ("in SceneLayout \"" + name + "\": unrecognized node type: \"" + shouted + "\"",
                  LoadLayout(name, "<" + shouted + "/>", std::wstring(name.begin(), name.end())));
    }
    EXPECT_EQ(21u, tags.size());
}

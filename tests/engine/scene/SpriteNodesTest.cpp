#include "scene/SpriteNodes.h"

#include "scene/AnimationController.h"
#include "scene/SpriteType.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// Frames of growing size: image i is (i + 2) pixels square, opaque, red FrameRed(i).
constexpr char kSprites[] = R"(
<testimage name="Solid" w="4" h="3" r="200"/>
<testimage name="Ramp" w="4" h="1" alphaStep="50"/>
<testimage name="Tile" w="2" h="1" alphaStep="200"/>
<testimagelist name="WalkFrames"><frame w="2" h="2"/><frame w="3" h="3"/><frame w="4" h="4"/><frame w="5" h="5"/></testimagelist>
<testimagelist name="RampFrames"><frame w="4" h="1" alphaStep="50"/></testimagelist>
<spritetype name="Walker" images="WalkFrames">
  <animation name="walk" frameList="0-2" fps="10" numPlays="0"/>
  <animation name="jump" frameList="3" fps="10"/>
</spritetype>
<spritetype name="Other" images="WalkFrames"><animation name="walk" frameList="3,2" fps="10" numPlays="0"/></spritetype>
<spritetype name="Ramper" images="RampFrames"/>
<spritetype name="Blind" images="NoSuchList"/>
)";

class SpriteNodeTest : public NodeTest
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        ASSERT_EQ("", Load(L"Sprites", kSprites));
    }

    // Size, then the frame drawn at (0, 0) told by its red, or "-" when nothing was drawn.
    std::string Shown(AnimatedSpriteNode* node)
    {
        Target target(16, 16);
        node->DrawScene();
        const Color32 pixel = target.At(0, 0);
        const std::string frame = pixel.a == 0 ? "-" : std::to_string((pixel.r - 40) / 40);
        return std::to_string(static_cast<int>(node->GetWidth())) + "x" +
               std::to_string(static_cast<int>(node->GetHeight())) + " " + frame;
    }
};

} // namespace

TEST_F(SpriteNodeTest, StaticNodeDrawsItsImageAtItsPlaceAndSize)
{
    auto* node = Make<StaticSpriteNode>(R"(<staticspritenode src="Solid" x="10" y="20"/>)");
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(4.0f, node->GetWidth());
    EXPECT_EQ(3.0f, node->GetHeight());
    Target target(32, 32);
    node->DrawScene();
    EXPECT_EQ((Rect<int>(10, 20, 4, 3)), target.Drawn());
    EXPECT_EQ(200, target.At(13, 22).r);

    node->setImage(Label("WalkFrames"), 2);
    EXPECT_EQ(4.0f, node->GetHeight());
    node->setImage(Label("WalkFrames"), 4);
    EXPECT_EQ(nullptr, node->GetImage()) << "an index past the list shows nothing";
    EXPECT_EQ(0.0f, node->GetWidth());
}

TEST_F(SpriteNodeTest, MissingResourcesAreReportedOnceAndDrawNothing)
{
    ::testing::internal::CaptureStderr();
    auto* first = Make<StaticSpriteNode>(R"(<staticspritenode src="Nowhere" hitTest="true"/>)");
    auto* second = Make<StaticSpriteNode>(R"(<staticspritenode src="Nowhere"/>)");
    auto* animated = Make<AnimatedSpriteNode>(R"(<animatedspritenode spriteType="NoType" initialAnimation="walk"/>)");
    auto* blind = Make<AnimatedSpriteNode>(R"(<animatedspritenode spriteType="Blind"/>)");
    auto* tiled = Make<TiledSpriteNode>(R"(<tiledspritenode src="Nowhere" width="5" height="5"/>)");
    auto* unnamed = Make<StaticSpriteNode>(R"(<staticspritenode/>)");
    EXPECT_EQ("staticspritenode: image \"Nowhere\" not found\n"
              "animatedspritenode: sprite type \"NoType\" not found\n"
              "animatedspritenode: image list \"NoSuchList\" not found\n"
              "tiledspritenode: image \"Nowhere\" not found\n",
              LinesWith(::testing::internal::GetCapturedStderr(), "not found"));
    ASSERT_TRUE(first && second && animated && blind && tiled && unnamed);

    Target target(16, 16);
    for (SceneNode* node : std::initializer_list<SceneNode*>{first, second, animated, blind, tiled, unnamed})
    {
        node->DrawScene();
        EXPECT_FALSE(node->GlobalPointIntersects(Vector2<float>(0.5f, 0.5f)));
    }
    EXPECT_EQ(Rect<int>(), target.Drawn());
    EXPECT_EQ(0.0f, first->GetWidth());
    EXPECT_EQ(0.0f, blind->GetWidth());
    EXPECT_EQ(5.0f, tiled->GetWidth()) << "a tiled node keeps its layout size";
    EXPECT_EQ(nullptr, animated->GetAnimationController());
    EXPECT_TRUE(animated->GetCurAnimationName().IsNull());
}

// Hit tests against the image "Ramp" (alphas 0, 50, 100, 150 left to right) placed at (10, 20).
TEST_F(SpriteNodeTest, StaticAndAnimatedNodesTestTheAlphaStrictlyAbove)
{
    struct Case
    {
        int alphaSensitivity;
        float x;
        bool hit;
    };
    const Case cases[] = {{0, 10.5f, true}, // bounds only: a transparent pixel hits
                          {0, 9.9f, false},   {0, 14.0f, false}, {1, 10.5f, false},  {50, 11.9f, false}, // equal alpha
                          {49, 11.0f, true},  {50, 12.0f, true}, {149, 13.5f, true}, {150, 13.5f, false},
                          {255, 13.5f, false}};
    auto* still = Make<StaticSpriteNode>(R"(<staticspritenode src="Ramp" x="10" y="20"/>)");
    auto* animated = Make<AnimatedSpriteNode>(R"(<animatedspritenode spriteType="Ramper" x="10" y="20"/>)");
    ASSERT_TRUE(still && animated);
    for (const Case& c : cases)
    {
        still->alphaSensitivity = c.alphaSensitivity;
        animated->alphaSensitivity = c.alphaSensitivity;
        const Vector2<float> point(c.x, 20.5f);
        EXPECT_EQ(c.hit, still->GlobalPointIntersects(point)) << c.alphaSensitivity << " at " << c.x;
        EXPECT_EQ(c.hit, animated->GlobalPointIntersects(point)) << c.alphaSensitivity << " at " << c.x;
    }
}

TEST_F(SpriteNodeTest, AnimatedNodeFollowsItsControllerAndRefitsWhenItDraws)
{
    auto* node = Make<AnimatedSpriteNode>(R"(<animatedspritenode spriteType="Walker"/>)");
    ASSERT_NE(nullptr, node);
    EXPECT_EQ("2x2 0", Shown(node)) << "no initial animation: image 0 at its size";
    EXPECT_TRUE(node->GetCurAnimationName().IsNull());

    node->SetAnimation(Label("walk"), false);
    EXPECT_TRUE(node->IsAnimationPlaying(Label("walk")));
    EXPECT_FALSE(node->IsAnimationPlaying(Label()));
    // The database updates the node before the controller it made afterwards; the draw still shows
    // the new frame at its own size.
    mode->Update(0.15f);
    EXPECT_EQ(1, node->GetAnimationController()->GetFrameIndex());
    EXPECT_EQ("3x3 1", Shown(node));

    node->SetAnimation(Label("nothing"), false);
    EXPECT_EQ("2x2 0", Shown(node)) << "an unknown name stops and shows image 0";
    EXPECT_TRUE(node->GetCurAnimationName().IsNull());
    node->SetFrameIndex(2);
    node->SetAnimation(Label("nothing"), false);
    EXPECT_EQ("4x4 2", Shown(node)) << "an idle controller asked without restart keeps its still frame";
    node->SetFrameIndex(9);
    EXPECT_EQ("0x0 -", Shown(node)) << "a frame outside the list";
    node->SetFrameIndex(-1);
    EXPECT_EQ("0x0 -", Shown(node));
}

TEST_F(SpriteNodeTest, ChangingTheTypeReplacesTheControllerAndTheNodeTakesItAlong)
{
    auto* node = Make<AnimatedSpriteNode>(R"(<animatedspritenode spriteType="Walker" initialAnimation="walk"/>)");
    ASSERT_NE(nullptr, node);
    mode->Update(0.25f);
    const ObjectID first = node->GetAnimationController()->GetID();
    node->SetSpriteType(Label("Walker"));
    EXPECT_EQ(first, node->GetAnimationController()->GetID()) << "the same type keeps the animation";
    EXPECT_EQ("4x4 2", Shown(node));

    node->SetSpriteType(Label("Other"));
    AnimationController* second = node->GetAnimationController();
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second->GetID());
    EXPECT_FALSE(second->IsPlaying());
    EXPECT_EQ("2x2 0", Shown(node));
    node->SetAnimation(Label("walk"), false);
    EXPECT_EQ("5x5 3", Shown(node)) << "the new type's own animation";
    mode->Update(0.0f);
    EXPECT_EQ(nullptr, mode->GetObject(first));

    const ObjectID secondID = second->GetID();
    node->DestroySelf();
    node->SetSpriteType(Label("Walker"));
    EXPECT_TRUE(node->GetAnimationController()->GetID().IsInvalid()) << "a removed node adds nothing";
    mode->Update(0.0f);
    EXPECT_EQ(nullptr, mode->GetObject(secondID)) << "the controller goes with its node";
}

TEST_F(SpriteNodeTest, AnimationsOutliveTheirManifestAndWorkBeforeTheNodeJoinsADatabase)
{
    const auto* layout = [this]
    {
        EXPECT_EQ("", LoadLayout("Free", R"(<animatedspritenode spriteType="Walker" initialAnimation="jump"/>)",
                                 L"FreeLayout"));
        return Layout("Free");
    }();
    ASSERT_NE(nullptr, layout);
    SceneTreePtr tree = layout->InstantiateLayout(static_cast<SceneNode*>(nullptr));
    auto* node = dynamic_cast<AnimatedSpriteNode*>(tree.get());
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(Label("jump"), node->GetCurAnimationName());
    EXPECT_EQ("5x5 3", Shown(node));
    EXPECT_TRUE(node->GetAnimationController()->GetID().IsInvalid());

    manager->Unload(L"Sprites");
    ASSERT_EQ(nullptr, AutoResource<SpriteType>("Walker").Get());
    tree->AddToDatabase(mode.get());
    tree.release();
    AnimationController* controller = node->GetAnimationController();
    ASSERT_NE(nullptr, controller);
    EXPECT_EQ(controller, mode->GetObject(controller->GetID())) << "handed to the database";
    node->SetAnimation(Label("walk"), true);
    mode->Update(0.15f);
    EXPECT_EQ("3x3 1", Shown(node)) << "the unloaded type and its frames are still held";
}

TEST_F(SpriteNodeTest, TiledNodeRepeatsItsImageFromTheOffset)
{
    // "Tile" has alphas 0, 200: from offset 1 the node shows 200, 0, 200, 0, 200.
    auto* node = Make<TiledSpriteNode>(
        R"(<tiledspritenode src="Tile" x="3" y="4" width="5" height="2" srcOffsetX="1" scaleX="3"/>)");
    ASSERT_NE(nullptr, node);
    Target target(16, 16);
    node->DrawScene();
    EXPECT_EQ((Rect<int>(3, 4, 5, 2)), target.Drawn()) << "scale does not apply";
    std::string row;
    for (int x = 3; x < 8; ++x)
        row += target.At(x, 5).a != 0 ? '#' : '.';
    EXPECT_EQ("#.#.#", row);

    node->alphaSensitivity = 100;
    EXPECT_TRUE(node->GlobalPointIntersects(Vector2<float>(3.5f, 4.5f)));
    EXPECT_FALSE(node->GlobalPointIntersects(Vector2<float>(4.5f, 4.5f)));
    EXPECT_TRUE(node->GlobalPointIntersects(Vector2<float>(7.9f, 5.9f)));
    EXPECT_FALSE(node->GlobalPointIntersects(Vector2<float>(8.0f, 5.0f)));
    node->alphaSensitivity = 255;
    EXPECT_FALSE(node->GlobalPointIntersects(Vector2<float>(3.5f, 4.5f)));

    node->SetImage(Label("Solid"));
    EXPECT_EQ(5.0f, node->GetWidth());
    EXPECT_EQ(2.0f, node->GetHeight());
}

#include "scene/SpriteAnimation.h"

#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/RandomRange.h"
#include "framework/ValueResources.h"
#include "scene/AnimationController.h"
#include "scene/SpriteType.h"

#include "NodeTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

std::vector<int> Indices(const std::vector<AnimFrame>& frames)
{
    std::vector<int> indices;
    for (const AnimFrame& frame : frames)
        indices.push_back(frame.index);
    return indices;
}

// 0, 1, ..., last.
std::vector<int> UpTo(int last)
{
    std::vector<int> values(static_cast<size_t>(last) + 1);
    std::iota(values.begin(), values.end(), 0);
    return values;
}

// An animation made in code, every frame frameSeconds long.
SpriteAnimation MakeAnimation(const char* name, const std::string& list, int numPlays, bool pingPong,
                              float frameSeconds = 1.0f)
{
    SpriteAnimation animation(Label(name), numPlays, pingPong);
    animation.SetFrameListString(list, frameSeconds, true);
    for (AnimFrame& frame : animation.frames)
        frame.duration = frameSeconds;
    return animation;
}

// What the controller shows before and after each of `updates` equal steps; "." marks a stopped one.
std::string Play(AnimationController& controller, float step, int updates)
{
    std::string shown = std::to_string(controller.GetFrameIndex());
    for (int i = 0; i < updates; ++i)
    {
        controller.Update(step);
        shown += (controller.IsPlaying() ? " " : " .") + std::to_string(controller.GetFrameIndex());
    }
    return shown;
}

// An "animation" element read the way sprite types and lists read their children.
SpriteAnimation ReadAnimation(const std::string& element)
{
    ReadOnlyMemoryStream stream(L"anim.xml", element.data(), element.size());
    std::unique_ptr<IXMLReader> document = CreateXMLReader(&stream);
    const XMLElement* own = document->ReadElement();
    XMLElementReader scoped(document.get());
    return SpriteAnimation(*own, scoped);
}

// The message of the parse error `read` throws, or "no error".
std::string ParseError(const std::function<void()>& read)
{
    try
    {
        read();
    }
    catch (const AnimationParseError& error)
    {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(FrameListTest, GivesTheFramesOrTheExactError)
{
    const struct
    {
        const char* list;
        std::vector<int> frames; // when error is empty
        const char* error;
    } cases[] = {
        {"0-3", {0, 1, 2, 3}, ""},
        {"5-2,9", {5, 4, 3, 2, 9}, ""},
        {"", {}, ""},
        {" 1 ,\t2-\n3 ", {1, 2, 3}, ""},
        {"0-9999", UpTo(9999), ""},
        {"2147483647", {2147483647}, ""},
        {"1,2,", {}, "illegal token '<end of list>' (line 1, pos 5). (Expected an integer)."},
        {"1 2", {}, "illegal token '2' (line 1, pos 4). (Expected ',')."},
        {"-1", {}, "illegal token '-' (line 1, pos 1). "},
        {"1;2", {}, "unrecognized token ';' (line 1, pos 2)"},
        {"1,\r\n2", {}, "unrecognized token '\r' (line 1, pos 3)"},
        {"1,\n2 3", {}, "illegal token '3' (line 2, pos 4). (Expected ',')."},
        {"4-", {}, "illegal token '<end of list>' (line 1, pos 3). (Expected an integer)."},
        {"0-9999,5", {}, "frame list has more than 10000 frames (line 1, pos 9)"},
        {"0-2147483647", {}, "frame list has more than 10000 frames (line 1, pos 2)"},
        {"2147483647-0", {}, "frame list has more than 10000 frames (line 1, pos 11)"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.list);
        if (*c.error == '\0')
            EXPECT_EQ(c.frames, Indices(ParseFrameListString(c.list)));
        else
            EXPECT_EQ(c.error, ParseError([&] { ParseFrameListString(c.list); }));
    }
    // A number beyond int is a conversion error, not a parse error.
    EXPECT_THROW(ParseFrameListString("1,2147483648"), std::out_of_range);
}

TEST(AnimationElementTest, ReadsTimingAndPlayCount)
{
    const struct
    {
        const char* attributes;
        size_t frames;
        float duration;
        int numPlays;
    } cases[] = {
        {"frameList=\"0-3\" duration=\"2\"", 4, 0.5f, 1},
        {"frameList=\"0-3\" fps=\"8\"", 4, 0.125f, 1},
        {"frameList=\"0-3\" fps=\"8\" duration=\"2\"", 4, 0.5f, 1}, // duration wins
        {"frameList=\"0-3\"", 4, 1.0f, 1},
        {"frameList=\"0-3\" duration=\"0\"", 4, 0.25f, 1},
        {"frameList=\"0-1\" fps=\"-4\"", 2, 1.0f, 1},
        {"fps=\"4\"", 1, 0.25f, 1},
        {"frameList=\"0\" fps=\"1e9\"", 1, kMinFrameDuration, 1},
        {"numLoops=\"2\"", 1, 1.0f, 3},
        {"numLoops=\"-1\"", 1, 1.0f, 1},
        {"numLoops=\"2147483647\"", 1, 1.0f, 2147483647},
        {"numPlays=\"0\"", 1, 1.0f, -1},
        {"numPlays=\"-1\"", 1, 1.0f, -1},
        {"numLoops=\"5\" numPlays=\"2\"", 1, 1.0f, 2}, // numPlays wins
        {"numLoops=\"0\"", 1, 1.0f, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.attributes);
        const SpriteAnimation animation = ReadAnimation(std::string("<animation name=\"a\" ") + c.attributes + "/>");
        ASSERT_EQ(c.frames, animation.frames.size());
        for (const AnimFrame& frame : animation.frames)
            EXPECT_FLOAT_EQ(c.duration, frame.duration);
        EXPECT_EQ(c.numPlays, animation.numPlays);
    }
}

TEST(AnimationElementTest, FrameChildrenOnlyWithoutAListOrTiming)
{
    const SpriteAnimation children =
        ReadAnimation("<animation name=\"c\" pingPong=\"true\" linkedAnimation=\"next\"><frame index=\"4\" "
                      "duration=\"0.5\"/>"
                      "<other index=\"9\"/><frame index=\"6\" duration=\"-1\"/><frame/></animation>");
    EXPECT_EQ((std::vector<AnimFrame>{{4, 0.5f}, {6, 1.0f}, {0, 1.0f}}), children.frames);
    EXPECT_TRUE(children.pingPong);
    EXPECT_EQ(Label("next"), children.linkedAnimation);

    const SpriteAnimation listWins = ReadAnimation("<animation frameList=\"2,3\"><frame index=\"4\"/></animation>");
    EXPECT_EQ((std::vector<int>{2, 3}), Indices(listWins.frames));
    EXPECT_TRUE(listWins.linkedAnimation.IsNull()) << "no link is no link, not the empty name";

    const SpriteAnimation empty = ReadAnimation("<animation/>");
    EXPECT_EQ((std::vector<AnimFrame>{{0, 1.0f}}), empty.frames);
    EXPECT_TRUE(ReadAnimation("<animation linkedAnimation=\"\"/>").linkedAnimation.IsNull());
}

TEST(AnimationElementTest, AnErrorNamesTheAnimationWhenItHasAName)
{
    EXPECT_EQ("in animation \"walk\": illegal token ',' (line 1, pos 3). (Expected an integer).",
              ParseError([] { ReadAnimation("<animation name=\"walk\" frameList=\"1,,2\"/>"); }));
    AnimationParseError bare("");
    EXPECT_STREQ("(unspecified error)", bare.what());
    bare.setSpriteAnimationListName("List");
    bare.setSpriteTypeName("Type");
    EXPECT_STREQ("in SpriteType \"Type\": (unspecified error)", bare.what()) << "never both prefixes";
}

TEST(AnimationElementTest, ShortDurationsFromCodeAreRaised)
{
    SpriteAnimation animation;
    animation.SetFrameList({{1, 0.0f}, {2, -3.0f}, {3, 1e-9f}, {4, 0.25f}});
    for (size_t i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(kMinFrameDuration, animation.frames[i].duration);
    EXPECT_FLOAT_EQ(0.25f, animation.frames[3].duration);
    animation.SetFrameList({});
    EXPECT_EQ((std::vector<AnimFrame>{{0, 1.0f}}), animation.frames);
}

// A frame ends once strictly more than its duration has passed, so 1.01 s steps pass one 1 s frame.
TEST(AnimationControllerTest, ShowsTheFramesInOrder)
{
    const struct
    {
        const char* name;
        const char* list;
        int numPlays;
        bool pingPong;
        float step;
        int updates;
        const char* shown;
    } cases[] = {
        {"once", "0-2", 1, false, 1.01f, 4, "0 1 2 .2 .2"},
        {"twice", "0-2", 2, false, 1.01f, 6, "0 1 2 0 1 2 .2"},
        {"endless", "0-2", -1, false, 1.01f, 7, "0 1 2 0 1 2 0 1"},
        {"ping-pong endless", "0-2", -1, true, 1.01f, 8, "0 1 2 1 0 1 2 1 0"},
        {"ping-pong twice ends on the first", "0-2", 2, true, 1.01f, 5, "0 1 2 1 0 .0"},
        {"ping-pong one frame", "7", 3, true, 1.01f, 4, "7 7 7 .7 .7"},
        {"zero plays is endless", "0-1", 0, false, 1.01f, 5, "0 1 0 1 0 1"},
        {"several frames in one update", "0-5", 1, false, 3.5f, 2, "0 3 .5"},
        {"equal time does not advance", "0-1", 1, false, 0.5f, 3, "0 0 0 1"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const SpriteAnimation animation = MakeAnimation("a", c.list, c.numPlays, c.pingPong);
        AnimationController controller;
        controller.SetAnimation(&animation, false);
        EXPECT_EQ(c.shown, Play(controller, c.step, c.updates));
    }
}

TEST(AnimationControllerTest, RestartAndStop)
{
    const SpriteAnimation animation = MakeAnimation("a", "3-6", 1, false);
    AnimationController controller;
    controller.SetAnimation(&animation, false);
    controller.Update(2.5f);
    EXPECT_EQ(5, controller.GetFrameIndex());
    controller.SetAnimation(&animation, false);
    EXPECT_EQ(5, controller.GetFrameIndex()) << "the same animation without restart keeps its timing";
    controller.Update(0.6f);
    EXPECT_EQ(6, controller.GetFrameIndex());
    controller.SetAnimation(&animation, true);
    EXPECT_EQ(3, controller.GetFrameIndex());
    EXPECT_EQ(Label("a"), controller.GetCurAnimationName());

    controller.SetFrameIndex(9);
    EXPECT_FALSE(controller.IsPlaying());
    EXPECT_TRUE(controller.GetCurAnimationName().IsNull());
    controller.Update(5.0f);
    EXPECT_EQ(9, controller.GetFrameIndex());
    controller.SetAnimation(&animation, false);
    controller.SetAnimation(nullptr, false);
    EXPECT_EQ(0, controller.GetFrameIndex());
}

TEST(AnimationControllerTest, LinkedAnimationsTakeOverWithTheTimeLeft)
{
    SpriteType type;
    type.AddAnimation(MakeAnimation("intro", "0-1", 1, false));
    SpriteAnimation intro = MakeAnimation("intro", "0-1", 1, false);
    intro.linkedAnimation = Label("idle");
    type.AddAnimation(intro);
    type.AddAnimation(MakeAnimation("idle", "10-12", -1, false));
    SpriteAnimation broken = MakeAnimation("broken", "20-21", 1, false);
    broken.linkedAnimation = Label("nowhere");
    type.AddAnimation(broken);

    AnimationController controller;
    controller.SetAnimation(type.GetAnimation(Label("intro")), false);
    controller.Update(3.5f); // 0 and 1 take 2 s; 1.5 s more are spent on "idle"
    EXPECT_EQ(Label("idle"), controller.GetCurAnimationName());
    EXPECT_EQ(11, controller.GetFrameIndex());
    controller.Update(0.6f);
    EXPECT_EQ(12, controller.GetFrameIndex());

    controller.SetAnimation(type.GetAnimation(Label("broken")), false);
    controller.Update(2.5f);
    EXPECT_FALSE(controller.IsPlaying()) << "a link to a missing animation stops";
    EXPECT_EQ(21, controller.GetFrameIndex());
}

TEST(AnimationControllerTest, NoUpdateCanHangHoweverLongTheAnimationRan)
{
    SpriteAnimation fast(Label("fast"), -1, true);
    fast.SetFrameList({{0, 0.0f}, {1, 0.0f}, {2, 0.0f}});
    AnimationController controller;
    controller.SetAnimation(&fast, false);
    controller.Update(1e9f); // a billion seconds of 1 ms frames: capped, not walked
    EXPECT_TRUE(controller.IsPlaying());

    // After months of running, 20 ms updates still count: 0.5 s frames turn every 25 updates.
    const SpriteAnimation slow = MakeAnimation("slow", "0-1", -1, false, 0.5f);
    controller.SetAnimation(&slow, false);
    controller.Update(1e7f);
    const int before = controller.GetFrameIndex();
    int changes = 0;
    for (int i = 0; i < 250; ++i)
    {
        const int shown = controller.GetFrameIndex();
        controller.Update(0.02f);
        changes += controller.GetFrameIndex() != shown ? 1 : 0;
    }
    EXPECT_NEAR(10, changes, 1) << "started on " << before;
}

// Sprite types, animation lists and random ranges read from manifests.
using SpriteTypeTest = NodeTest;

TEST_F(SpriteTypeTest, ChildrenReplaceListAnimationsAndLinksResolveInAnyOrder)
{
    ASSERT_EQ("", Load(L"Types", R"(
<spriteanimationlist name="Shared">
  <animation name="walk" frameList="0-3"/>
  <animation name="jump" frameList="4-5" linkedAnimation="land"/>
  <animation name="walk" frameList="0-1"/>
</spriteanimationlist>
<spritetype name="Hero" images="HeroFrames" animationList="Shared">
  <animation name="a" frameList="1" linkedAnimation="b"/>
  <animation name="self" frameList="1" linkedAnimation="self"/>
  <animation name="b" frameList="2"/>
  <animation name="walk" frameList="7"/>
  <animation name="land" frameList="8"/>
  <animation frameList="9"/>
  <animation name="loose" frameList="3"/>
</spritetype>
<spritetype name="Bare"/>
<randomrange name="Spread" max="2.5"/>
)"));
    const auto* shared = AutoResource<SpriteAnimationList>("Shared").Get();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ((std::vector<int>{0, 1}), Indices(shared->GetAnimations().at(Label("walk")).frames));
    EXPECT_EQ(nullptr, shared->GetAnimations().at(Label("jump")).linked) << "lists never resolve links";

    const SpriteType* hero = AutoResource<SpriteType>("Hero").Get();
    ASSERT_NE(nullptr, hero);
    EXPECT_EQ(Label("HeroFrames"), hero->images);
    EXPECT_EQ(Label("Hero"), hero->name);
    EXPECT_EQ((std::vector<int>{7}), Indices(hero->GetAnimation(Label("walk"))->frames));
    EXPECT_EQ(hero->GetAnimation(Label("b")), hero->GetAnimation(Label("a"))->linked);
    EXPECT_EQ(hero->GetAnimation(Label("self")), hero->GetAnimation(Label("self"))->linked);
    EXPECT_EQ(hero->GetAnimation(Label("land")), hero->GetAnimation(Label("jump"))->linked);
    ASSERT_NE(nullptr, hero->GetAnimation(Label("")));
    EXPECT_EQ(nullptr, hero->GetAnimation(Label("loose"))->linked) << "never chained to the unnamed one";

    const SpriteType* bare = AutoResource<SpriteType>("Bare").Get();
    ASSERT_NE(nullptr, bare);
    EXPECT_TRUE(bare->GetAnimations().empty());
    EXPECT_EQ(nullptr, bare->GetAnimation(Label("walk")));

    const SpriteType copy(*hero);
    EXPECT_EQ(copy.GetAnimation(Label("b")), copy.GetAnimation(Label("a"))->linked) << "copies link into themselves";

    EXPECT_EQ((RandomRange{0.0f, 2.5f}), Constant<RandomRange>("Spread").GetValue());
}

TEST_F(SpriteTypeTest, ParseErrorsNameTheirResourceAndKeepNothing)
{
    EXPECT_EQ("in SpriteType \"Hero\": in animation \"walk\": illegal token '-' (line 1, pos 1). ",
              Load(L"A", R"(<spritetype name="Hero"><animation name="walk" frameList="-1"/></spritetype>)"));
    EXPECT_EQ(nullptr, AutoResource<SpriteType>("Hero").Get());
    EXPECT_EQ("in SpriteAnimationList \"Shared\": unrecognized token 'x' (line 1, pos 1)",
              Load(L"B", R"(<spriteanimationlist name="Shared"><animation frameList="x"/></spriteanimationlist>)"));
    EXPECT_EQ(nullptr, AutoResource<SpriteAnimationList>("Shared").Get());
    EXPECT_NE("", Load(L"C", R"(<spritetype name="Big"><animation frameList="99999999999"/></spritetype>)"));
    EXPECT_EQ(nullptr, AutoResource<SpriteType>("Big").Get());
}

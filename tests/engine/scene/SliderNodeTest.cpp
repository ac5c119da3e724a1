#include "scene/SliderNode.h"

#include "SceneWidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// A three-slice channel 10 high (the disabled one green), and thumbs 20 x 12 with five or four frames.
constexpr char kSliderResources[] = R"(
<testimagelist name="Channel"><frame w="4" h="10"/><frame w="4" h="10"/><frame w="4" h="10"/></testimagelist>
<testimagelist name="ChannelOff">
  <frame w="4" h="10" g="200"/><frame w="4" h="10" g="200"/><frame w="4" h="10" g="200"/>
</testimagelist>
<testimagelist name="Thumb">
  <frame w="20" h="12"/><frame w="20" h="12"/><frame w="20" h="12"/><frame w="20" h="12"/><frame w="20" h="12"/>
</testimagelist>
<testimagelist name="Thumb4">
  <frame w="20" h="12"/><frame w="20" h="12"/><frame w="20" h="12"/><frame w="20" h="12"/>
</testimagelist>
)";

// A 200-pixel slider at the origin: the thumb travels 180 pixels.
constexpr char kSlider[] =
    R"(<slidernode name="Volume" channelImages="Channel" disableImages="ChannelOff" thumbImages="Thumb" )"
    R"(width="200" initialValue="0.5" sounds="Clicks"/>)";

constexpr int kLeft = 37;
constexpr int kRight = 39;

const std::string kChange = "SliderValueChange from Volume";
const std::string kReleased = "SliderReleased from Volume";

class SliderTest : public SceneWidgetTest
{
protected:
    void SetUp() override
    {
        SceneWidgetTest::SetUp();
        ASSERT_EQ("", Load(L"Sliders", kSliderResources));
        slider = Place<SliderNode>(kSlider);
        ASSERT_NE(nullptr, slider);
        TakeMessages();
    }

    SliderNode* slider = nullptr;
};

} // namespace

TEST_F(SliderTest, ValuesAndThumbPlacesStayWithinTheTravel)
{
    struct Case
    {
        const char* attributes;
        float value;
        float thumbX;
        float height;
    };
    const Case cases[] = {
        {R"(thumbImages="Thumb" width="200" initialValue="0.5")", 0.5f, 90.0f, 12.0f},
        {R"(thumbImages="Thumb" width="200" initialValue="1.5")", 1.0f, 180.0f, 12.0f},
        {R"(thumbImages="Thumb" width="200" initialValue="-2")", 0.0f, 0.0f, 12.0f},
        // No travel: a thumb as wide as the slider, or wider.
        {R"(thumbImages="Thumb" width="20" initialValue="0.5")", 0.0f, 0.0f, 12.0f},
        {R"(thumbImages="Thumb" width="8" initialValue="0.5")", 0.0f, 0.0f, 12.0f},
        // No thumb: the whole width is travel.
        {R"(width="100" initialValue="0.7")", 0.7f, 70.0f, 10.0f},
    };
    for (const Case& c : cases)
    {
        auto* node = Place<SliderNode>(std::string(R"(<slidernode channelImages="Channel" )") + c.attributes + "/>");
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(c.value, node->GetValue()) << c.attributes;
        EXPECT_EQ(c.thumbX, node->GetThumbOffset().x) << c.attributes;
        EXPECT_EQ(c.height, node->GetHeight()) << c.attributes;
        // Presses and drags anywhere leave a value within [0, 1], never NaN.
        for (int x : {2, 150, 5})
        {
            Press(x, 5);
            scene->OnMouseMove(x + 30, 5);
            Release(x + 30, 5);
            const float value = node->GetValue();
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << c.attributes << " at " << x << ": " << value;
        }
        node->LocalSetVisible(false);
    }
}

TEST_F(SliderTest, AClickOnTheChannelCentresTheThumbWithoutADrag)
{
    struct Case
    {
        int x;
        float value;
    };
    // The thumb's centre goes to the pointer, clamped at both ends.
    const Case cases[] = {{60, 50.0f / 180.0f}, {3, 0.0f}, {199, 1.0f}, {100, 0.5f}};
    for (const Case& c : cases)
    {
        Press(c.x, 5);
        EXPECT_FLOAT_EQ(c.value, slider->GetValue()) << c.x;
        EXPECT_EQ(nullptr, scene->GetMouseCapturingNode()) << c.x;
        EXPECT_EQ(std::vector<std::string>{kChange}, TakeMessages()) << c.x;
        EXPECT_EQ(std::vector<std::string>{"Hot"}, TakeSounds()) << c.x;
        Release(c.x, 5);
        // No drag, so the release reports nothing.
        EXPECT_TRUE(TakeMessages().empty()) << c.x;
    }
}

TEST_F(SliderTest, ADragFollowsThePointerBeyondTheNodeAndReportsTheRelease)
{
    Press(95, 5);
    EXPECT_EQ(slider, scene->GetMouseCapturingNode());
    EXPECT_EQ(std::vector<std::string>{"Down"}, TakeSounds());
    EXPECT_TRUE(TakeMessages().empty());

    scene->OnMouseMove(125, 300);
    EXPECT_FLOAT_EQ(120.0f / 180.0f, slider->GetValue());
    scene->OnMouseMove(900, -40);
    EXPECT_EQ(1.0f, slider->GetValue());
    scene->OnMouseMove(-900, 5);
    EXPECT_EQ(0.0f, slider->GetValue());
    EXPECT_EQ(std::vector<std::string>(3, kChange), TakeMessages());
    // While dragging, the thumb makes no hot sound.
    EXPECT_TRUE(TakeSounds().empty());

    // Released on the thumb: reported.
    Release(5, 5);
    EXPECT_EQ(std::vector<std::string>{kReleased}, TakeMessages());
    EXPECT_EQ(nullptr, scene->GetMouseCapturingNode());

    // Released where neither channel nor thumb is: the drag ends unreported.
    Press(5, 5);
    scene->OnMouseMove(400, 400);
    TakeMessages();
    Release(400, 400);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(nullptr, scene->GetMouseCapturingNode());
    EXPECT_EQ(1.0f, slider->GetValue());
}

TEST_F(SliderTest, DisablingDuringADragEndsItAtTheReleaseWithoutAMessage)
{
    Press(95, 5);
    slider->Enable(false);
    scene->OnMouseMove(150, 5);
    Release(95, 5);
    EXPECT_EQ(nullptr, scene->GetMouseCapturingNode());
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(0.5f, slider->GetValue());

    // Disabled, it still hit-tests but ignores presses.
    EXPECT_EQ(MessageResult_Handled, scene->OnMouseDown(MouseButton_Left, 20, 5));
    EXPECT_EQ(0.5f, slider->GetValue());
    EXPECT_EQ(nullptr, scene->GetMouseCapturingNode());
    EXPECT_TRUE(TakeMessages().empty());
    TakeSounds();
    scene->OnMouseMove(95, 5);
    EXPECT_FALSE(slider->IsHot());
    EXPECT_TRUE(TakeSounds().empty());
}

TEST_F(SliderTest, ArrowKeysMoveTheThumbOnlyWhileFocusedAndEngaged)
{
    struct Step
    {
        int key;
        MessageResult result;
        float value;
        bool engaged;
        int messages;
    };
    const Step steps[] = {
        {kRight, MessageResult_Unhandled, 0.5f, false, 0},
        {kWidgetDisengageKey, MessageResult_Unhandled, 0.5f, false, 0},
        {kWidgetEngageKey, MessageResult_Handled, 0.5f, true, 0},
        {kRight, MessageResult_Handled, 0.55f, true, 1},
        {kLeft, MessageResult_Handled, 0.5f, true, 1},
        {65, MessageResult_Unhandled, 0.5f, true, 0},
        {kWidgetDisengageKey, MessageResult_Handled, 0.5f, false, 0},
        {kLeft, MessageResult_Unhandled, 0.5f, false, 0},
        {kWidgetEngageKey, MessageResult_Handled, 0.5f, true, 0},
        {kWidgetEngageKey, MessageResult_Handled, 0.5f, false, 0},
    };
    // Without the focus nothing is taken.
    EXPECT_EQ(MessageResult_Unhandled, slider->OnKeyDown(kWidgetEngageKey));
    scene->SetFocusedNode(slider);
    for (const Step& step : steps)
    {
        EXPECT_EQ(step.result, slider->OnKeyDown(step.key)) << step.key;
        EXPECT_NEAR(step.value, slider->GetValue(), 1e-5f) << step.key;
        EXPECT_EQ(step.engaged, slider->IsEngaged()) << step.key;
        EXPECT_EQ(static_cast<size_t>(step.messages), TakeMessages().size()) << step.key;
    }

    // At the ends the value stops, still reporting each press.
    slider->OnKeyDown(kWidgetEngageKey);
    for (int i = 0; i < 12; ++i)
        slider->OnKeyDown(kRight);
    EXPECT_EQ(1.0f, slider->GetValue());
    EXPECT_EQ(12u, TakeMessages().size());

    // A disabled slider still answers the keys while focused; losing the focus ends the keyboard mode.
    slider->Enable(false);
    EXPECT_EQ(MessageResult_Handled, slider->OnKeyDown(kLeft));
    EXPECT_NEAR(0.95f, slider->GetValue(), 1e-5f);
    slider->ReceiveMessage(ObjectMessage(GetLostFocusMessageName()));
    EXPECT_FALSE(slider->IsEngaged());
}

TEST_F(SliderTest, TheThumbFrameFollowsTheState)
{
    auto* four = Place<SliderNode>(R"(<slidernode channelImages="Channel" thumbImages="Thumb4" width="200" y="40"/>)");
    ASSERT_NE(nullptr, four);
    EXPECT_EQ(0, slider->GetThumbFrame());
    scene->OnMouseMove(95, 5);
    EXPECT_EQ(1, slider->GetThumbFrame());
    EXPECT_EQ(std::vector<std::string>{"Hot"}, TakeSounds());
    Press(95, 5);
    EXPECT_EQ(2, slider->GetThumbFrame());
    Release(95, 5);
    scene->OnMouseMove(300, 300);
    EXPECT_FALSE(slider->IsHot());

    for (SliderNode* node : {slider, four})
    {
        scene->SetFocusedNode(node);
        EXPECT_EQ(0, node->GetThumbFrame());
        node->OnKeyDown(kWidgetEngageKey);
        // The fifth frame shows the keyboard mode; a list without one shows the hot frame.
        EXPECT_EQ(node == slider ? 4 : 1, node->GetThumbFrame());
        node->Enable(false);
        EXPECT_EQ(3, node->GetThumbFrame());
    }
}

TEST_F(SliderTest, DrawsTheChannelForItsStateTheFocusShadeAndTheThumb)
{
    const auto draw = [this]
    {
        Target target(220, 20);
        slider->DrawScene();
        // Channel left of the thumb, and the thumb.
        return std::make_pair(target.At(50, 5), target.At(95, 5));
    };
    auto [channel, thumb] = draw();
    EXPECT_EQ(FrameRed(1), channel.r);
    EXPECT_EQ(0, channel.g);
    EXPECT_EQ(FrameRed(0), thumb.r);

    // Focused but not engaged: a half-transparent white shade over the node, under the thumb.
    scene->SetFocusedNode(slider);
    std::tie(channel, thumb) = draw();
    EXPECT_GT(channel.g, 100);
    EXPECT_LT(channel.g, 160);
    EXPECT_EQ(FrameRed(0), thumb.r);

    slider->OnKeyDown(kWidgetEngageKey);
    std::tie(channel, thumb) = draw();
    EXPECT_EQ(0, channel.g);
    EXPECT_EQ(FrameRed(4), thumb.r);

    slider->Enable(false);
    std::tie(channel, thumb) = draw();
    EXPECT_EQ(200, channel.g);
    EXPECT_EQ(FrameRed(3), thumb.r);
}

TEST_F(SliderTest, MissingImagesAreReportedOnceAndDrawNothing)
{
    ::testing::internal::CaptureStderr();
    SliderNode* first = Place<SliderNode>(R"(<slidernode channelImages="Gone" thumbImages="Lost" width="100"/>)");
    SliderNode* second = Place<SliderNode>(R"(<slidernode channelImages="Gone" thumbImages="Lost" width="100"/>)");
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(first && second);
    EXPECT_EQ("slidernode: image list \"Gone\" not found\nslidernode: image list \"Lost\" not found\n",
              LinesWith(log, "not found"));
    slider->LocalSetVisible(false);
    Target target(220, 20);
    scene->GetRootNode()->DrawScene();
    EXPECT_TRUE(target.Drawn().isEmpty());
    EXPECT_EQ(MessageResult_Unhandled, scene->OnMouseDown(MouseButton_Left, 10, 5));
    EXPECT_EQ(0.0f, first->GetValue());
}

#include "controls/Slider.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

Image* Solid(int width, int height, Color32 color)
{
    return new Image(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height, true, false);
}

// `count` images of the size; image i is red (i * 40 + 40).
std::unique_ptr<ImageList> List(int count, int width, int height)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < count; ++i)
        list->AddOwnedImage(Solid(width, height, Color32(static_cast<uint8_t>(i * 40 + 40), 0, 0, 255)));
    return list;
}

class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        if (message.GetName() == Label(name.c_str()) && message.GetSender() == sender)
            ++count;
    }
    std::string name = "SliderValueChange";
    ObjectID sender;
    int count = 0;
};

// A slider at (0, 0), 110 wide, with a 10 x 10 thumb: the thumb travels 100 pixels.
class SliderTest : public ::testing::Test
{
protected:
    SliderTest()
    {
        MainLoop::WithinContext(&mode, guard);
        slider = new SliderObject(Label("s"));
        slider->SetChannelImages(channel.get());
        slider->SetThumbImages(thumb.get());
        slider->SetWidth(110.0f);
        mode.AddObject(slider);
        mode.Update(0.0f);
        mode.sender = slider->GetID();
    }

    std::unique_ptr<ImageList> channel = List(3, 4, 6);
    std::unique_ptr<ImageList> thumb = List(5, 10, 10);
    RecordingMode mode;
    MainLoop::AutoContext guard;
    SliderObject* slider = nullptr;
};

TEST_F(SliderTest, SnappingPicksTheNearestTickAndTheLowerOfTwo)
{
    slider->SetNumTicks(5);
    slider->SetSnapToTicks(true);
    slider->SetValue(0.625f);
    EXPECT_FLOAT_EQ(0.5f, slider->GetValue());
    slider->SetValue(0.63f);
    EXPECT_FLOAT_EQ(0.75f, slider->GetValue());
    slider->SetValue(-3.0f);
    EXPECT_FLOAT_EQ(0.0f, slider->GetValue());
    slider->SetValue(7.0f);
    EXPECT_FLOAT_EQ(1.0f, slider->GetValue());
    EXPECT_EQ(0, mode.count); // SetValue is silent

    // A drag to 0.6 lands on 0.5.
    slider->SetValue(0.0f);
    mode.OnMouseDown(MouseButton_Left, 5, 5);
    mode.OnMouseMove(65, 5);
    EXPECT_FLOAT_EQ(0.5f, slider->GetValue());
    EXPECT_FLOAT_EQ(50.0f, slider->GetThumbLocation());
    mode.OnMouseUp(MouseButton_Left, 55, 5);

    // One tick: everything lands on 1 and the slider takes no focus.
    slider->SetNumTicks(1);
    slider->SetValue(0.2f);
    EXPECT_FLOAT_EQ(1.0f, slider->GetValue());
    EXPECT_FALSE(slider->CanFocus());
    slider->SetSnapToTicks(false);
    EXPECT_TRUE(slider->CanFocus());

    // A huge tick count is not walked tick by tick.
    slider->SetNumTicks(INT_MAX);
    slider->SetSnapToTicks(true);
    slider->SetValue(0.3f);
    EXPECT_NEAR(0.3f, slider->GetValue(), 1e-6f);
}

TEST_F(SliderTest, KeysStepOnlyInKeyboardAdjustmentMode)
{
    EXPECT_EQ(MessageResult_Unhandled, slider->OnKeyDown(SliderObject::kKeyEnterAdjustment)); // unfocused
    slider->Focus();
    EXPECT_EQ(MessageResult_Unhandled, slider->OnKeyDown(Key_Right));
    EXPECT_EQ(MessageResult_Unhandled, slider->OnKeyDown(SliderObject::kKeyLeaveAdjustment));
    EXPECT_EQ(MessageResult_Handled, slider->OnKeyDown(SliderObject::kKeyEnterAdjustment));
    EXPECT_TRUE(slider->IsKeyboardActive());

    // Unsnapped steps of 0.05, clamped at 0.
    slider->SetValue(0.02f);
    EXPECT_EQ(MessageResult_Handled, slider->OnKeyDown(Key_Left));
    EXPECT_FLOAT_EQ(0.0f, slider->GetValue());
    EXPECT_EQ(MessageResult_Unhandled, slider->OnKeyDown(Key_Up));

    // Snapped to 5 ticks: 0.25 a key; at the end another key still reports a change.
    slider->SetNumTicks(5);
    slider->SetSnapToTicks(true);
    mode.count = 0;
    for (float expected : {0.25f, 0.5f, 0.75f, 1.0f, 1.0f})
    {
        slider->OnKeyDown(Key_Right);
        EXPECT_FLOAT_EQ(expected, slider->GetValue());
    }
    EXPECT_EQ(5, mode.count);

    // 513 leaves the mode, and so does losing the focus.
    EXPECT_EQ(MessageResult_Handled, slider->OnKeyDown(SliderObject::kKeyLeaveAdjustment));
    EXPECT_FALSE(slider->IsKeyboardActive());
    slider->OnKeyDown(SliderObject::kKeyEnterAdjustment);
    mode.SetFocus(nullptr);
    EXPECT_FALSE(slider->IsKeyboardActive());
}

TEST_F(SliderTest, OnlyTheOpaqueThumbIsGrabbedAndTheDragKeepsItsOffset)
{
    slider->SetValue(0.5f);                                                        // thumb at 50..60
    EXPECT_EQ(MessageResult_Unhandled, mode.OnMouseDown(MouseButton_Left, 20, 5)); // the channel
    EXPECT_EQ(nullptr, mode.GetCapture());

    slider->SetAlphaSensitivity(0);
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 20, 5));
    EXPECT_TRUE(slider->HasCapture());
    mode.OnMouseMove(30, 5); // moved by 10, no jump under the pointer
    EXPECT_FLOAT_EQ(60.0f, slider->GetThumbLocation());

    // Never past either end; every move reports, moved or not.
    mode.count = 0;
    mode.OnMouseMove(500, 5);
    EXPECT_FLOAT_EQ(1.0f, slider->GetValue());
    mode.OnMouseMove(600, 5);
    mode.OnMouseMove(-500, 5);
    EXPECT_FLOAT_EQ(0.0f, slider->GetValue());
    EXPECT_EQ(3, mode.count);

    // A release outside still ends the capture, but releases nothing.
    mode.name = "SliderReleased";
    mode.count = 0;
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 300, 300)); // swallowed as the capture's
    EXPECT_EQ(nullptr, mode.GetCapture());
    EXPECT_EQ(0, mode.count);
    // A release over the slider is heard though the press began elsewhere.
    mode.OnMouseDown(MouseButton_Left, 300, 300);
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 5, 5));
    EXPECT_EQ(1, mode.count);
}

TEST_F(SliderTest, NoRoomToMoveGivesZeroNeverNaN)
{
    slider->SetWidth(10.0f); // as wide as the thumb
    EXPECT_EQ(0.0f, slider->GetValue());
    EXPECT_EQ(0.0f, slider->ThumbLocationToValue(5.0f));
    slider->SetAlphaSensitivity(0);
    mode.OnMouseDown(MouseButton_Left, 5, 5);
    mode.OnMouseMove(9, 5);
    EXPECT_EQ(0.0f, slider->GetValue());
    EXPECT_EQ(0.0f, slider->GetThumbLocation()); // clamped into an empty range without fault
    mode.OnMouseUp(MouseButton_Left, 5, 5);

    SliderObject bare(Label("bare"));
    EXPECT_EQ(0.0f, bare.GetValue());
    bare.SetValue(0.7f);
    EXPECT_FALSE(std::isnan(bare.GetValue()));
    EXPECT_FALSE(bare.BoundsContains(0.0f, 0.0f)); // nothing to grab
    bare.Draw();                                   // reported, not drawn, no crash
}

TEST_F(SliderTest, BoundsChangesKeepTheValueAndThumbImagesResetIt)
{
    EXPECT_EQ(10.0f, slider->GetBounds().height); // the taller of thumb (10) and channel (6)
    slider->SetValue(0.25f);
    slider->SetLocation(Vector2<float>(100.0f, 40.0f));
    EXPECT_FLOAT_EQ(0.25f, slider->GetValue());
    EXPECT_FLOAT_EQ(125.0f, slider->GetThumbLocation());
    slider->SetWidth(210.0f);
    EXPECT_FLOAT_EQ(150.0f, slider->GetThumbLocation());
    slider->SetThumbImages(thumb.get());
    EXPECT_EQ(0.0f, slider->GetValue());
}

TEST_F(SliderTest, ThumbStatesAndDrawing)
{
    EXPECT_EQ(0, slider->GetThumbIndex());
    mode.OnMouseMove(5, 5);
    EXPECT_EQ(1, slider->GetThumbIndex());
    mode.OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_EQ(2, slider->GetThumbIndex());
    mode.OnMouseUp(MouseButton_Left, 5, 5);
    mode.OnMouseMove(300, 300);
    slider->Focus();
    EXPECT_EQ(0, slider->GetThumbIndex());
    slider->OnKeyDown(SliderObject::kKeyEnterAdjustment);
    EXPECT_EQ(4, slider->GetThumbIndex());
    auto four = List(4, 10, 10);
    slider->SetThumbImages(four.get());
    EXPECT_EQ(1, slider->GetThumbIndex());
    slider->Enable(false);
    EXPECT_EQ(3, slider->GetThumbIndex());
    slider->Enable(true);
    slider->SetThumbImages(thumb.get());

    Image target(120, 12);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    slider->OnKeyDown(SliderObject::kKeyLeaveAdjustment); // focused, not adjusting: highlighted
    slider->SetValue(0.5f);
    slider->Draw();
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);
    EXPECT_EQ(40, target.GetPixel(55, 5).r);  // normal thumb at 50
    EXPECT_GT(target.GetPixel(61, 8).a, 0);   // the highlight covers the bounds, not only the channel
    EXPECT_EQ(0, target.GetPixel(115, 5).a);  // and no more
    EXPECT_GT(target.GetPixel(20, 2).r, 120); // channel middle lightened by the focus highlight
}

TEST_F(SliderTest, FactoryReadsOnlyPresentAttributes)
{
    SliderObjectFactory factory;
    std::unique_ptr<Object> plain(factory.CreateObject(Label("p"), AttributeContainer()));
    auto* made = dynamic_cast<SliderObject*>(plain.get());
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(25, made->GetAlphaSensitivity());
    EXPECT_EQ(0, made->GetNumTicks());
    EXPECT_FALSE(made->GetSnapToTicks());
    EXPECT_EQ(nullptr, made->GetThumbImages());

    const AttributeContainer set(AttributeContainer::AttributeMap{
        {L"alphaSensitivity", L"0"}, {L"numTicks", L"3"}, {L"snapToTicks", L"true"}, {L"thumbImages", L"none"}});
    std::unique_ptr<Object> configured(factory.CreateObject(Label("c"), set));
    made = dynamic_cast<SliderObject*>(configured.get());
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(0, made->GetAlphaSensitivity());
    EXPECT_EQ(3, made->GetNumTicks());
    EXPECT_TRUE(made->GetSnapToTicks());
    EXPECT_EQ(nullptr, made->GetThumbImages()); // no such resource
}

} // namespace

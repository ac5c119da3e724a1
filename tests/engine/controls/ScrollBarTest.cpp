#include "controls/ScrollBar.h"

#include "controls/Button.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;

namespace
{

Color32 PieceColor(int i)
{
    return Color32(static_cast<uint8_t>(i * 20 + 20), 0, 100, 255);
}

// `count` opaque images of the given size, image i in PieceColor(i).
std::unique_ptr<ImageList> Pieces(int count, int width, int height)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < count; ++i)
    {
        list->AddOwnedImage(new Image(std::vector<Color32>(static_cast<size_t>(width) * height, PieceColor(i)), width,
                                      height, true, false));
    }
    return list;
}

class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        messages.emplace_back(message.GetName().c_str(), message.GetSender());
    }
    std::vector<std::pair<std::string, ObjectID>> messages;
};

class ScrollBarTest : public ::testing::Test
{
protected:
    ScrollBarTest() { MainLoop::WithinContext(&mode, guard); }

    ButtonObject* Button(const char* name) { return dynamic_cast<ButtonObject*>(mode.GetNamedObject(Label(name))); }

    // A bar named "bar" with 16 x 16 arrows at (x, y, 16, height).
    ScrollBarObject* AddBar(float x, float y, float height)
    {
        auto* bar = new ScrollBarObject(Label("bar"));
        mode.AddObject(bar);
        bar->SetUpArrowImages(arrows.get());
        bar->SetDownArrowImages(arrows.get());
        bar->SetBounds(Rect<float>(x, y, 16, height));
        mode.Update(0.0f);
        return bar;
    }

    std::unique_ptr<ImageList> arrows = Pieces(4, 16, 16);
    RecordingMode mode;
    MainLoop::AutoContext guard;
};

TEST_F(ScrollBarTest, ArrowsAreNamedAfterTheBarAndFollowItsLayerAndBounds)
{
    auto* bar = new ScrollBarObject(Label("list1Bar"));
    ButtonObject* up = Button("list1BarScrollUp");
    ButtonObject* down = Button("list1BarScrollDown");
    ASSERT_NE(nullptr, up);
    ASSERT_NE(nullptr, down);
    EXPECT_EQ(nullptr, mode.GetNamedObject(Label("list1Bar"))); // the arrows go in first
    mode.AddObject(bar);
    EXPECT_EQ(up, bar->GetUpArrow());
    EXPECT_EQ(down, bar->GetDownArrow());

    bar->SetDownArrowImages(arrows.get());
    EXPECT_EQ(Rect<float>(0, 0, 16, 16), down->GetBounds()); // sized by its images
    bar->SetBounds(Rect<float>(10, 20, 16, 200));
    EXPECT_EQ(Vector2<float>(10, 20), up->GetLocation());
    EXPECT_EQ(Vector2<float>(10, 204), down->GetLocation());

    bar->SetLayer(3.0f);
    EXPECT_EQ(3.0f, bar->GetLayer());
    EXPECT_EQ(4.0f, up->GetLayer());
    EXPECT_EQ(4.0f, down->GetLayer());
    static_cast<IDrawable*>(bar)->SetLayer(7.0f); // through the drawable face too
    EXPECT_EQ(8.0f, down->GetLayer());

    // Every way of moving or resizing the bar goes through SetBounds.
    bar->SetLocation(Vector2<float>(30, 40));
    EXPECT_EQ(Vector2<float>(30, 40), up->GetLocation());
    EXPECT_EQ(Vector2<float>(30, 224), down->GetLocation());
    bar->SetHeight(100);
    EXPECT_EQ(Vector2<float>(30, 124), down->GetLocation());
    static_cast<IBounds*>(bar)->SetBounds(Rect<float>(5, 6, 16, 50));
    EXPECT_EQ(Vector2<float>(5, 6), up->GetLocation());
    EXPECT_EQ(Vector2<float>(5, 40), down->GetLocation());
}

TEST_F(ScrollBarTest, MissingArrowsArePassedOverAndArrowsGoWithTheBar)
{
    ScrollBarObject* bar = AddBar(0, 0, 100);
    ButtonObject* down = bar->GetDownArrow();
    ASSERT_NE(nullptr, down);
    mode.DestroyObject(bar->GetUpArrow()->GetID());
    mode.Update(0.0f);
    EXPECT_EQ(nullptr, bar->GetUpArrow());
    bar->SetUpArrowImages(arrows.get());
    bar->SetSounds(nullptr);
    bar->SetLayer(2.0f);
    bar->SetBounds(Rect<float>(50, 0, 16, 60));
    EXPECT_EQ(Vector2<float>(50, 44), down->GetLocation()); // the one left still follows
    EXPECT_EQ(3.0f, down->GetLayer());

    mode.DestroyObject(bar->GetID());
    mode.Update(0.0f);
    EXPECT_EQ(nullptr, mode.GetNamedObject(Label("bar")));
    EXPECT_EQ(nullptr, Button("barScrollDown"));
    ObjectDatabase::sIterator iterator;
    EXPECT_FALSE(mode.IsValidObjectID(mode.GetNextObject(&iterator))) << "nothing of the bar is left";

    // With no database current there are no arrows at all.
    MainLoop::AutoContext outside;
    MainLoop::WithinContext(nullptr, outside);
    ScrollBarObject lone(Label("lone"));
    lone.SetDownArrowImages(arrows.get());
    lone.SetBounds(Rect<float>(1, 2, 16, 40));
    lone.SetLayer(1.0f);
    EXPECT_EQ(nullptr, lone.GetDownArrow());
    EXPECT_EQ(Rect<float>(1, 2, 16, 40), lone.GetBounds());
}

TEST_F(ScrollBarTest, ArrowClicksAreTheButtonsOwnAndLeaveNoCapture)
{
    ScrollBarObject* bar = AddBar(0, 0, 100);
    const ObjectID up = bar->GetUpArrow()->GetID();
    const ObjectID down = bar->GetDownArrow()->GetID();

    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 5, 90));
    EXPECT_EQ(down, mode.GetCapture()->GetID());
    mode.OnMouseUp(MouseButton_Left, 6, 91);
    EXPECT_EQ(nullptr, mode.GetCapture());
    ASSERT_EQ(1u, mode.messages.size());
    EXPECT_EQ(std::make_pair(std::string("ButtonClick"), down), mode.messages[0]);

    // Pressed on an arrow and released on the channel: no click, and the capture still ends.
    mode.OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_EQ(up, mode.GetCapture()->GetID());
    mode.OnMouseUp(MouseButton_Left, 5, 50);
    EXPECT_EQ(nullptr, mode.GetCapture());
    EXPECT_EQ(1u, mode.messages.size());

    // The channel itself takes no input.
    EXPECT_EQ(MessageResult_Unhandled, mode.OnMouseDown(MouseButton_Left, 5, 50));
    EXPECT_EQ(nullptr, mode.GetCapture());
    EXPECT_EQ(MessageResult_Unhandled, bar->OnKeyDown(13));
    EXPECT_EQ(1u, mode.messages.size());
}

TEST_F(ScrollBarTest, DrawsTheChannelStretchedToItsHeight)
{
    auto channel = Pieces(3, 4, 2);
    ScrollBarObject* bar = AddBar(1, 1, 10);
    bar->SetChannelImages(channel.get());
    bar->SetBounds(Rect<float>(1, 1, 4, 10));
    {
        Testing::CanvasScope target(8, 16);
        bar->Draw();
        EXPECT_EQ(PieceColor(0).r, target.Red(1, 1));
        EXPECT_EQ(PieceColor(1).r, target.Red(4, 5));
        EXPECT_EQ(PieceColor(2).r, target.Red(1, 10)); // bottom cap flush with the bottom edge
        EXPECT_EQ(Rect<int>(1, 1, 4, 10), target.DrawnArea());
    }
    bar->SetVisible(false);
    {
        Testing::CanvasScope target(8, 16);
        bar->Draw();
        EXPECT_EQ(Rect<int>(), target.DrawnArea());
    }
    bar->SetVisible(true);
    auto shortList = Pieces(2, 4, 2);
    for (const IImageList* missing :
         {static_cast<const IImageList*>(nullptr), static_cast<const IImageList*>(shortList.get())})
    {
        bar->SetChannelImages(missing);
        Testing::CanvasScope target(8, 16);
        bar->Draw();
        bar->Draw(); // reported once, never a crash
        EXPECT_EQ(Rect<int>(), target.DrawnArea());
    }
}

class ScrollBarLayoutTest : public Testing::LayoutTest
{
};

TEST_F(ScrollBarLayoutTest, FactorySizesTheArrowsBeforeTheLoaderPlacesThem)
{
    LoadManifest(L"lists", "<testlist name=\"Channel\" count=\"3\" width=\"16\" height=\"8\"/>\n"
                           "<testlist name=\"Arrows\" count=\"4\" width=\"16\" height=\"16\"/>\n");
    const auto layout = MakeLayout("", "<scrollbar name=\"list1Bar\" channelImages=\"Channel\" "
                                       "thumbImages=\"Arrows\" upArrowImages=\"Arrows\" downArrowImages=\"Arrows\" "
                                       "sounds=\"Clicks\" x=\"10\" y=\"20\" width=\"16\" height=\"200\" layer=\"3\"/>\n"
                                       "<scrollbar name=\"bare\" channelImages=\"Missing\"/>\n"
                                       // Two bars without a name make arrows of the same two names.
                                       "<scrollbar/>\n<scrollbar/>\n");
    ASSERT_NE(nullptr, layout);
    layout->Load();

    auto* bar = Named<ScrollBarObject>("list1Bar");
    ASSERT_NE(nullptr, bar);
    ASSERT_NE(nullptr, bar->GetChannelImages());
    EXPECT_EQ(3, bar->GetChannelImages()->GetNumImages());
    EXPECT_NE(nullptr, bar->GetThumbImages());
    EXPECT_EQ(nullptr, bar->GetSounds()); // no audio layer: no sound list to find
    auto* up = Named<ButtonObject>("list1BarScrollUp");
    auto* down = Named<ButtonObject>("list1BarScrollDown");
    ASSERT_NE(nullptr, up);
    ASSERT_NE(nullptr, down);
    EXPECT_EQ(Rect<float>(10, 20, 16, 16), up->GetBounds());
    EXPECT_EQ(Rect<float>(10, 204, 16, 16), down->GetBounds());
    EXPECT_EQ(4.0f, down->GetLayer());
    EXPECT_EQ(nullptr, down->mSounds);

    auto* bare = Named<ScrollBarObject>("bare");
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(nullptr, bare->GetChannelImages());
    EXPECT_EQ(nullptr, bare->GetThumbImages());

    // Unloading takes the bars and their arrows; loaded again, each bar has one pair of arrows.
    for (int round = 0; round < 2; ++round)
    {
        layout->Unload();
        mode->Update(0.0f);
        EXPECT_EQ(nullptr, Named<ScrollBarObject>("list1Bar"));
        for (const char* arrow : {"list1BarScrollUp", "list1BarScrollDown", "bareScrollUp", "bareScrollDown"})
            EXPECT_EQ(nullptr, Named<ButtonObject>(arrow)) << arrow;
        ObjectDatabase::sIterator iterator;
        EXPECT_FALSE(mode->IsValidObjectID(mode->GetNextObject(&iterator)));
        layout->Load();
        mode->Update(0.0f);
        EXPECT_EQ(Rect<float>(10, 204, 16, 16), Named<ButtonObject>("list1BarScrollDown")->GetBounds());
    }
}

} // namespace

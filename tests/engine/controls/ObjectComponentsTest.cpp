#include "controls/ObjectComponents.h"

#include "controls/LayoutInstance.h"
#include "framework/ApplicationMode.h"
#include "framework/AutoObject.h"
#include "framework/MainLoop.h"

#include <gtest/gtest.h>

#include <list>
#include <vector>

using namespace Strata;

namespace
{

// Records every rectangle that reaches SetBounds.
class WatchedBounds : public BoundsComponent
{
public:
    void SetBounds(const Rect<float>& bounds) override
    {
        seen.push_back(bounds);
        BoundsComponent::SetBounds(bounds);
    }
    std::vector<Rect<float>> seen;
};

class Located : public Object, public LocationComponent
{
};

class Faded : public Object, public AlphaComponent
{
};

} // namespace

TEST(BoundsComponent, LeftAndTopEdgesAreInsideRightAndBottomOutside)
{
    BoundsComponent bounds(Rect<float>(10.0f, 20.0f, 5.0f, 4.0f));
    EXPECT_TRUE(bounds.BoundsContains(10.0f, 20.0f));
    EXPECT_TRUE(bounds.BoundsContains(14.9f, 23.9f));
    EXPECT_FALSE(bounds.BoundsContains(15.0f, 21.0f));
    EXPECT_FALSE(bounds.BoundsContains(11.0f, 24.0f));
    EXPECT_FALSE(bounds.BoundsContains(9.9f, 21.0f));

    BoundsComponent flat(Rect<float>(0.0f, 0.0f, 0.0f, 10.0f));
    EXPECT_FALSE(flat.BoundsContains(0.0f, 0.0f));
}

TEST(BoundsComponent, PartialSettersGoThroughTheOverridableSetBounds)
{
    WatchedBounds bounds;
    bounds.SetBounds(Rect<float>(1.0f, 2.0f, 3.0f, 4.0f));
    bounds.SetHeight(9.0f);
    bounds.SetWidth(8.0f);
    bounds.SetLocation(Vector2<float>(-1.0f, -2.0f));
    ASSERT_EQ(4u, bounds.seen.size());
    EXPECT_EQ(Rect<float>(1.0f, 2.0f, 3.0f, 9.0f), bounds.seen[1]);
    EXPECT_EQ(Rect<float>(1.0f, 2.0f, 8.0f, 9.0f), bounds.seen[2]);
    EXPECT_EQ(Rect<float>(-1.0f, -2.0f, 8.0f, 9.0f), bounds.seen[3]);
    // The location follows changes made through the bounds reference.
    bounds.GetBounds().x = 40.0f;
    EXPECT_EQ(Vector2<float>(40.0f, -2.0f), bounds.GetLocation());
}

TEST(Components, ColourAlphaIsTheColoursAlphaChannel)
{
    ColorComponent color;
    EXPECT_EQ(ColorF(1.0f, 1.0f, 1.0f, 1.0f), color.GetColor());
    color.SetColor(ColorF(0.1f, 0.2f, 0.3f, 0.4f));
    color.SetAlpha(0.9f);
    EXPECT_EQ(ColorF(0.1f, 0.2f, 0.3f, 0.9f), color.GetColor());
    EXPECT_FLOAT_EQ(0.9f, color.GetAlpha());

    FontComponent font;
    EXPECT_FALSE(font.HasFont());
    EXPECT_EQ(TextMode_Normal, font.GetTextMode());
    ScaleComponent scale;
    EXPECT_EQ(Vector2<float>(1.0f, 1.0f), scale.GetScale());
    scale.SetScale(2.5f);
    EXPECT_EQ(Vector2<float>(2.5f, 2.5f), scale.GetScale());
}

TEST(Components, AlignmentTextsAreExactAndCaseSensitive)
{
    EXPECT_EQ(HAlignment_Left, StringToHAlignment(L"left", HAlignment_Right));
    EXPECT_EQ(HAlignment_Center, StringToHAlignment(L"center", HAlignment_Left));
    EXPECT_EQ(HAlignment_Right, StringToHAlignment(L"right", HAlignment_Left));
    EXPECT_EQ(HAlignment_Right, StringToHAlignment(L"Center", HAlignment_Right));
    EXPECT_EQ(HAlignment_Center, StringToHAlignment(L" left", HAlignment_Center));
    EXPECT_EQ(VAlignment_Top, StringToVAlignment(L"top", VAlignment_Bottom));
    EXPECT_EQ(VAlignment_Middle, StringToVAlignment(L"middle", VAlignment_Top));
    EXPECT_EQ(VAlignment_Bottom, StringToVAlignment(L"bottom", VAlignment_Top));
    EXPECT_EQ(VAlignment_Middle, StringToVAlignment(L"center", VAlignment_Middle));
}

TEST(ReferenceFrame, ScreenLocationAddsEveryAncestor)
{
    ReferenceFrame root{Vector2<float>(100.0f, 200.0f), nullptr};
    ReferenceFrame child{Vector2<float>(10.0f, 20.0f), &root};
    EXPECT_EQ(Vector2<float>(110.0f, 220.0f), ReferenceFrame::GetRootOffset(&child));
    EXPECT_EQ(Vector2<float>(), ReferenceFrame::GetRootOffset(nullptr));
    EXPECT_EQ(Vector2<float>(11.0f, 21.0f), ReferenceFrame::Convert(Vector2<float>(1.0f, 1.0f), &child, &root));

    LocationComponent located(Vector2<float>(1.0f, 2.0f));
    EXPECT_EQ(Vector2<float>(1.0f, 2.0f), located.GetScreenLocation());
    located.SetParentFrame(&child);
    EXPECT_EQ(Vector2<float>(111.0f, 222.0f), located.GetScreenLocation());
}

TEST(ReferenceFrame, AFrameChainThatLoopsStillEnds)
{
    ReferenceFrame a{Vector2<float>(1.0f, 0.0f), nullptr};
    ReferenceFrame b{Vector2<float>(1.0f, 0.0f), &a};
    a.parent = &b;
    const Vector2<float> offset = ReferenceFrame::GetRootOffset(&a);
    EXPECT_GT(offset.x, 0.0f);
}

TEST(ObjectLookup, GetObjectsKeepsLiveObjectsWithTheInterfaceInOrder)
{
    ApplicationMode mode;
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(&mode, guard);
    const ObjectID first = mode.AddObject(new Located());
    const ObjectID gone = mode.AddObject(new Located());
    const ObjectID faded = mode.AddObject(new Faded());
    const ObjectID last = mode.AddObject(new Located());
    mode.DestroyObject(gone);

    std::list<ILocation*> located;
    GetObjects(std::vector<ObjectID>{last, gone, faded, first, kInvalidObjectID}, located);
    ASSERT_EQ(2u, located.size());
    EXPECT_EQ(GetObject<ILocation>(last), located.front());
    EXPECT_EQ(GetObject<ILocation>(first), located.back());
    EXPECT_EQ(nullptr, GetObject<IAlpha>(first));
    EXPECT_NE(nullptr, GetObject<IAlpha>(faded));
}

TEST(ObjectLookup, AutoObjectIsNullForAMissingNameOrAnotherType)
{
    ApplicationMode mode;
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(&mode, guard);
    const ObjectID id = mode.AddObject(new LayoutInstance(Label("Strata::LayoutInstance::Probe"), nullptr));
    EXPECT_NE(nullptr, AutoObject<LayoutInstance>(Label("Strata::LayoutInstance::Probe")).Get());
    EXPECT_NE(nullptr, AutoObject<LayoutInstance>(id).Get());
    EXPECT_EQ(nullptr, AutoObject<LayoutInstance>(Label("nobody")).Get());
    EXPECT_EQ(nullptr, AutoObject<Faded>(Label("Strata::LayoutInstance::Probe")).Get());
    EXPECT_NE(nullptr, AutoObject<Object>(id).Get());
}

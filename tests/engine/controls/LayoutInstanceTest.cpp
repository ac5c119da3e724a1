#include "controls/LayoutInstance.h"

#include "controls/Layout.h"
#include "controls/Sprites.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class LayoutInstanceTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        layout = MakeLayout("", "<probe name=\"button\" x=\"10\" y=\"20\" width=\"30\" height=\"40\""
                                " color=\"#336699FF\"/>\n"
                                "<fadeonly name=\"brush\" x=\"1\" y=\"2\"/>\n"
                                "<imagesprite name=\"sprite\" x=\"5\" y=\"5\"/>\n");
        layout->Load(Label("I"));
        instance = Named<LayoutInstance>(layout->GetInstanceName(Label("I")).c_str());
        ASSERT_NE(nullptr, instance);
        button = Named<ProbeObject>("I::button");
        brush = Named<FadeOnlyObject>("I::brush");
        sprite = Named<ImageSpriteObject>("I::sprite");
        ASSERT_TRUE(button && brush && sprite);
    }

    std::shared_ptr<Layout> layout;
    LayoutInstance* instance = nullptr;
    ProbeObject* button = nullptr;
    FadeOnlyObject* brush = nullptr;
    ImageSpriteObject* sprite = nullptr;
};

} // namespace

TEST_F(LayoutInstanceTest, IsANamedObjectWithItsOwnRoleAndTheLoadedIdentifiers)
{
    EXPECT_STREQ("Strata::LayoutInstance::TestLayout::I", instance->GetName().c_str());
    EXPECT_STREQ("Strata::LayoutInstance", instance->GetRole().c_str());
    EXPECT_EQ(layout.get(), instance->GetLayout());
    EXPECT_EQ(&instance->GetObjectIDs(), &layout->GetObjectIDs(Label("I")));
    mode->Update(0.0f);
    ASSERT_EQ(1u, mode->GetObjectsWithRole(Label("Strata::LayoutInstance")).size());
    EXPECT_EQ(instance->GetID(), mode->GetObjectsWithRole(Label("Strata::LayoutInstance"))[0]);
}

TEST_F(LayoutInstanceTest, MovingAppliesTheDifferenceToEveryObject)
{
    instance->SetLocation(Vector2<float>(10.0f, 0.0f));
    EXPECT_EQ(Rect<float>(20.0f, 20.0f, 30.0f, 40.0f), button->GetBounds());
    EXPECT_EQ(Vector2<float>(11.0f, 2.0f), brush->GetLocation());
    EXPECT_EQ(Vector2<float>(15.0f, 5.0f), sprite->GetLocation());

    instance->SetLocation(Vector2<float>(10.0f, 20.0f));
    EXPECT_EQ(Rect<float>(20.0f, 40.0f, 30.0f, 40.0f), button->GetBounds());
    EXPECT_EQ(Vector2<float>(11.0f, 22.0f), brush->GetLocation());
    EXPECT_EQ(Vector2<float>(15.0f, 25.0f), sprite->GetLocation());
    EXPECT_EQ(Vector2<float>(10.0f, 20.0f), instance->GetLocation());
}

TEST_F(LayoutInstanceTest, FadingChangesOnlyTheAlphaOfColouredObjects)
{
    instance->SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(0.2f, button->GetColor().r);
    EXPECT_FLOAT_EQ(0.4f, button->GetColor().g);
    EXPECT_FLOAT_EQ(0.6f, button->GetColor().b);
    EXPECT_FLOAT_EQ(0.5f, button->GetAlpha());
    EXPECT_FLOAT_EQ(0.5f, brush->GetAlpha());
    EXPECT_FLOAT_EQ(0.5f, sprite->GetAlpha());
    EXPECT_FLOAT_EQ(0.5f, instance->GetAlpha());

    instance->SetColor(ColorF(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), button->GetColor());
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), sprite->GetColor());
    EXPECT_FLOAT_EQ(0.5f, brush->GetAlpha()); // no colour to set
}

TEST_F(LayoutInstanceTest, ShowingAndEnablingSkipObjectsThatAreGone)
{
    mode->DestroyObject(sprite->GetID());
    instance->SetVisible(false);
    EXPECT_FALSE(button->IsVisible());
    EXPECT_FALSE(instance->IsVisible());
    instance->Enable(false);
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_FALSE(instance->IsEnabled());
    mode->Update(0.0f); // the sprite is deleted now
    instance->SetVisible(true);
    instance->SetLocation(Vector2<float>(1.0f, 1.0f));
    EXPECT_TRUE(button->IsVisible());
    EXPECT_EQ(3u, instance->GetObjectIDs().size());
}

TEST_F(LayoutInstanceTest, DestroyingTheInstanceLeavesItsObjects)
{
    mode->DestroyObject(instance->GetID());
    mode->Update(0.0f);
    EXPECT_NE(nullptr, Named<ProbeObject>("I::button"));
    EXPECT_FALSE(layout->IsLoaded(Label("I")));
}

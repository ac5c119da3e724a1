#include "controls/Layout.h"

#include "controls/LayoutInstance.h"
#include "controls/ListControl.h"
#include "controls/ObjectFactory.h"
#include "controls/Sprites.h"
#include "controls/TextEdit.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

size_t CountObjects(ObjectDatabase& database)
{
    size_t count = 0;
    ObjectDatabase::sIterator it;
    while (!database.GetNextObject(&it).IsInvalid())
        ++count;
    return count;
}

class ThrowingFactory final : public IObjectFactory
{
public:
    Object* CreateObject(Label, const IAttributeContainer&) override { throw std::runtime_error("refused"); }
};

} // namespace

TEST_F(LayoutTest, ReadsItsAttributesAndEveryDescriptionInDocumentOrder)
{
    const auto layout = MakeLayout("screenWidth=\"1024\" screenHeight=\"768\" x=\"5\" y=\"-7\" extra=\"kept\"",
                                   "  <probe name=\"a\" x=\"1\">text is ignored\n"
                                   "    <imagesprite name=\"b\"/>\n"
                                   "  </probe>\n"
                                   "  <mystery/>\n");
    ASSERT_NE(nullptr, layout);
    EXPECT_STREQ("TestLayout", layout->GetName().c_str());
    EXPECT_EQ(L"kept", layout->GetAttribute(L"extra"));
    EXPECT_FLOAT_EQ(1024.0f, layout->GetDesignWidth());
    EXPECT_FLOAT_EQ(768.0f, layout->GetDesignHeight());
    EXPECT_FLOAT_EQ(5.0f, layout->GetOffsetX());
    EXPECT_FLOAT_EQ(-7.0f, layout->GetOffsetY());
    const std::vector<std::wstring> expected{L"probe", L"imagesprite", L"mystery"};
    EXPECT_EQ(expected, layout->GetTypeNames());
    ASSERT_EQ(3u, layout->GetObjectAttributes().size());
    EXPECT_EQ(L"1", layout->GetObjectAttributes()[0].GetAttribute(L"x"));
    EXPECT_EQ(L"b", layout->GetObjectAttributes()[1].GetAttribute(L"name"));
}

TEST_F(LayoutTest, DesignSizesThatCannotBeDividedByFallBackToTheDefaults)
{
    const auto zero = MakeLayout("screenWidth=\"0\" screenHeight=\"-600\"", "", "ZeroLayout");
    ASSERT_NE(nullptr, zero);
    EXPECT_FLOAT_EQ(800.0f, zero->GetDesignWidth());
    EXPECT_FLOAT_EQ(600.0f, zero->GetDesignHeight());

    const auto absurd = MakeLayout("screenWidth=\"1e30\" screenHeight=\"nan\" x=\"inf\" y=\"nan\"", "", "AbsurdLayout");
    ASSERT_NE(nullptr, absurd);
    EXPECT_FLOAT_EQ(800.0f, absurd->GetDesignWidth());
    EXPECT_FLOAT_EQ(600.0f, absurd->GetDesignHeight());
    EXPECT_EQ(0.0f, absurd->GetOffsetX());
    EXPECT_EQ(0.0f, absurd->GetOffsetY());

    // Loaded, a zero design width scales by 1 rather than making positions infinite.
    const auto layout = MakeLayout("screenWidth=\"0\"", "<probe name=\"p\" x=\"10\" width=\"20\"/>\n", "ZeroWidth");
    layout->Load();
    const Rect<float> bounds = Named<ProbeObject>("p")->GetBounds();
    EXPECT_FLOAT_EQ(10.0f, bounds.x);
    EXPECT_FLOAT_EQ(20.0f, bounds.width);
}

TEST_F(LayoutTest, AppliesEveryCommonAttributeScaledFromTheDesignSize)
{
    LoadManifest(L"fonts", "<testfont name=\"Body\"/>\n");
    const auto layout = MakeLayout("screenWidth=\"400\" screenHeight=\"200\"",
                                   "<probe name=\"p\" layer=\"3.5\" x=\"10\" y=\"20\" width=\"30\" height=\"40\""
                                   " visible=\"false\" enable=\"false\" color=\"#FF000080\" alpha=\"0.1\""
                                   " font=\"Body\" mode=\"outline\" orientation=\"90\" halign=\"right\""
                                   " valign=\"bottom\" flipV=\"true\" text=\"Hello\" scaleX=\"2\"/>\n");
    layout->Load();
    auto* probe = Named<ProbeObject>("p");
    ASSERT_NE(nullptr, probe);
    EXPECT_FLOAT_EQ(3.5f, probe->GetLayer());
    EXPECT_EQ(Rect<float>(20.0f, 60.0f, 60.0f, 120.0f), probe->GetBounds());
    EXPECT_FALSE(probe->IsVisible());
    EXPECT_FALSE(probe->IsEnabled());
    EXPECT_FLOAT_EQ(1.0f, probe->GetColor().r);
    EXPECT_FLOAT_EQ(0.0f, probe->GetColor().g);
    EXPECT_NEAR(128.0f / 255.0f, probe->GetAlpha(), 1e-6f); // the colour's alpha, not "alpha"
    EXPECT_NE(nullptr, dynamic_cast<const BlockFont*>(probe->GetFont()));
    EXPECT_EQ(TextMode_Outline, probe->GetTextMode());
    ASSERT_TRUE(probe->orientationSet);
    EXPECT_NEAR(Angle::FromDegrees(90.0f).GetValue(), probe->orientation.GetValue(), 1e-6f);
    EXPECT_EQ(HAlignment_Right, probe->GetHAlignment());
    EXPECT_EQ(VAlignment_Bottom, probe->GetVAlignment());
    EXPECT_EQ(2u, probe->GetFlipState());
    EXPECT_EQ(L"Hello", probe->GetText());
    // With "scaleX" present both axes take the window factors; scale y keeps the factory's 1.
    EXPECT_FLOAT_EQ(4.0f, probe->GetScale().x);
    EXPECT_FLOAT_EQ(3.0f, probe->GetScale().y);
}

TEST_F(LayoutTest, AbsentOrUnrecognisedAttributesKeepWhatTheFactoryMade)
{
    const auto layout = MakeLayout("screenWidth=\"400\"",
                                   "<probe name=\"p\" boundsW=\"10\" boundsH=\"8\" factoryScale=\"3\" visible=\"TRUE\""
                                   " enable=\"1\" mode=\"shadow\" halign=\"Center\" valign=\"\" flipH=\"false\""
                                   " flipV=\"yes\" alpha=\"0.25\"/>\n");
    layout->Load();
    auto* probe = Named<ProbeObject>("p");
    ASSERT_NE(nullptr, probe);
    // Sizes a factory set are scaled too; unnamed positions stay where they were, times the factor.
    EXPECT_EQ(Rect<float>(0.0f, 0.0f, 20.0f, 8.0f), probe->GetBounds());
    // Truth values are "true" or "false" only; anything else keeps the default.
    EXPECT_TRUE(probe->IsVisible());
    EXPECT_TRUE(probe->IsEnabled());
    EXPECT_EQ(TextMode_Normal, probe->GetTextMode());
    EXPECT_EQ(HAlignment_Left, probe->GetHAlignment());
    EXPECT_EQ(VAlignment_Top, probe->GetVAlignment());
    EXPECT_EQ(0u, probe->GetFlipState());
    // Without "color" the alpha reaches the colour's alpha alone.
    EXPECT_EQ(ColorF(1.0f, 1.0f, 1.0f, 0.25f), probe->GetColor());
    // No "font": no font. No "orientation": never set. An object with bounds keeps its own scale.
    EXPECT_FALSE(probe->HasFont());
    EXPECT_FALSE(probe->orientationSet);
    EXPECT_EQ(Vector2<float>(3.0f, 3.0f), probe->GetScale());
    EXPECT_EQ(L"", probe->GetText());
}

TEST_F(LayoutTest, FlipFlagsComeFromBothAttributes)
{
    const auto layout = MakeLayout("", "<probe name=\"h\" flipH=\"true\"/>\n"
                                       "<probe name=\"hv\" flipH=\"true\" flipV=\"true\"/>\n"
                                       "<probe name=\"v\" flipH=\"false\" flipV=\"true\"/>\n");
    layout->Load();
    EXPECT_EQ(1u, Named<ProbeObject>("h")->GetFlipState());
    EXPECT_EQ(3u, Named<ProbeObject>("hv")->GetFlipState());
    EXPECT_EQ(2u, Named<ProbeObject>("v")->GetFlipState());
}

TEST_F(LayoutTest, ObjectsWithoutBoundsMoveAndAlwaysCarryTheWindowFactorsInTheirScale)
{
    LoadManifest(L"pictures", "<testimage name=\"Pic\" width=\"50\" height=\"10\"/>\n");
    const auto layout = MakeLayout("screenWidth=\"400\" screenHeight=\"600\"",
                                   "<imagesprite name=\"s\" src=\"Pic\" x=\"7\" y=\"9\" width=\"100\"/>\n"
                                   "<fadeonly name=\"f\" x=\"3\" alpha=\"0.5\"/>\n");
    layout->Load();
    auto* sprite = Named<ImageSpriteObject>("s");
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(Vector2<float>(14.0f, 9.0f), sprite->GetLocation());
    // "width" 100 over 50 pixels gives 2, doubled again by the 400-wide design.
    EXPECT_EQ(Vector2<float>(4.0f, 1.0f), sprite->GetScale());
    auto* fade = Named<FadeOnlyObject>("f");
    ASSERT_NE(nullptr, fade);
    EXPECT_EQ(Vector2<float>(6.0f, 0.0f), fade->GetLocation());
    EXPECT_FLOAT_EQ(0.5f, fade->GetAlpha());
}

TEST_F(LayoutTest, UnknownTypesAreSkippedAndTheRestLoad)
{
    const auto layout = MakeLayout("", "<probe name=\"one\"/>\n<mystery name=\"ghost\"/>\n<probe name=\"two\"/>\n");
    layout->Load();
    EXPECT_EQ(nullptr, mode->GetNamedObject(Label("ghost")));
    ASSERT_EQ(2u, layout->GetObjectIDs().size());
    EXPECT_EQ(Named<Object>("one"), mode->GetObject(layout->GetObjectIDs()[0]));
    EXPECT_EQ(Named<Object>("two"), mode->GetObject(layout->GetObjectIDs()[1]));
    EXPECT_EQ(nullptr, GetObjectFactory()->CreateObject(L"Probe", Label("case"), AttributeContainer()));
}

TEST_F(LayoutTest, InstanceLabelsPrefixObjectNames)
{
    const auto layout = MakeLayout("", "<probe name=\"OK\"/>\n<probe/>\n", "Dialog");
    layout->Load(Label("A"));
    layout->Load();
    EXPECT_NE(nullptr, Named<ProbeObject>("A::OK"));
    EXPECT_NE(nullptr, Named<ProbeObject>("OK"));
    EXPECT_NE(Named<ProbeObject>("A::OK"), Named<ProbeObject>("OK"));
    // Labels keep the first spelling seen in the process, so other tests may have interned "a" first.
    EXPECT_STRCASEEQ("Strata::LayoutInstance::Dialog", layout->GetInstanceName().c_str());
    EXPECT_STRCASEEQ("Strata::LayoutInstance::Dialog::A", layout->GetInstanceName(Label("A")).c_str());
    EXPECT_TRUE(layout->IsLoaded(Label("A")));
    EXPECT_TRUE(layout->IsLoaded());
    EXPECT_FALSE(layout->IsLoaded(Label("B")));
    // The unnamed object is in both lists but has no name.
    ASSERT_EQ(2u, layout->GetObjectIDs(Label("A")).size());
    EXPECT_TRUE(mode->GetObject(layout->GetObjectIDs(Label("A"))[1])->GetName().IsNull());
}

TEST_F(LayoutTest, NamesOutsideAsciiKeepTheirObjectNamedUnderAnInstance)
{
    const auto layout = MakeLayout("", "<probe name=\"Caf\xC3\xA9\"/>\n");
    layout->Load(Label("I"));
    EXPECT_NE(nullptr, Named<ProbeObject>("I::Caf?"));
}

TEST_F(LayoutTest, LoadingAgainReplacesTheInstancesObjectsAndUnloadRemovesThem)
{
    const auto layout = MakeLayout("", "<probe name=\"a\"/>\n<probe name=\"b\"/>\n");
    layout->Load(Label("X"));
    mode->Update(0.0f);
    const size_t once = CountObjects(*mode);
    EXPECT_EQ(3u, once); // two objects and the instance
    layout->Load(Label("X"));
    mode->Update(0.0f);
    EXPECT_EQ(once, CountObjects(*mode));
    EXPECT_EQ(2u, layout->GetObjectIDs(Label("X")).size());

    layout->Load(Label("Y"));
    mode->Update(0.0f);
    EXPECT_EQ(6u, CountObjects(*mode));

    layout->Unload(Label("X"));
    mode->Update(0.0f);
    EXPECT_EQ(3u, CountObjects(*mode));
    EXPECT_FALSE(layout->IsLoaded(Label("X")));
    EXPECT_EQ(nullptr, Named<Object>(layout->GetInstanceName(Label("X")).c_str()));
    EXPECT_TRUE(layout->IsLoaded(Label("Y")));
    layout->Unload(Label("never loaded")); // nothing to do, nothing raised
}

TEST_F(LayoutTest, AnEmptyLayoutMakesNoInstanceUnlessItHasAnOffset)
{
    const auto empty = MakeLayout("", "", "Empty");
    empty->Load();
    mode->Update(0.0f);
    EXPECT_EQ(0u, CountObjects(*mode));
    EXPECT_FALSE(empty->IsLoaded());

    const auto moved = MakeLayout("x=\"4\"", "", "Moved");
    moved->Load();
    EXPECT_NE(nullptr, Named<LayoutInstance>(moved->GetInstanceName().c_str()));
    EXPECT_FALSE(moved->IsLoaded());
}

TEST_F(LayoutTest, TheOffsetMovesEveryObjectUnscaled)
{
    const auto layout = MakeLayout("screenWidth=\"400\" x=\"5\" y=\"6\"",
                                   "<probe name=\"p\" x=\"10\" y=\"10\" width=\"4\" height=\"4\"/>\n"
                                   "<imagesprite name=\"s\" x=\"1\" y=\"2\"/>\n");
    layout->Load();
    EXPECT_EQ(Rect<float>(25.0f, 16.0f, 8.0f, 4.0f), Named<ProbeObject>("p")->GetBounds());
    EXPECT_EQ(Vector2<float>(7.0f, 8.0f), Named<ImageSpriteObject>("s")->GetLocation());
    EXPECT_EQ(Vector2<float>(5.0f, 6.0f), Named<LayoutInstance>(layout->GetInstanceName().c_str())->GetLocation());
}

TEST_F(LayoutTest, WithoutAModeLoadingDoesNothing)
{
    const auto layout = MakeLayout("", "<probe name=\"p\"/>\n");
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(nullptr, guard);
    layout->Load();
    EXPECT_FALSE(layout->IsLoaded());
    EXPECT_EQ(nullptr, layout->GetInstance());
    EXPECT_THROW(layout->GetObjectIDs(), RuntimeError);
    layout->Unload();
    EXPECT_EQ(0, probes->created);
}

TEST_F(LayoutTest, AFactoryErrorPassesThroughAndKeepsWhatWasLoaded)
{
    GetObjectFactory()->AddObjectFactory(L"broken", new ThrowingFactory());
    const auto layout = MakeLayout("", "<probe name=\"first\"/>\n<broken/>\n<probe name=\"last\"/>\n");
    EXPECT_THROW(layout->Load(), std::runtime_error);
    EXPECT_NE(nullptr, Named<ProbeObject>("first"));
    EXPECT_EQ(nullptr, Named<ProbeObject>("last"));
    EXPECT_TRUE(layout->IsLoaded());
}

TEST_F(LayoutTest, RegistrationReplacesAndNullRemoves)
{
    ObjectFactory* registry = GetObjectFactory();
    EXPECT_EQ(registry, GetObjectFactory());
    for (const wchar_t* type :
         {L"background", L"button", L"textsprite", L"imagesprite", L"animsprite", L"ninebrush", L"threebrush"})
        EXPECT_TRUE(registry->HasObjectFactory(type)) << type;

    auto* replacement = new ProbeFactory();
    registry->AddObjectFactory(L"probe", replacement); // the fixture's factory is deleted (ASan watches)
    delete registry->CreateObject(L"probe", Label(), AttributeContainer());
    EXPECT_EQ(1, replacement->created);
    registry->AddObjectFactory(L"probe", nullptr);
    EXPECT_FALSE(registry->HasObjectFactory(L"probe"));
    registry->AddObjectFactory(nullptr, new ProbeFactory()); // deleted, nothing registered
    EXPECT_EQ(nullptr, registry->CreateObject(L"probe", Label(), AttributeContainer()));
}

// Every control that draws text keeps its font, and the text field its caret, after the manifest that
// held them is unloaded (a language swap while its screen still shows): nothing draws through a freed font.
TEST_F(LayoutTest, ControlsKeepTheirFontsAndCaretAfterTheManifestIsUnloaded)
{
    LoadManifest(L"frames", "<testlist name=\"Frames\" count=\"15\" width=\"3\" height=\"3\"/>\n");
    struct Case
    {
        const char* type;
        const char* attributes;
    };
    const Case cases[] = {
        {"textsprite", "text=\"Go\""},
        {"button", "text=\"Go\""},
        {"checkbox", "images=\"Frames\" text=\"Go\""},
        {"radiobutton", "images=\"Frames\" text=\"Go\""},
        {"list", "images=\"Frames\" width=\"40\" height=\"30\""},
        {"textedit", "cursorImage=\"Caret\" width=\"40\" height=\"10\""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        LoadManifest(L"text", "<testfont name=\"Block\"/>\n<testimage name=\"Caret\" width=\"2\" height=\"6\"/>\n");
        const std::string type = c.type;
        MakeLayout("", "<" + type + " name=\"" + type + "\" font=\"Block\" " + c.attributes + "/>\n", "Of" + type)
            ->Load();
        auto* control = Named<Object>(c.type);
        ASSERT_NE(nullptr, control);
        if (auto* list = dynamic_cast<ListObject*>(control))
            list->AddItem(L"Go");
        if (auto* edit = dynamic_cast<TextEditObject*>(control))
        {
            edit->SetValue(L"Go");
            edit->Focus();
            ASSERT_NE(nullptr, edit->GetCursorImage());
        }

        manager->Unload(L"text");
        ASSERT_EQ(nullptr, manager->GetResource(Label("Block")));
        ASSERT_NE(nullptr, dynamic_cast<IFontComponent&>(*control).GetFont());
        CanvasScope canvas(64, 64);
        dynamic_cast<IDrawable&>(*control).Draw();
        EXPECT_FALSE(canvas.DrawnArea().isEmpty());
    }
}

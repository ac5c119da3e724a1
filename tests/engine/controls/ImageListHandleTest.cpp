#include "controls/ImageListHandle.h"

#include "controls/ObjectFactory.h"
#include "framework/ObjectInterfaces.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// Every control made from a layout keeps drawing its images after the manifest that held them is
// unloaded (a level's art unloaded while its screen still shows): it must never draw through a freed list.
TEST_F(LayoutTest, ControlsKeepTheirImageListsAfterTheManifestIsUnloaded)
{
    // Lists and trees draw only with a font; it lives in a manifest of its own that stays loaded.
    LoadManifest(L"fonts", "<testfont name=\"Block\"/>\n");
    const AutoResource<Font> font("Block");
    struct Case
    {
        const wchar_t* type;
        IAttributeContainer::AttributeMap attributes;
    };
    const Case cases[] = {
        {L"button", {{L"images", L"Pics"}}},
        {L"checkbox", {{L"images", L"Pics"}}},
        {L"radiobutton", {{L"images", L"Pics"}}},
        {L"threebrush", {{L"images", L"Pics"}}},
        {L"ninebrush", {{L"images", L"Pics"}}},
        {L"background", {{L"images", L"Pics"}}},
        {L"list", {{L"images", L"Pics"}}},
        {L"tree", {{L"images", L"Pics"}}},
        {L"slider", {{L"channelImages", L"Pics"}, {L"thumbImages", L"Pics"}}},
        {L"scrollbar", {{L"channelImages", L"Pics"}}},
        {L"textedit", {{L"fieldImages", L"Pics"}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << ConvertStringWideToUTF8(c.type).get());
        LoadManifest(L"art", "<testlist name=\"Pics\" count=\"15\" width=\"9\" height=\"9\"/>\n");
        std::unique_ptr<Object> control(
            GetObjectFactory()->CreateObject(c.type, Label("control"), AttributeContainer(c.attributes)));
        ASSERT_NE(control, nullptr);
        if (auto* bounds = dynamic_cast<IBounds*>(control.get()))
            bounds->SetBounds(Rect<float>(0.0f, 0.0f, 40.0f, 30.0f));
        if (auto* withFont = dynamic_cast<IFontComponent*>(control.get()))
            withFont->SetFont(font.Get());

        manager->Unload(L"art");
        ASSERT_EQ(nullptr, manager->GetResource(Label("Pics")));
        CanvasScope canvas(64, 64);
        dynamic_cast<IDrawable&>(*control).Draw();
        EXPECT_FALSE(canvas.DrawnArea().isEmpty()) << "the list still draws";
    }
}

} // namespace

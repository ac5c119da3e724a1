#pragma once

// Seams for the layout and sprite tests: a mode made current for the test, small image, image-list
// and font resources made by test factories through the real resource manager, an object with every
// component interface, and an image canvas to draw on.

#include "controls/Layout.h"
#include "controls/LayoutInstance.h"
#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "core/Angle.h"
#include "core/AttributeContainer.h"
#include "framework/ApplicationMode.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Context.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"
#include "graphics/Window.h"

#include "engine/framework/ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Strata::Testing
{

// Every character advances 4 pixels; each glyph is the whole 4 x 6 image of the font.
class BlockFont : public Font
{
public:
    BlockFont() : mGlyphs(std::vector<Color32>(24, Color32(255, 255, 255, 255)), 4, 6, true, false) {}
    void GetGlyph(wchar_t c, sGlyph* out) const override
    {
        if (out == nullptr)
            return;
        *out = sGlyph();
        if (c == L' ')
            return;
        out->image = &mGlyphs;
        out->width = 4;
        out->height = 6;
    }
    int GetGlyphHeight() const override { return 6; }
    int GetKernedLetterWidth(wchar_t, wchar_t) const override { return 4; }

private:
    Image mGlyphs;
};

// "testimage": an image of "width" x "height" in the colour "color" (opaque white by default).
class TestImageFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto* image = new ResourceWrapper<Image>(manifest, name, attributes);
        const int width = attributes.GetAttribute(L"width", 1);
        const int height = attributes.GetAttribute(L"height", 1);
        const ColorF color = attributes.HasAttribute(L"color") ? ColorF::FromString(attributes.GetAttribute(L"color"))
                                                               : ColorF(1.0f, 1.0f, 1.0f, 1.0f);
        static_cast<Image*>(image)->Init(
            std::vector<Color32>(static_cast<size_t>(width) * static_cast<size_t>(height),
                                 Color32(static_cast<uint8_t>(color.r * 255), static_cast<uint8_t>(color.g * 255),
                                         static_cast<uint8_t>(color.b * 255), static_cast<uint8_t>(color.a * 255))),
            width, height, true, false);
        return image;
    }
};

// "testlist": "count" images of "width" x "height", image i filled with the grey level 40 * (i + 1).
class TestImageListFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto* list = new ResourceWrapper<ImageList>(manifest, name, attributes);
        const int width = attributes.GetAttribute(L"width", 1);
        const int height = attributes.GetAttribute(L"height", 1);
        for (int i = 0; i < attributes.GetAttribute(L"count", 1); ++i)
        {
            const uint8_t grey = static_cast<uint8_t>(40 * (i + 1));
            list->AddOwnedImage(new Image(std::vector<Color32>(static_cast<size_t>(width) * static_cast<size_t>(height),
                                                               Color32(grey, grey, grey, 255)),
                                          width, height, true, false));
        }
        return list;
    }
};

// "testfont": a BlockFont.
class TestFontFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        return new ResourceWrapper<BlockFont>(manifest, name, attributes);
    }
};

// An object with every interface the layout loader applies, with bounds like a control, and a scale
// its factory may set (like a button's).
class ProbeObject : public Object,
                    public DrawableComponent,
                    public BoundsComponent,
                    public ColorComponent,
                    public VisibleComponent,
                    public EnableComponent,
                    public FontComponent,
                    public AlignmentComponent,
                    public FlipStateComponent,
                    public TextComponent,
                    public ScaleComponent,
                    public IOrientation
{
public:
    explicit ProbeObject(Label name) : mName(name) {}
    Label GetName() const override { return mName; }
    void SetOrientation(const Angle& angle) override
    {
        orientation = angle;
        orientationSet = true;
    }

    Angle orientation;
    bool orientationSet = false;

private:
    Label mName;
};

// "probe": a ProbeObject; "boundsW"/"boundsH" set a size the way an image would, "factoryScale" a
// scale the way a button's factory does.
class ProbeFactory final : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override
    {
        auto* probe = new ProbeObject(name);
        probe->SetBounds(
            Rect<float>(0, 0, attributes.GetAttribute(L"boundsW", 0.0f), attributes.GetAttribute(L"boundsH", 0.0f)));
        probe->SetScale(attributes.GetAttribute(L"factoryScale", 1.0f));
        ++created;
        return probe;
    }
    int created = 0;
};

// An object with a location and an alpha but no colour, like a nine-slice brush.
class FadeOnlyObject : public Object, public LocationComponent, public AlphaComponent
{
public:
    explicit FadeOnlyObject(Label name) : mName(name) {}
    Label GetName() const override { return mName; }

private:
    Label mName;
};

class FadeOnlyFactory final : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer&) override { return new FadeOnlyObject(name); }
};

// A fresh resource manager with the layout factories and the test resources, and a mode that is the
// context mode for the whole test.
class LayoutTest : public ModeResourceTest<ApplicationMode>
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        ASSERT_EQ(800, Window::GetConfig().width);
        ASSERT_EQ(600, Window::GetConfig().height);
        // As the main loop's set-up does: the controls library has added its registrar.
        RunFactoryRegistrars();
        manager->AddResourceFactory(L"testimage", new TestImageFactory());
        manager->AddResourceFactory(L"testlist", new TestImageListFactory());
        manager->AddResourceFactory(L"testfont", new TestFontFactory());
        probes = new ProbeFactory();
        GetObjectFactory()->AddObjectFactory(L"probe", probes);
        GetObjectFactory()->AddObjectFactory(L"fadeonly", new FadeOnlyFactory());
        EnterMode();
    }

    // Loads the manifest `name` holding `body` through the loader thread.
    void LoadManifest(const std::wstring& name, const std::string& body)
    {
        AddManifest(name, body);
        const auto job = manager->Load(name.c_str());
        ASSERT_TRUE(job->IsComplete());
    }

    std::shared_ptr<Layout> GetLayout(const char* name)
    {
        return std::dynamic_pointer_cast<Layout>(manager->GetResource(Label(name)));
    }

    // Loads a manifest with one layout "<name>" of these attributes and children, and returns it.
    std::shared_ptr<Layout> MakeLayout(const std::string& layoutAttributes, const std::string& children,
                                       const std::string& name = "TestLayout")
    {
        const std::string body = "<layout name=\"" + name + "\" " + layoutAttributes + ">\n" + children + "</layout>\n";
        LoadManifest(L"m" + std::to_wstring(++mManifests), body);
        return GetLayout(name.c_str());
    }

    template <class T>
    T* Named(const char* name)
    {
        return dynamic_cast<T*>(mode->GetNamedObject(Label(name)));
    }

    ProbeFactory* probes = nullptr;

private:
    int mManifests = 0;
};

// An image canvas made current for its lifetime, with the default state without blending.
class CanvasScope
{
public:
    CanvasScope(int width, int height) : target(width, height), mCanvas(Graphics::CreateImageCanvas(&target))
    {
        Graphics::Context context;
        context.canvas = mCanvas;
        context.state = Graphics::sDrawState::GetDefaults();
        context.state.flags = 0;
        Graphics::PushContext(context);
    }
    ~CanvasScope()
    {
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(mCanvas);
    }
    CanvasScope(const CanvasScope&) = delete;
    CanvasScope& operator=(const CanvasScope&) = delete;

    uint8_t Red(int x, int y) const { return target.GetPixel(x, y).r; }
    uint8_t Alpha(int x, int y) const { return target.GetPixel(x, y).a; }
    // The columns and rows of the drawn (non-transparent) pixels: left, top, width, height.
    Rect<int> DrawnArea() const
    {
        int left = target.GetWidth(), top = target.GetHeight(), right = -1, bottom = -1;
        for (int y = 0; y < target.GetHeight(); ++y)
            for (int x = 0; x < target.GetWidth(); ++x)
                if (target.GetPixel(x, y).a != 0)
                {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        return right < 0 ? Rect<int>() : Rect<int>(left, top, right - left + 1, bottom - top + 1);
    }

    Image target;

private:
    ICanvas* mCanvas;
};

} // namespace Strata::Testing

#pragma once

// Seams for the node-type tests: images, image lists and a fixed-width font made from manifest
// attributes instead of files, a software canvas to draw on, and the scene graph's factories.

#include "core/AttributeContainer.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "graphics/Context.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include "SceneLayoutTestSupport.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Strata::Testing
{

// Image i of a test list is filled with red 40 * i + 40, so a drawn pixel tells the frame.
inline uint8_t FrameRed(int index)
{
    return static_cast<uint8_t>(40 * index + 40);
}

// The pixels of a w x h image of colour (r, g, b); the alpha of column x is min(255, x * alphaStep), or
// "a" for every pixel when there is no "alphaStep".
inline std::vector<Color32> TestPixels(const IAttributeContainer& a, uint8_t red)
{
    std::vector<Color32> pixels;
    for (int y = 0; y < a.GetAttribute(L"h", 1); ++y)
    {
        for (int x = 0; x < a.GetAttribute(L"w", 1); ++x)
        {
            const int alpha = a.HasAttribute(L"alphaStep") ? std::min(255, x * a.GetAttribute(L"alphaStep", 0))
                                                           : a.GetAttribute(L"a", 255);
            pixels.push_back(Color32(red, static_cast<uint8_t>(a.GetAttribute(L"g", 0)),
                                     static_cast<uint8_t>(a.GetAttribute(L"b", 0)), static_cast<uint8_t>(alpha)));
        }
    }
    return pixels;
}

// "testimage": one image as above, red from "r".
class TestImageFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto image = std::make_unique<ResourceWrapper<Image>>(manifest, name, attributes);
        image->Init(TestPixels(attributes, static_cast<uint8_t>(attributes.GetAttribute(L"r", 255))),
                    attributes.GetAttribute(L"w", 1), attributes.GetAttribute(L"h", 1), true, false);
        return image.release();
    }
};

// "testimagelist": one image per "frame" child (attributes as "testimage"), image i of red FrameRed(i).
class TestImageListFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        auto list = std::make_unique<ResourceWrapper<ImageList>>(manifest, name, attributes);
        element.ReadElement();
        while (!element.IsEOF())
        {
            const XMLElement* item = element.ReadElement();
            if (item != nullptr && item->IsStartElement())
                list->AddOwnedImage(new Image(TestPixels(*item, FrameRed(list->GetNumImages())),
                                              item->GetAttribute(L"w", 1), item->GetAttribute(L"h", 1), true, false));
        }
        return list.release();
    }
};

// Every character 6 pixels wide and 10 high; glyphs are opaque white boxes, blanks draw nothing.
class TestFont : public Font
{
public:
    TestFont() : mGlyphs(std::vector<Color32>(60, Color32(255, 255, 255, 255)), 6, 10, true, false) {}
    void GetGlyph(wchar_t c, sGlyph* out) const override
    {
        if (out == nullptr)
            return;
        *out = sGlyph{};
        if (c != L' ')
            *out = sGlyph{&mGlyphs, 0, 0, 6, 10};
    }
    int GetGlyphHeight() const override { return 10; }
    int GetKernedLetterWidth(wchar_t, wchar_t) const override { return 6; }

private:
    Image mGlyphs;
};

// The test font with two kerning pairs, one each way and of different sizes: "A" before "V" advances
// 4, "V" before "A" 5, so a width that drops, swaps or misplaces a pair comes out wrong.
class KernedTestFont : public TestFont
{
public:
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override
    {
        if (c == L'A' && next == L'V')
            return 4;
        return c == L'V' && next == L'A' ? 5 : 6;
    }
};

template <class F = TestFont>
class TestFontFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        return new ResourceWrapper<F>(manifest, name, attributes);
    }
};

// The lines of captured standard error that contain `part`, each with its line feed.
inline std::string LinesWith(const std::string& text, const std::string& part)
{
    std::istringstream lines(text);
    std::string line, kept;
    while (std::getline(lines, line))
        if (line.find(part) != std::string::npos)
            kept += line + "\n";
    return kept;
}

// Draws into a transparent image through a software canvas while alive.
class Target
{
public:
    Target(int width, int height)
        : image(std::vector<Color32>(static_cast<size_t>(width) * height, Color32()), width, height, true, false),
          mCanvas(Graphics::CreateImageCanvas(&image))
    {
        Graphics::PushContext(Graphics::Context{mCanvas, Graphics::sDrawState::GetDefaults()});
    }
    ~Target()
    {
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(mCanvas);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    Color32 At(int x, int y) const { return image.GetPixel(x, y); }
    // The bounding box of the pixels drawn (alpha above 0); empty when none.
    Rect<int> Drawn() const
    {
        int left = image.GetWidth(), top = image.GetHeight(), right = -1, bottom = -1;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (image.GetPixel(x, y).a != 0)
                {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        return right < 0 ? Rect<int>() : Rect<int>(left, top, right - left + 1, bottom - top + 1);
    }

    Image image;

private:
    ICanvas* mCanvas;
};

// The scene graph's factories and the test resource kinds; layouts instantiate into the mode's database.
class NodeTest : public SceneLayoutTest
{
protected:
    void SetUp() override
    {
        SceneLayoutTest::SetUp();
        manager->AddResourceFactory(L"testimage", new TestImageFactory());
        manager->AddResourceFactory(L"testimagelist", new TestImageListFactory());
        manager->AddResourceFactory(L"testfont", new TestFontFactory());
        manager->AddResourceFactory(L"kernedtestfont", new TestFontFactory<KernedTestFont>());
    }

    // Loads a manifest; the failure message, empty when it loaded.
    std::string Load(const std::wstring& manifest, const std::string& body)
    {
        AddManifest(manifest, body);
        return manager->Load(manifest.c_str())->GetFailureMessage();
    }

    // A one-node layout (its root element `element`) instantiated into the mode.
    template <class T = SceneNode>
    T* Make(const std::string& element)
    {
        const std::string name = "L" + std::to_string(++mLayouts);
        EXPECT_EQ("", LoadLayout(name, element, std::wstring(name.begin(), name.end())));
        const SceneLayout* layout = Layout(name.c_str());
        if (layout == nullptr)
            return nullptr;
        SceneNode* node = layout->InstantiateLayout(mode.get(), nullptr);
        EXPECT_NE(nullptr, dynamic_cast<T*>(node)) << element;
        return dynamic_cast<T*>(node);
    }

private:
    int mLayouts = 0;
};

} // namespace Strata::Testing

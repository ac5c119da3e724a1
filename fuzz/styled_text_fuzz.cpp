// Feeds arbitrary bytes to styled text: the first byte picks the wrap width, the second the alignment, and
// the rest (UTF-8) is the markup. Its runs are measured in two fake fonts and drawn on a canvas that
// records text; the same text is also wrapped as plain text. The layouts are checked for consistency.

#include "core/AttributeContainer.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Font.h"
#include "graphics/LineBreaking.h"
#include "graphics/StyledText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;

namespace
{

// Every character up to 255 advances by `advance`, a few pairs kerned; lines are `height` high.
class FakeFont : public Font
{
public:
    void GetGlyph(wchar_t, sGlyph* out) const override
    {
        if (out)
            *out = sGlyph();
    }
    int GetGlyphHeight() const override { return height; }
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override
    {
        if (c > 255)
            return 0;
        return advance - ((c + next) % 3 == 0 ? 2 : 0);
    }

    int advance = 7;
    int height = 10;
};

class FakeFontFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto* font = new ResourceWrapper<FakeFont>(manifest, name, attributes);
        font->advance = attributes.GetAttribute(L"advance", 7);
        font->height = attributes.GetAttribute(L"height", 10);
        return font;
    }
};

// Fonts "a" and "b", loaded once for the whole run.
void LoadFonts()
{
    static const bool loaded = []
    {
        ResourceManager* manager = GetResourceManager();
        manager->AddResourceFactory(L"fuzzfont", new FakeFontFactory());
        const std::string manifest = R"(<fonts><fuzzfont name="a" advance="7" height="10"/>)"
                                     R"(<fuzzfont name="b" advance="13" height="25"/></fonts>)";
        ReadOnlyMemoryStream stream(L"fonts.xml", manifest.data(), manifest.size());
        manager->LoadFromStream(&stream, L"fuzzfonts");
        return true;
    }();
    (void)loaded;
}

class CountingCanvas : public ICanvas, public ITextDrawingCanvas
{
public:
    Label GetKind() const override { return Label("CountingCanvas"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) || AnswerInterface<ITextDrawingCanvas>(this, name, out);
    }
    int DrawTextLine(const wchar_t* text, float, float, const sDrawState&) override
    {
        while (*text++)
            ++characters;
        return 0;
    }

    size_t characters = 0;

private:
    Rect<int> mBounds{0, 0, 800, 600};
};

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckPlainBreaks(const std::wstring& text, int width, const Font& font)
{
    LineBreakList list;
    ComputeLineBreaks(&list, text.c_str(), width, &font, nullptr);
    const std::vector<int>& starts = list.starts;
    const int length = static_cast<int>(std::wcslen(text.c_str()));
    Check(starts.size() >= 2 && starts.front() == 0 && starts.back() == length);
    for (size_t i = 1; i + 1 < starts.size(); ++i)
        Check(starts[i] > starts[i - 1]);
    // Only a line feed that ends the text leaves an empty last line.
    const size_t last = starts.size() - 1;
    Check(starts[last] > starts[last - 1] || length == 0 || text[static_cast<size_t>(length) - 1] == L'\n');
    Check(list.widest >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    LoadFonts();
    const int width = data[0];
    sDrawState state = sDrawState::GetDefaults();
    state.hAlign = static_cast<HAlignment>(data[1] % 3);
    state.vAlign = static_cast<VAlignment>((data[1] / 3) % 3);

    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::wstring markup = ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(bytes.c_str()));

    TextStyle base;
    base.font = Label("a");
    const std::vector<StyleRun> runs = ComputeStyleRuns(markup, base);
    const LineDimensionList lines = ComputeStyledTextLineDimensions(runs, width, nullptr);

    size_t measured = 0;
    for (const StyleRun& run : runs)
        if (run.font)
            measured += run.text.size();
    int64_t counted = 0;
    int64_t height = 0;
    int32_t widest = 0;
    Check(!lines.lines.empty());
    for (size_t i = 0; i < lines.lines.size(); ++i)
    {
        const LineDimensionList::Line& line = lines.lines[i];
        Check(line.count >= 1 || i + 1 == lines.lines.size());
        counted += line.count;
        height += line.height;
        widest = std::max(widest, line.width);
    }
    Check(counted == static_cast<int64_t>(measured));
    Check(height == lines.totalHeight && widest == lines.widest);

    CountingCanvas canvas;
    Rect<float> bounds;
    Check(DrawWrappedStyledText(runs, lines, 400.0f, 300.0f, &bounds, state, &canvas) == 0);

    const auto* font = dynamic_cast<const Font*>(GetResourceManager()->GetResource(Label("a")).get());
    Check(font != nullptr);
    CheckPlainBreaks(markup, width, *font);
    return 0;
}

#include "graphics/StyledText.h"

#include "core/AttributeContainer.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Font.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include "support/MemoryFileSystemPartition.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;

namespace
{

// Every character up to 255 advances by `advance` (the pair A, V by 3 less); lines are `height` high.
class MonospacedFont : public Font
{
public:
    void GetGlyph(wchar_t, sGlyph* out) const override { *out = sGlyph(); }
    int GetGlyphHeight() const override { return height; }
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override
    {
        return c > 255 ? 0 : (c == L'A' && next == L'V') ? advance - 3 : advance;
    }

    int advance = 10;
    int height = 20;
};

// "testfont" resources: monospaced fonts with the element's "advance" and "height".
class MonospacedFontFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto* font = new ResourceWrapper<MonospacedFont>(manifest, name, attributes);
        font->advance = attributes.GetAttribute(L"advance", 10);
        font->height = attributes.GetAttribute(L"height", 20);
        return font;
    }
};

// Draws whole lines of text itself, recording them; with `canDraw` false it offers no drawing at all.
class TextRecordingCanvas : public ICanvas, public ITextDrawingCanvas
{
public:
    struct Line
    {
        std::wstring text;
        float x;
        float y;
        sDrawState state;
    };

    Label GetKind() const override { return Label("TextRecordingCanvas"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) ||
               (canDraw && AnswerInterface<ITextDrawingCanvas>(this, name, out));
    }
    int DrawTextLine(const wchar_t* text, float x, float y, const sDrawState& state) override
    {
        lines.push_back({text, x, y, state});
        return 0;
    }

    bool canDraw = true;
    std::vector<Line> lines;

private:
    Rect<int> mBounds{0, 0, 800, 600};
};

class CountingLineWidths : public ILineWidths
{
public:
    int GetLineWidth(int line, int defaultWidth) override
    {
        asked.push_back(line);
        return line == 0 ? 30 : defaultWidth;
    }

    std::vector<int> asked;
};

const ColorF kRed(1, 0, 0, 1);
const ColorF kWhite(1, 1, 1, 1);
const ColorF kBlack(0, 0, 0, 1);

using Shape = std::vector<std::vector<int>>;

// Fonts "small" (10 wide, 20 high) and "big" (20 wide, 40 high) of a loaded manifest; the base style
// uses "small".
class StyledTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager = GetResourceManager();
        manager->AddResourceFactory(L"testfont", new MonospacedFontFactory());
        const std::string manifest = R"(<fonts><testfont name="small" advance="10" height="20"/>
                                        <testfont name="big" advance="20" height="40"/></fonts>)";
        ReadOnlyMemoryStream stream(L"fonts.xml", manifest.data(), manifest.size());
        manager->LoadFromStream(&stream, L"fonts");
        small = dynamic_cast<const Font*>(manager->GetResource(Label("small")).get());
        big = dynamic_cast<const Font*>(manager->GetResource(Label("big")).get());
        ASSERT_TRUE(small && big);
        base.font = Label("small");
    }

    void TearDown() override { Internal::DeleteAllSingletons(); }

    std::vector<StyleRun> Runs(const std::wstring& markup) { return ComputeStyleRuns(markup, base); }

    // The lines of the markup wrapped at `width`, as {count, width, height}.
    Shape Layout(const std::wstring& markup, int width, ILineWidths* widths = nullptr)
    {
        const LineDimensionList list = ComputeStyledTextLineDimensions(Runs(markup), width, widths);
        Shape shape;
        int32_t widest = 0;
        int32_t total = 0;
        for (const auto& line : list.lines)
        {
            shape.push_back({line.count, line.width, line.height});
            widest = std::max(widest, line.width);
            total += line.height;
        }
        EXPECT_EQ(list.widest, widest);
        EXPECT_EQ(list.totalHeight, total);
        return shape;
    }

    ResourceManager* manager = nullptr;
    const Font* small = nullptr;
    const Font* big = nullptr;
    TextStyle base;
};

} // namespace

TEST_F(StyledTextTest, StyleElementsMakeRunsThatNest)
{
    auto runs = Runs(LR"(a<style color="#FF0000">b</style>c)");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text + runs[1].text + runs[2].text, L"abc");
    EXPECT_EQ(runs[1].style.color, kRed);
    EXPECT_EQ(runs[1].style.font, Label("small")) << "a style starts from the one around it";
    EXPECT_EQ(runs[2].style.color, kWhite);

    runs = Runs(LR"(<style color="#FF0000" bgColor="#00FF0080">r<style font="big">R</style>)"
                LR"(<style textMode="outline">o</style><style textMode="dropShadow">d</style>)"
                LR"(<style textMode="dropshadow" font="">n</style></style>)");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[1].style.font, Label("big"));
    EXPECT_EQ(runs[1].style.color, kRed) << "an inner font-only style keeps the outer colour";
    EXPECT_EQ(runs[1].style.bgColor, ColorF(0, 1, 0, 128 / 255.0f));
    EXPECT_EQ(runs[2].style.textMode, TextMode_Outline);
    EXPECT_EQ(runs[3].style.textMode, TextMode_DropShadow);
    EXPECT_EQ(runs[4].style.textMode, TextMode_Normal) << "mode words are case-sensitive";
    EXPECT_TRUE(runs[4].style.font.IsNull()) << "an empty font name is no font";

    runs = Runs(L"x &lt; y<b>bold</b>!<!-- note -->?");
    ASSERT_EQ(runs.size(), 1u) << "other elements and comments leave the run whole";
    EXPECT_EQ(runs[0].text, L"x < ybold!?");

    runs = Runs(LR"(a</style>b<style color="#FF0000">c)");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].style.color, kWhite) << "a stray end tag never closes the base style";
    EXPECT_TRUE(Runs(LR"(<style color="#FF0000"></style>)").empty());
}

TEST_F(StyledTextTest, MalformedMarkupGivesNoRunsAndThreeLogLines)
{
    // Markup, and its text as logged: UTF-8 whatever the locale, long text cut so that its line ends.
    const std::vector<std::pair<std::wstring, std::string>> cases = {
        {LR"(a<style color="#FF0000>b)", R"(a<style color="#FF0000>b)"},
        {L"\u00e9t\u00e9 <", "\xC3\xA9t\xC3\xA9 <"},
        {std::wstring(2000, L'\u00e9') + L"<", ""},
    };
    for (const auto& [markup, logged] : cases)
    {
        std::vector<StyleRun> runs(1);
        const auto lines = ImageFixtures::LogLines([&] { runs = Runs(markup); });
        EXPECT_TRUE(runs.empty());
        ASSERT_EQ(lines.size(), 4u) << logged;
        EXPECT_EQ(lines[0], "StyledTextGraphics::Graphics::ComputeStyleRuns: There is an error in the XML style data:");
        if (logged.empty())
            EXPECT_LE(lines[1].size(), 900u);
        else
            EXPECT_EQ(lines[1], logged);
        EXPECT_EQ(lines[2], "Strata::XMLError");
        EXPECT_EQ(lines[3].rfind(" Message: StyleRunList temp(1): ", 0), 0u) << lines[3];
    }
}

TEST_F(StyledTextTest, WordsWrapAndTrailingSpacesDoNotCount)
{
    EXPECT_EQ(Layout(L"one two", 50), Shape({{4, 30, 20}, {3, 30, 20}}));
    EXPECT_EQ(Layout(L"one two", 70), Shape({{7, 70, 20}}));
    EXPECT_EQ(Layout(L"ab   ", 30), Shape({{5, 20, 20}})) << "spaces past the limit stay, uncounted";
    EXPECT_EQ(Layout(L"ab  cd", 100), Shape({{6, 60, 20}}));
    EXPECT_EQ(Layout(L"aa bb cc", 20), Shape({{3, 20, 20}, {3, 20, 20}, {2, 20, 20}}));
    EXPECT_EQ(Layout(L"A<style color=\"#FF0000\">V</style>", 100), Shape({{2, 17, 20}})) << "kerned across runs";

    CountingLineWidths widths;
    EXPECT_EQ(Layout(L"aaa bbb ccc", 100, &widths), Shape({{4, 30, 20}, {7, 70, 20}}));
    EXPECT_EQ(widths.asked, std::vector<int>({0, 1})) << "once per line";
}

TEST_F(StyledTextTest, WordsWiderThanALineAreSplit)
{
    EXPECT_EQ(Layout(std::wstring(20, L'm'), 55), Shape({{5, 50, 20}, {5, 50, 20}, {5, 50, 20}, {5, 50, 20}}));
    EXPECT_EQ(Layout(L"mmm", 5), Shape({{1, 10, 20}, {1, 10, 20}, {1, 10, 20}}));
    EXPECT_EQ(Layout(L"a bcdef", 30), Shape({{2, 10, 20}, {3, 30, 20}, {2, 20, 20}}));
}

TEST_F(StyledTextTest, LineFeedsEndLines)
{
    EXPECT_EQ(Layout(L"ab  \n\ncd\n", 100), Shape({{5, 20, 20}, {1, 0, 20}, {3, 20, 20}, {0, 0, 0}}))
        << "spaces before a line feed are not counted; a closing line feed leaves an empty last line";
    EXPECT_EQ(Layout(L"abcde\nf", 50), Shape({{6, 50, 20}, {1, 10, 20}})) << "a line feed moves nothing";
}

TEST_F(StyledTextTest, FontsSetLineHeightsAndMissingFontsAreSkipped)
{
    EXPECT_EQ(Layout(LR"(ab<style font="big">CD</style>)", 1000), Shape({{4, 60, 40}}));
    EXPECT_EQ(Layout(LR"(ab<style font="nosuchfont">xyz</style>c)", 1000), Shape({{3, 30, 20}}));
    base.font = Label();
    EXPECT_EQ(Layout(L"no font at all", 10), Shape({{0, 0, 0}}));
}

TEST_F(StyledTextTest, RunsKeepTheirFontsAfterTheManifestIsUnloaded)
{
    const auto runs = Runs(L"abc");
    ComputeStyledTextLineDimensions(runs, 100, nullptr);
    EXPECT_EQ(runs[0].font, small);
    manager->Unload(L"fonts");
    ASSERT_EQ(manager->GetResource(Label("small")), nullptr);
    EXPECT_EQ(runs[0].font->GetGlyphHeight(), 20);
}

TEST_F(StyledTextTest, DrawingPlacesPiecesOnACommonBottomLine)
{
    const auto runs = Runs(LR"(ab<style font="big" color="#FF0000" bgColor="#00FF00">CD</style> ef gh)");
    const LineDimensionList lines = ComputeStyledTextLineDimensions(runs, 90, nullptr);
    sDrawState state = sDrawState::GetDefaults();
    state.color.a = 0.5f;
    state.effectColor.a = 0.25f;
    TextRecordingCanvas canvas;
    Rect<float> bounds;
    EXPECT_EQ(DrawWrappedStyledText(runs, lines, 100, 50, &bounds, state, &canvas), 0);
    ASSERT_EQ(canvas.lines.size(), 4u);
    const std::vector<std::tuple<std::wstring, float, float>> expected = {
        {L"ab", 100, 70}, {L"CD", 120, 50}, {L" ef ", 160, 70}, {L"gh", 100, 90}};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::make_tuple(canvas.lines[i].text, canvas.lines[i].x, canvas.lines[i].y), expected[i]) << i;
    EXPECT_EQ(canvas.lines[0].state.color, ColorF(1, 1, 1, 0.5f)) << "the run's colour, the state's alpha";
    EXPECT_EQ(canvas.lines[0].state.font, small);
    EXPECT_EQ(canvas.lines[1].state.color, ColorF(1, 0, 0, 0.5f));
    EXPECT_EQ(canvas.lines[1].state.effectColor, ColorF(0, 1, 0, 0.25f));
    EXPECT_EQ(canvas.lines[1].state.font, big);
    EXPECT_EQ(bounds, Rect<float>(100, 50, 90, 60));
}

TEST_F(StyledTextTest, DrawingAlignsTheBlockAndEachLine)
{
    const auto runs = Runs(L"aaaa bb");
    const LineDimensionList lines = ComputeStyledTextLineDimensions(runs, 45, nullptr); // 40 and 20 wide
    sDrawState state = sDrawState::GetDefaults();
    state.hAlign = HAlignment_Right;
    state.vAlign = VAlignment_Bottom;
    TextRecordingCanvas right;
    Rect<float> bounds;
    DrawWrappedStyledText(runs, lines, 100, 100, &bounds, state, &right);
    ASSERT_EQ(right.lines.size(), 2u);
    EXPECT_EQ(std::make_pair(right.lines[0].x, right.lines[0].y), std::make_pair(60.0f, 60.0f));
    EXPECT_EQ(std::make_pair(right.lines[1].x, right.lines[1].y), std::make_pair(80.0f, 80.0f));
    EXPECT_EQ(right.lines[0].state.hAlign, HAlignment_Left) << "pieces are drawn unaligned";
    EXPECT_EQ(bounds, Rect<float>(60, 60, 40, 40));

    state.hAlign = HAlignment_Center;
    state.vAlign = VAlignment_Middle;
    TextRecordingCanvas centre;
    DrawWrappedStyledText(runs, lines, 100.5f, 100.5f, &bounds, state, &centre);
    ASSERT_EQ(centre.lines.size(), 2u);
    EXPECT_EQ(std::make_pair(centre.lines[0].x, centre.lines[0].y), std::make_pair(80.0f, 80.0f)) << "floored";
    EXPECT_EQ(centre.lines[1].x, 90);
    EXPECT_EQ(bounds, Rect<float>(80.5f, 80, 40, 40));
}

TEST_F(StyledTextTest, DrawingAppliesTextModesAndKerningBetweenPieces)
{
    auto runs = Runs(LR"(<style textMode="outline">A</style><style textMode="dropShadow">V</style>)");
    TextRecordingCanvas canvas;
    DrawWrappedStyledText(runs, ComputeStyledTextLineDimensions(runs, 100, nullptr), 0, 0, sDrawState::GetDefaults(),
                          &canvas);
    ASSERT_EQ(canvas.lines.size(), 11u) << "eight outline draws and the A, a shadow and the V";
    EXPECT_EQ(canvas.lines[0].state.color, kBlack) << "effects in the run's background colour";
    EXPECT_EQ(canvas.lines[8].x, 0);
    EXPECT_EQ(canvas.lines[10].text, L"V");
    EXPECT_EQ(canvas.lines[10].x, 7) << "kerned against the A of the piece before";

    runs = Runs(LR"(A <style color="#FF0000">V</style>)");
    TextRecordingCanvas spaced;
    DrawWrappedStyledText(runs, ComputeStyledTextLineDimensions(runs, 100, nullptr), 0, 0, sDrawState::GetDefaults(),
                          &spaced);
    ASSERT_EQ(spaced.lines.size(), 2u);
    EXPECT_EQ(spaced.lines[1].x, 20) << "no kerning after a space";
}

TEST_F(StyledTextTest, DrawingMismatchesAndFailures)
{
    const auto runs = Runs(L"abc");
    LineDimensionList lines = ComputeStyledTextLineDimensions(runs, 100, nullptr);
    TextRecordingCanvas canvas;
    EXPECT_EQ(DrawWrappedStyledText({}, lines, 0, 0, sDrawState::GetDefaults(), &canvas), 0);
    EXPECT_EQ(DrawWrappedStyledText(runs, LineDimensionList(), 0, 0, sDrawState::GetDefaults(), &canvas), 0);
    EXPECT_TRUE(canvas.lines.empty());

    lines.lines.push_back({2, 20, 20});
    const auto log = ImageFixtures::LogLines(
        [&] { EXPECT_EQ(DrawWrappedStyledText(runs, lines, 0, 0, sDrawState::GetDefaults(), &canvas), 0); });
    EXPECT_EQ(log, std::vector<std::string>({"StyledTextGraphics::Graphics::DrawWrappedStyledText: ran out of style "
                                             "runs (malformed LineDimensionList?)"}));
    EXPECT_EQ(canvas.lines.size(), 1u) << "the lines the runs hold are drawn";

    TextRecordingCanvas bare;
    bare.canDraw = false;
    EXPECT_EQ(DrawWrappedStyledText(runs, lines, 0, 0, sDrawState::GetDefaults(), &bare), DrawResult_Unsupported);
}

namespace
{

// The game's fonts (data/fonts) through the font factory: "body" (Body24) and "title" (Title40).
class RealFontStyledTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* fileSystem = new FileSystem();
        auto* data = new Strata::Testing::MemoryFileSystemPartition(L"data");
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, data);
        source.reset(CreateDefaultFileSource());
        RegisterSingleton(source.get());
        // The fixtures are tests/engine/graphics/fixtures of the source tree.
        const auto fonts = ImageFixtures::Folder() / "../../../../data/fonts";
        for (const std::string file : {"Body24.png", "Body24.txt", "Title40.png", "Title40.txt"})
        {
            std::ifstream in(fonts / file, std::ios::binary);
            ASSERT_TRUE(in) << "missing font file " << (fonts / file).string();
            data->AddFile(std::wstring(file.begin(), file.end()),
                          std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
        }
        RegisterFontResourceFactory();
        const std::string manifest = R"(<m><font name="body" src="Body24"/><font name="title" src="Title40"/></m>)";
        ReadOnlyMemoryStream stream(L"fonts.xml", manifest.data(), manifest.size());
        GetResourceManager()->LoadFromStream(&stream, L"fonts");
        body = dynamic_cast<const Font*>(GetResourceManager()->GetResource(Label("body")).get());
        ASSERT_NE(body, nullptr);
    }

    void TearDown() override
    {
        source.reset();
        Internal::DeleteAllSingletons();
    }

    std::unique_ptr<IFileSource> source;
    const Font* body = nullptr;
};

} // namespace

TEST_F(RealFontStyledTextTest, PlainLinesStayWithinTheLimitAndTheWidest)
{
    const std::wstring text = L"The quick brown fox jumps over the lazy dog. AVATAR Wavy Tokyo, \"quoted\" "
                              L"and averyveryverylongwordthatnolinecanhold.\nA new paragraph  with  spaces.";
    for (const int limit : {40, 120, 333, 800})
    {
        LineBreakList list;
        ComputeLineBreaks(&list, text.c_str(), limit, body, nullptr);
        ASSERT_EQ(list.starts.back(), static_cast<int>(text.size()));
        for (size_t i = 0; i + 1 < list.starts.size(); ++i)
        {
            const size_t begin = static_cast<size_t>(list.starts[i]);
            size_t end = static_cast<size_t>(list.starts[i + 1]);
            ASSERT_LT(begin, end) << "line " << i << " at " << limit;
            while (end > begin + 1 && std::iswspace(static_cast<wint_t>(text[end - 1])))
                --end;
            const int width = body->GetStringWidth(text.substr(begin, end - begin).c_str());
            EXPECT_TRUE(end - begin == 1 || width <= limit) << "line " << i << " at " << limit;
            EXPECT_LE(width, list.widest) << "line " << i << " at " << limit;
        }
    }
}

TEST_F(RealFontStyledTextTest, DrawsIntoAnImageInsideItsBounds)
{
    TextStyle style;
    style.font = Label("body");
    style.color = ColorF(0, 0, 1, 1);
    const auto runs =
        ComputeStyleRuns(LR"(Blue text <style font="title" color="#FF0000">RED</style> blue again)", style);
    const LineDimensionList lines = ComputeStyledTextLineDimensions(runs, 160, nullptr);
    ASSERT_GE(lines.lines.size(), 2u);
    for (const auto& line : lines.lines)
        EXPECT_LE(line.width, 160);

    Image image(400, 300);
    ICanvas* canvas = CreateImageCanvas(&image);
    Rect<float> bounds;
    EXPECT_EQ(DrawWrappedStyledText(runs, lines, 20, 30, &bounds, sDrawState::GetDefaults(), canvas), 0);
    DestroyImageCanvas(canvas);
    int red = 0;
    int blue = 0;
    int outside = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            const Color32 pixel = image.GetPixel(x, y);
            if (pixel.a == 0)
                continue;
            red += pixel.r > 128 && pixel.b < 64;
            blue += pixel.b > 128 && pixel.r < 64;
            // Glyphs may reach a few pixels past their advance.
            outside +=
                x < bounds.x - 4 || x >= bounds.x + bounds.width + 4 || y < bounds.y || y >= bounds.y + bounds.height;
        }
    EXPECT_GT(red, 50) << "the title run in its colour";
    EXPECT_GT(blue, 50) << "the body runs in theirs";
    EXPECT_EQ(outside, 0);
}

#include "graphics/ImageFont.h"

#include "core/AttributeContainer.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"
#include "graphics/SoftwareCanvas.h"

#include "support/MemoryDataTest.h"
#include "support/MemoryFileSystemPartition.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

// Exactly the bytes of the text, so that a read past the end is caught by the address sanitizer.
std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Every pixel different: red and green the column, blue the row.
std::unique_ptr<Image> PatternImage(int width, int height)
{
    auto image = std::make_unique<Image>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, Color32(uint8_t(x & 0xFF), uint8_t(x >> 8), uint8_t(y), 255));
    return image;
}

struct BuildResult
{
    bool built = false;
    std::vector<std::string> lines;
};

BuildResult Build(ImageFont& font, const std::string& metrics, std::unique_ptr<Image> image,
                  const std::wstring& name = L"test.txt")
{
    BuildResult result;
    const std::vector<uint8_t> bytes = Bytes(metrics);
    result.lines =
        ImageFixtures::LogLines([&] { result.built = font.Build(bytes.data(), bytes.size(), std::move(image), name); });
    return result;
}

// A built font; a test failure when it cannot be built.
std::unique_ptr<ImageFont> MakeFont(const std::string& metrics, int imageWidth = 32, int imageHeight = 24)
{
    auto font = std::make_unique<ImageFont>();
    const BuildResult result = Build(*font, metrics, PatternImage(imageWidth, imageHeight));
    EXPECT_TRUE(result.built);
    return font;
}

std::filesystem::path FontsFolder()
{
    // fixtures -> graphics -> engine -> tests -> source root
    return ImageFixtures::Folder().parent_path().parent_path().parent_path().parent_path() / "data" / "fonts";
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "missing " << path.string();
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

sFontMetrics ReadMetrics(const std::string& text)
{
    sFontMetrics metrics;
    const char* reason = nullptr;
    const std::vector<uint8_t> bytes = Bytes(text);
    EXPECT_TRUE(ReadFontMetrics(bytes.data(), bytes.size(), &metrics, &reason)) << (reason ? reason : "");
    return metrics;
}

} // namespace

// --- reading metrics files -----------------------------------------------------------------------

TEST(ImageFontMetrics, EveryVersionIsRead)
{
    const sFontMetrics v0 = ReadMetrics(ImageFixtures::Read("font_v0.txt"));
    EXPECT_EQ(v0.glyphHeight, 12);
    EXPECT_EQ(v0.spacing, 8);
    EXPECT_EQ(v0.version, 0);
    EXPECT_EQ(v0.spaceAdvance, 4);
    EXPECT_EQ(v0.order, (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(v0.glyphs['b'], (sFontGlyphRect{6, 0, 6, 12}));
    EXPECT_TRUE(v0.kerning.empty());

    // Below version 3 every glyph lies in the strip at stripY, glyphHeight high; é is written in UTF-8.
    const sFontMetrics v1 = ReadMetrics(ImageFixtures::Read("font_v1.txt"));
    EXPECT_EQ(v1.stripY, 2);
    EXPECT_EQ(v1.glyphs[0xE9], (sFontGlyphRect{15, 2, 5, 10}));
    EXPECT_EQ(v1.glyphs['!'], (sFontGlyphRect{21, 2, 2, 10}));
    EXPECT_TRUE(v1.kerning.empty());

    // The kerning table follows record order: A, V, é.
    const sFontMetrics v2 = ReadMetrics(ImageFixtures::Read("font_v2.txt"));
    EXPECT_EQ(v2.glyphs[0xE9], (sFontGlyphRect{10, 0, 7, 10}));
    ASSERT_EQ(v2.kerning.size(), 65536u);
    EXPECT_EQ(v2.kerning['A' * 256 + 'V'], -2);
    EXPECT_EQ(v2.kerning['V' * 256 + 'A'], -1);
    EXPECT_EQ(v2.kerning[0xE9 * 256 + 0xE9], 3);
    EXPECT_EQ(v2.kerning['A' * 256 + 'A'], 0);

    const sFontMetrics v3 = ReadMetrics(ImageFixtures::Read("font_v3.txt"));
    EXPECT_EQ(v3.glyphs['V'], (sFontGlyphRect{10, 12, 8, 10}));
    EXPECT_EQ(v3.glyphs[0xE9], (sFontGlyphRect{20, 1, 7, 9}));
    EXPECT_EQ(v3.kerning['A' * 256 + 'V'], -2);
}

TEST(ImageFontMetrics, RecordCharactersAndNumbers)
{
    // C2 b gives b, C3 b gives b + 0x40 (only its low 8 bits count), other bytes are themselves; the
    // character needs no space before its x.
    const sFontMetrics metrics = ReadMetrics("0 10 0 1 3 4\n\xC2\xAB 1 2\n\xE9 +3 4\n\xC3\xC0 5 6\nZ7 8\n");
    EXPECT_EQ(metrics.order, (std::vector<uint8_t>{0xAB, 0xE9, 0x00, 'Z'}));
    EXPECT_EQ(metrics.glyphs[0xAB].x, 1);
    EXPECT_EQ(metrics.glyphs[0xE9].x, 3);
    EXPECT_EQ(metrics.glyphs[0x00].width, 6);
    EXPECT_EQ(metrics.glyphs['Z'], (sFontGlyphRect{7, 0, 8, 10}));

    // Adjustments beyond a signed byte are brought into its range.
    const sFontMetrics kerned = ReadMetrics("0 10 0 2 3 2\nA 0 5\nB 5 5\n300 -300\n-128 127\n");
    EXPECT_EQ(kerned.kerning['A' * 256 + 'A'], 127);
    EXPECT_EQ(kerned.kerning['A' * 256 + 'B'], -128);
    EXPECT_EQ(kerned.kerning['B' * 256 + 'B'], 127);

    // A character given twice keeps its last rectangle.
    const sFontMetrics twice = ReadMetrics("0 10 0 3 3 2\nA 0 5 0 10\nA 6 4 1 9\n0 0\n0 0\n");
    EXPECT_EQ(twice.glyphs['A'], (sFontGlyphRect{6, 1, 4, 9}));
}

// --- measuring ------------------------------------------------------------------------------------

TEST(ImageFont, Version0AdvancesBySpacingAlone)
{
    auto font = MakeFont(ImageFixtures::Read("font_v0.txt"), 18, 12);
    EXPECT_FALSE(font->IsProportional());
    EXPECT_EQ(font->GetGlyphHeight(), 12);
    EXPECT_EQ(font->GetStringWidth(L"ab"), 16);
    EXPECT_EQ(font->GetStringWidth(L"a zc"), 32); // spaces and missing glyphs too
    EXPECT_EQ(font->GetStringWidth(L"a\u4E00"), 8);
    EXPECT_EQ(font->GetStringWidth(L""), 0);
    EXPECT_EQ(font->GetStringWidth(nullptr), 0);
}

TEST(ImageFont, KerningAppliesBetweenCharactersUpTo255)
{
    for (const char* fixture : {"font_v2.txt", "font_v3.txt"})
    {
        SCOPED_TRACE(fixture);
        auto font = MakeFont(ImageFixtures::Read(fixture));
        // width(A) + spacing - 2 + width(V) + spacing
        EXPECT_EQ(font->GetStringWidth(L"AV"), 8 + 1 - 2 + 8 + 1);
        EXPECT_EQ(font->GetStringWidth(L"VA"), 8 + 1 - 1 + 8 + 1);
        EXPECT_EQ(font->GetStringWidth(L"\u00E9\u00E9"), 7 + 1 + 3 + 7 + 1);
        // A space advances by spaceAdvance + spacing; a character above 255 measures 0.
        EXPECT_EQ(font->GetStringWidth(L" "), 4 + 1);
        EXPECT_EQ(font->GetKernedLetterWidth(L'\u0100', L'A'), 0);
        EXPECT_EQ(font->GetKernedLetterWidth(static_cast<wchar_t>(-1), L'A'), 0);
        // The letter before a character above 255 keeps its own advance.
        EXPECT_EQ(font->GetKernedLetterWidth(L'A', L'\u0100'), 9);
        EXPECT_EQ(font->GetKernedLetterWidth(L'A', static_cast<wchar_t>(-1)), 9);
        EXPECT_EQ(font->GetStringWidth(L"A\u4E00V"), 9 + 0 + 9);
        Font::sGlyph glyph;
        font->GetGlyph(L'\u0101', &glyph);
        EXPECT_EQ(glyph.image, nullptr);
        EXPECT_EQ(glyph.width, 0);
    }
}

TEST(ImageFont, GlyphRectanglesAreClampedToTheImage)
{
    auto font = MakeFont("0 10 1 3 4 4\nA -3 8 2 10\nV 14 8 -5 7\nW 40 3 0 5\nX 2 -4 0 5\n0 0 0 0\n0 0 0 0\n"
                         "0 0 0 0\n0 0 0 0\n",
                         16, 8);
    Font::sGlyph glyph;
    font->GetGlyph(L'A', &glyph);
    EXPECT_EQ((sFontGlyphRect{glyph.x, glyph.y, glyph.width, glyph.height}), (sFontGlyphRect{0, 2, 5, 6}));
    font->GetGlyph(L'V', &glyph);
    EXPECT_EQ((sFontGlyphRect{glyph.x, glyph.y, glyph.width, glyph.height}), (sFontGlyphRect{14, 0, 2, 2}));
    font->GetGlyph(L'W', &glyph);
    EXPECT_EQ(glyph.width, 0);
    font->GetGlyph(L'X', &glyph);
    EXPECT_EQ(glyph.width, 0);
    // Advances follow the clamped widths.
    EXPECT_EQ(font->GetStringWidth(L"AVWX"), 6 + 3 + 1 + 1);
}

// --- damaged metrics -------------------------------------------------------------------------------

TEST(ImageFont, DamagedMetricsGiveNoFontAndOneLine)
{
    const std::map<std::string, std::string> cases = {
        {"ends in the kerning table", ImageFixtures::Read("font_bad_short.txt")},
        {"glyph height above 1024", ImageFixtures::Read("font_bad_height.txt")},
        {"glyph count above 256", ImageFixtures::Read("font_bad_count.txt")},
        {"lead byte as the last byte", ImageFixtures::Read("font_lead_end.txt")},
        {"empty", ""},
        {"ends in the header", "0 10 1 3"},
        {"ends in a record", "0 10 1 3 4 1\nA 0 8 0"},
        {"ends before the kerning table", "0 10 1 3 4 1\nA 0 8 0 10\n"},
        {"glyph height 0", "0 0 1 3 4 0\n"},
        {"negative glyph count", "0 10 1 3 4 -1\n"},
        {"not a number", "0 10 x 3 4 0\n"},
        {"number with a tail", "0 10 1 3 4 1\nA 0 8abc 0 10\n0\n"},
        {"fraction", "0 10 1.5 3 4 0\n"},
        {"number beyond int", "0 10 1 3 4 1\nA 99999999999 8 0 10\n0\n"},
        {"spacing beyond any font", "0 10 100000 3 4 0\n"},
    };
    for (const auto& [what, metrics] : cases)
    {
        SCOPED_TRACE(what);
        ImageFont font;
        const BuildResult result = Build(font, metrics, PatternImage(32, 24), L"fonts/Broken.txt");
        EXPECT_FALSE(result.built);
        EXPECT_EQ(font.GetImage(), nullptr);
        ASSERT_EQ(result.lines.size(), 1u);
        EXPECT_EQ(result.lines[0].rfind("Font fonts/Broken.txt could not be loaded. (", 0), 0u) << result.lines[0];
    }

    // A font that fails to build again stays as it was.
    ImageFont font;
    ASSERT_TRUE(Build(font, ImageFixtures::Read("font_v3.txt"), PatternImage(32, 24)).built);
    const Image* image = font.GetImage();
    EXPECT_FALSE(Build(font, cases.begin()->second, PatternImage(8, 8)).built);
    EXPECT_FALSE(Build(font, ImageFixtures::Read("font_v3.txt"), nullptr).built);
    EXPECT_EQ(font.GetImage(), image);
    EXPECT_EQ(font.GetStringWidth(L"AV"), 16);
}

TEST(ImageFont, LeadByteAsTheLastByteIsReadSafely)
{
    // After a complete file a lone lead byte is a stray character and harms nothing.
    ImageFont font;
    const BuildResult trailing = Build(font, ImageFixtures::Read("font_v3.txt") + "\xC2", PatternImage(32, 24));
    EXPECT_TRUE(trailing.built);
    // Anywhere else it takes the byte after it, even white space: C3 20 is the character 0x60.
    sFontMetrics metrics;
    const char* reason = nullptr;
    const std::vector<uint8_t> bytes = Bytes("0 10 1 1 4 1\n\xC3 5 6");
    ASSERT_TRUE(ReadFontMetrics(bytes.data(), bytes.size(), &metrics, &reason));
    EXPECT_EQ(metrics.order, (std::vector<uint8_t>{0x60}));
    EXPECT_EQ(metrics.glyphs[0x60].x, 5);
    // As a record's character at the very end it leaves the record unfinished.
    const std::vector<uint8_t> cut = Bytes("0 10 1 1 4 1\n\xC3");
    EXPECT_FALSE(ReadFontMetrics(cut.data(), cut.size(), &metrics, &reason));
    EXPECT_STREQ(reason, "it ends early");
}

// --- repacking old strip fonts ---------------------------------------------------------------------

namespace
{

// A strip font of `count` glyphs, each `width` wide, from character 33 on.
std::string StripMetrics(int version, int glyphHeight, int count, int width)
{
    std::ostringstream text;
    text << "0 " << glyphHeight << " 1 " << version << " 4 " << count << "\n";
    for (int i = 0; i < count; ++i)
        text << char(33 + i) << ' ' << i * width << ' ' << width << "\n";
    if (version >= 2)
        for (int i = 0; i < count * count; ++i)
            text << "0 ";
    return text.str();
}

// Every glyph's pixels in the atlas equal those at its place in the strip.
void ExpectGlyphsCopied(const ImageFont& font, const Image& strip, int count, int width, int glyphHeight)
{
    const Image* atlas = font.GetImage();
    ASSERT_NE(atlas, nullptr);
    for (int i = 0; i < count; ++i)
    {
        Font::sGlyph glyph;
        font.GetGlyph(wchar_t(33 + i), &glyph);
        ASSERT_EQ(glyph.width, width);
        ASSERT_EQ(glyph.height, glyphHeight);
        for (int y = 0; y < glyphHeight; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(atlas->GetPixel(glyph.x + x, glyph.y + y), strip.GetPixel(i * width + x, y))
                    << "glyph " << i << " at " << x << "," << y;
    }
}

} // namespace

TEST(FontRepacking, StripIsFoldedIntoTheFirstAtlasThatHoldsIt)
{
    // 50 glyphs of 20 x 20 in a 1000-pixel strip: 64 x 64, 64 x 128 and 128 x 128 cannot take 1000 / W
    // rows of 20 and are skipped; at 128 x 256 five glyphs with their gutters fit a row, ten rows fit.
    ImageFont font;
    auto strip = PatternImage(1000, 20);
    const std::unique_ptr<Image> copy = strip->Copy();
    const BuildResult result = Build(font, StripMetrics(1, 20, 50, 20), std::move(strip), L"strip");
    ASSERT_TRUE(result.built);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"Font: strip was 1000x20 now 128x256"}));
    EXPECT_EQ(font.GetImage()->GetWidth(), 128);
    EXPECT_EQ(font.GetImage()->GetHeight(), 256);
    Font::sGlyph glyph;
    font.GetGlyph(wchar_t(33 + 7), &glyph);
    EXPECT_EQ(glyph.x, 2 * 22);
    EXPECT_EQ(glyph.y, 1 * 22);
    ExpectGlyphsCopied(font, *copy, 50, 20, 20);
    // The gutters stay transparent; characters without a glyph lie at 0, 0 with no size.
    EXPECT_EQ(font.GetImage()->GetPixel(20, 0).a, 0);
    EXPECT_EQ(font.GetImage()->GetPixel(0, 20).a, 0);
    font.GetGlyph(L'~', &glyph);
    EXPECT_EQ((sFontGlyphRect{glyph.x, glyph.y, glyph.width, glyph.height}), sFontGlyphRect{});
    // Widths and kerning are untouched by the move.
    EXPECT_EQ(font.GetStringWidth(L"!\""), 42);
}

TEST(FontRepacking, SizesWhoseRowsOverflowAreLoggedAndSkipped)
{
    // 20 glyphs of 5 x 30: nine fit a row of 64, so three rows of 32 overflow 64 x 64.
    for (int version : {0, 2})
    {
        ImageFont font;
        auto strip = PatternImage(100, 30);
        const std::unique_ptr<Image> copy = strip->Copy();
        const BuildResult result = Build(font, StripMetrics(version, 30, 20, 5), std::move(strip), L"tall");
        ASSERT_TRUE(result.built);
        EXPECT_EQ(result.lines, (std::vector<std::string>{"Font: tall did not fit into a 64x64",
                                                          "Font: tall was 100x30 now 64x128"}));
        ExpectGlyphsCopied(font, *copy, 20, 5, 30);
    }
}

TEST(FontRepacking, AtlasGrowsUntilEveryGlyphFitsWhole)
{
    // A glyph 150 wide fits no row narrower than 151, however few rows the strip needs.
    ImageFont font;
    auto strip = PatternImage(200, 10);
    const std::unique_ptr<Image> copy = strip->Copy();
    const BuildResult result = Build(font, "0 10 0 1 4 2\n! 0 150\n\" 150 50\n", std::move(strip), L"wide");
    ASSERT_TRUE(result.built);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "Font: wide was 200x10 now 256x256");
    EXPECT_EQ(result.lines.front(), "Font: wide did not fit into a 64x64");
    Font::sGlyph glyph;
    font.GetGlyph(L'!', &glyph);
    ASSERT_EQ(glyph.width, 150);
    for (int x = 0; x < 150; ++x)
        ASSERT_EQ(font.GetImage()->GetPixel(glyph.x + x, glyph.y + 5), copy->GetPixel(x, 5)) << x;
    font.GetGlyph(L'"', &glyph);
    EXPECT_EQ(glyph.x, 152);
    EXPECT_EQ(font.GetImage()->GetPixel(glyph.x + 49, glyph.y), copy->GetPixel(199, 0));
}

TEST(FontRepacking, GlyphsThatFitNoAtlasGiveNoFont)
{
    ImageFont font;
    const BuildResult result = Build(font, "0 1 0 1 4 1\n! 0 5000\n", PatternImage(5000, 1), L"huge");
    EXPECT_FALSE(result.built);
    EXPECT_EQ(font.GetImage(), nullptr);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "Font huge could not be loaded. (its glyphs do not fit into an atlas)");
}

TEST(FontRepacking, DrawsWithTheLoaderThreadsOwnContext)
{
    // The main thread keeps drawing into its own image through its current context while another
    // thread repacks a font: neither sees the other's canvas.
    Image mine(4, 4);
    ICanvas* canvas = CreateImageCanvas(&mine);
    Context context{canvas, sDrawState::GetDefaults()};
    context.state.flags &= ~DrawFlag_Blend;
    PushContext(context);
    const int depth = GetContextDepth();

    ImageFont font;
    auto strip = PatternImage(1000, 20);
    const std::unique_ptr<Image> copy = strip->Copy();
    std::atomic<bool> done{false};
    int threadDepthAfter = -1;
    bool built = false;
    std::thread loader(
        [&]
        {
            const std::vector<uint8_t> bytes = Bytes(StripMetrics(1, 20, 50, 20));
            built = font.Build(bytes.data(), bytes.size(), std::move(strip), L"threaded");
            threadDepthAfter = GetContextDepth();
            done = true;
        });
    int draws = 0;
    while (!done || draws < 50)
    {
        sDrawState state = GetDrawState();
        state.color = ColorF(0.0f, float(draws % 2), 1.0f, 1.0f);
        EXPECT_EQ(GetCanvas(), canvas);
        DrawFilledRect(Rect<int>(0, 0, 4, 4), state, GetCanvas());
        ++draws;
    }
    loader.join();

    EXPECT_TRUE(built);
    EXPECT_EQ(threadDepthAfter, 0);
    EXPECT_EQ(GetContextDepth(), depth);
    EXPECT_EQ(GetCanvas(), canvas);
    EXPECT_EQ(mine.GetPixel(1, 1).b, 255);
    ExpectGlyphsCopied(font, *copy, 50, 20, 20);
    PopContext();
    DestroyImageCanvas(canvas);
}

// --- the resource factory --------------------------------------------------------------------------

namespace
{

// The game's data in memory, read through the default file source.
class FontResourceFactoryTest : public Strata::Testing::MemoryDataTest
{
protected:
    void SetUp() override
    {
        MemoryDataTest::SetUp();
        for (const char* name : {"Body24", "Title40", "Verdana12"})
        {
            const std::wstring base = ConvertStringASCIIToWide(name);
            data->AddFile(base + L".png", ReadFile(FontsFolder() / (std::string(name) + ".png")));
            data->AddFile(base + L".txt", ReadFile(FontsFolder() / (std::string(name) + ".txt")));
        }

        MakeElement("<font/>");
    }

    std::unique_ptr<IResourceDescriptor> Create(const std::wstring& src, std::vector<std::string>* lines)
    {
        const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"src", src}});
        IResourceDescriptor* made = nullptr;
        *lines = ImageFixtures::LogLines(
            [&] { made = factory.CreateResource(L"manifest", Label("font"), attributes, *element); });
        return std::unique_ptr<IResourceDescriptor>(made);
    }

    FontResourceFactory factory;
};

} // namespace

TEST_F(FontResourceFactoryTest, LoadsTheFontOrSaysInOneLineWhyNot)
{
    std::vector<std::string> lines;
    auto resource = Create(L"Verdana12", &lines);
    ASSERT_NE(resource, nullptr);
    EXPECT_TRUE(lines.empty());
    const Font* font = dynamic_cast<Font*>(resource.get());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetGlyphHeight(), 15);
    EXPECT_EQ(data->GetOpenStreamCount(), 0);

    data->AddFile(L"Lonely.png", ReadFile(FontsFolder() / "Verdana12.png"));
    EXPECT_EQ(Create(L"Lonely", &lines), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Font Lonely.txt could not be loaded. (it was not found)"}));

    data->AddFile(L"Damaged.png", ReadFile(FontsFolder() / "Verdana12.png"));
    data->AddFile(L"Damaged.txt", ImageFixtures::Read("font_bad_height.txt"));
    EXPECT_EQ(Create(L"Damaged", &lines), nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Damaged.txt"), std::string::npos);

    data->AddFile(L"NoImage.txt", ImageFixtures::Read("font_v3.txt"));
    EXPECT_EQ(Create(L"NoImage", &lines), nullptr);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(data->GetOpenStreamCount(), 0);
}

TEST_F(FontResourceFactoryTest, ManifestFontsAreFoundByName)
{
    RegisterFontResourceFactory();
    static const char kManifest[] = "<resources><font name=\"Small\" src=\"Verdana12\"/></resources>";
    MemoryStream manifest(L"fonts.xml");
    manifest.Write(kManifest, sizeof(kManifest) - 1);
    manifest.Seek(SeekOrigin_Begin, 0);
    GetResourceManager()->LoadFromStream(&manifest, L"fonts");
    AutoResource<Font> font("Small");
    ASSERT_NE(font.Get(), nullptr);
    EXPECT_EQ(font->GetGlyphHeight(), 15);
    EXPECT_NE(dynamic_cast<ImageFont*>(font.Get()), nullptr);
}

// --- the committed fonts ---------------------------------------------------------------------------

namespace
{

// The metrics of a committed font read on their own (records of version 3 and the kerning table), to
// check the engine against.
struct PlainMetrics
{
    int glyphHeight = 0;
    int spacing = 0;
    int spaceAdvance = 0;
    std::map<wchar_t, int> widths;
    std::map<std::pair<wchar_t, wchar_t>, int> kerning;
};

PlainMetrics ReadPlainMetrics(const std::string& utf8)
{
    PlainMetrics metrics;
    std::wistringstream text(ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(utf8.c_str())));
    int stripY = 0;
    int version = 0;
    int count = 0;
    text >> stripY >> metrics.glyphHeight >> metrics.spacing >> version >> metrics.spaceAdvance >> count;
    EXPECT_EQ(version, 3);
    std::vector<wchar_t> order;
    for (int i = 0; i < count; ++i)
    {
        wchar_t c = 0;
        int x = 0;
        int width = 0;
        int y = 0;
        int height = 0;
        text >> c >> x >> width >> y >> height;
        order.push_back(c);
        metrics.widths[c] = width;
    }
    for (wchar_t first : order)
        for (wchar_t second : order)
            text >> metrics.kerning[{first, second}];
    EXPECT_FALSE(text.fail());
    return metrics;
}

const wchar_t kSpanish[] = L"\u00A1\u00BF\u00E1\u00E9\u00ED\u00F3\u00FA\u00FC\u00F1\u00C1\u00C9\u00CD\u00D3\u00DA"
                           L"\u00DC\u00D1\u00AB\u00BB\u00AA\u00BA";

} // namespace

TEST_F(FontResourceFactoryTest, CommittedFontsMeasureAsTheirMetricsSay)
{
    const std::wstring sample = L"\u00BFQu\u00E9 tal? \u00A1Ni\u00F1o, AVE Tomate! \u00ABWaVe\u00BB 1,234.";
    for (const char* name : {"Body24", "Title40", "Verdana12"})
    {
        SCOPED_TRACE(name);
        std::vector<std::string> lines;
        auto resource = Create(ConvertStringASCIIToWide(name), &lines);
        ASSERT_NE(resource, nullptr);
        EXPECT_TRUE(lines.empty());
        const ImageFont* font = dynamic_cast<ImageFont*>(resource.get());
        const PlainMetrics metrics = ReadPlainMetrics(ReadFile(FontsFolder() / (std::string(name) + ".txt")));
        EXPECT_EQ(font->GetGlyphHeight(), metrics.glyphHeight);

        // Every character of the set has a glyph a line high.
        std::wstring characters = kSpanish;
        for (wchar_t c = 33; c <= 126; ++c)
            characters += c;
        for (wchar_t c : characters)
        {
            Font::sGlyph glyph;
            font->GetGlyph(c, &glyph);
            EXPECT_GT(glyph.width, 0) << int(c);
            EXPECT_EQ(glyph.height, metrics.glyphHeight) << int(c);
        }
        // The atlas sides are powers of two.
        const int width = font->GetImage()->GetWidth();
        const int height = font->GetImage()->GetHeight();
        EXPECT_EQ(width & (width - 1), 0);
        EXPECT_EQ(height & (height - 1), 0);

        int expected = 0;
        for (size_t i = 0; i < sample.size(); ++i)
        {
            const wchar_t c = sample[i];
            expected += (c == L' ' ? metrics.spaceAdvance : metrics.widths.at(c)) + metrics.spacing;
            // The space has no record, so no kerning pairs.
            const auto pair = metrics.kerning.find({c, i + 1 < sample.size() ? sample[i + 1] : L'\0'});
            if (pair != metrics.kerning.end())
                expected += pair->second;
        }
        EXPECT_EQ(font->GetStringWidth(sample.c_str()), expected);
        // The fonts do kern: A before V comes closer.
        EXPECT_LT(font->GetStringWidth(L"AV"), font->GetStringWidth(L"A") + font->GetStringWidth(L"V"));
    }
}

TEST_F(FontResourceFactoryTest, DrawnTextLiesWithinItsMeasuredBox)
{
    std::vector<std::string> lines;
    auto resource = Create(L"Body24", &lines);
    ASSERT_NE(resource, nullptr);
    const Font* font = dynamic_cast<Font*>(resource.get());
    const wchar_t* text = L"A\u00F1o AVE";
    const int measured = font->GetStringWidth(text);

    Image target(200, 40);
    ICanvas* canvas = CreateImageCanvas(&target);
    sDrawState state = sDrawState::GetDefaults();
    state.font = font;
    ASSERT_EQ(DrawText(text, 10.0f, 5.0f, state, canvas), DrawResult_Drawn);
    DestroyImageCanvas(canvas);

    int left = 1000;
    int right = -1;
    int top = 1000;
    int bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (target.GetPixel(x, y).a > 0)
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(left, 10);
    EXPECT_LT(right, 10 + measured);
    // The last glyph (E) reaches into the last third of its advance.
    EXPECT_GT(right, 10 + measured - font->GetKernedLetterWidth(L'E', 0) / 3);
    EXPECT_GE(top, 5);
    EXPECT_LT(bottom, 5 + font->GetGlyphHeight());
}

TEST_F(FontResourceFactoryTest, TextMatchesTheReferencePicture)
{
    std::vector<std::string> lines;
    auto resource = Create(L"Body24", &lines);
    ASSERT_NE(resource, nullptr);

    // Drawn as tools/makefont/make_text_reference draws it.
    Image target(160, 36);
    ICanvas* canvas = CreateImageCanvas(&target);
    sDrawState state = sDrawState::GetDefaults();
    state.color = ColorF(0.08f, 0.12f, 0.35f, 1.0f);
    DrawFilledRect(Rect<int>(0, 0, 160, 36), state, canvas);
    state.font = dynamic_cast<Font*>(resource.get());
    state.color = ColorF(1.0f, 0.85f, 0.2f, 1.0f);
    state.textMode = TextMode_DropShadow;
    EXPECT_EQ(DrawText(L"\u00A1AVE Ni\u00F1o!", 4.0f, 3.0f, state, canvas), DrawResult_Drawn);
    DestroyImageCanvas(canvas);

    ImageFixtures::ChunkedStream png(ImageFixtures::Read("font_body24_text.png"));
    int width = 0;
    int height = 0;
    const std::vector<Color32> reference = PNGLoadImage(&png, &width, &height);
    ASSERT_EQ(width, 160);
    ASSERT_EQ(height, 36);
    int different = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!(target.GetPixel(x, y) == reference[size_t(y) * width + x]) && ++different <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " differs";
    EXPECT_EQ(different, 0);
}

// --- text drawing ----------------------------------------------------------------------------------

namespace
{

// Records the glyph draws that reach it.
class GlyphRecorder final : public ICanvas, public IQuadDrawingCanvas
{
public:
    struct Draw
    {
        float x;
        float y;
        Rect<int> source;
        ColorF color;
        uint32_t flags;
    };

    explicit GlyphRecorder(bool quads = true) : mQuads(quads) {}

    Label GetKind() const override { return Label("GlyphRecorder"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) ||
               (mQuads && AnswerInterface<IQuadDrawingCanvas>(this, name, out));
    }

    int DrawImage(IImage*, float x, float y, const sDrawState& state) override
    {
        EXPECT_EQ(state.hAlign, HAlignment_Left);
        EXPECT_EQ(state.vAlign, VAlignment_Top);
        draws.push_back(Draw{x, y, state.sourceRect, state.imageColor, state.flags});
        return result;
    }
    int DrawFilledRect(const Rect<int>&, const sDrawState&) override { return 0; }
    int DrawFilledRect(const Rect<float>&, const sDrawState&) override { return 0; }
    int DrawStretchedImage(IImage*, const Rect<int>&, const sDrawState&) override { return 0; }
    int DrawRotatedImage(IImage*, float, float, Angle, const sDrawState&) override { return 0; }
    int DrawStretchedRotatedImage(IImage*, const Rect<int>&, Angle, const sDrawState&) override { return 0; }
    int DrawPrimitive(PrimitiveKind, IImage*, int, const sPrimitiveVertex*, const sDrawState&) override { return 0; }

    std::vector<Draw> draws;
    int result = DrawResult_Drawn;

private:
    bool mQuads;
    Rect<int> mBounds{0, 0, 100, 100};
};

class TextDrawingTest : public ::testing::Test
{
protected:
    TextDrawingTest() : font(MakeFont(ImageFixtures::Read("font_v3.txt")))
    {
        state = sDrawState::GetDefaults();
        state.font = font.get();
        state.color = ColorF(1.0f, 0.5f, 0.25f, 0.5f);
        state.effectColor = ColorF(0.0f, 0.0f, 1.0f, 0.8f);
        state.effectOffset = Vector2<int>(2, 3);
    }

    std::unique_ptr<ImageFont> font;
    sDrawState state;
};

} // namespace

TEST_F(TextDrawingTest, GlyphsAreDrawnTintedAtTheirKernedAdvances)
{
    GlyphRecorder canvas;
    EXPECT_EQ(DrawText(L"AV\u00E9", 10.0f, 20.0f, state, &canvas), DrawResult_Drawn);
    ASSERT_EQ(canvas.draws.size(), 3u);
    EXPECT_EQ(canvas.draws[0].x, 10.0f);
    EXPECT_EQ(canvas.draws[1].x, 10.0f + 7.0f);
    EXPECT_EQ(canvas.draws[2].x, 17.0f + 9.0f);
    EXPECT_EQ(canvas.draws[2].y, 20.0f);
    EXPECT_EQ(canvas.draws[1].source, Rect<int>(10, 12, 8, 10));
    EXPECT_EQ(canvas.draws[2].source, Rect<int>(20, 1, 7, 9));
    for (const auto& draw : canvas.draws)
    {
        EXPECT_EQ(draw.color, state.color);
        EXPECT_TRUE(draw.flags & DrawFlag_SourceRect);
        EXPECT_TRUE(draw.flags & DrawFlag_Blend);
    }
}

TEST_F(TextDrawingTest, OutlineAndShadowAreDrawnFirstInTheEffectColour)
{
    const ColorF effect(0.0f, 0.0f, 1.0f, 0.8f * 0.5f);
    GlyphRecorder canvas;
    state.textMode = TextMode_Outline;
    canvas.result = 7; // the main line's code is the one returned
    EXPECT_EQ(DrawText(L"A", 10.0f, 20.0f, state, &canvas), 7);
    ASSERT_EQ(canvas.draws.size(), 9u);
    const float expected[9][2] = {{8, 17},  {8, 20},  {8, 23},  {10, 17}, {10, 23},
                                  {12, 17}, {12, 20}, {12, 23}, {10, 20}};
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ(canvas.draws[i].x, expected[i][0]) << i;
        EXPECT_EQ(canvas.draws[i].y, expected[i][1]) << i;
        EXPECT_EQ(canvas.draws[i].color, i < 8 ? effect : state.color) << i;
    }

    canvas.draws.clear();
    state.textMode = TextMode_DropShadow;
    DrawText(L"A", 10.0f, 20.0f, state, &canvas);
    ASSERT_EQ(canvas.draws.size(), 2u);
    EXPECT_EQ(canvas.draws[0].x, 12.0f);
    EXPECT_EQ(canvas.draws[0].y, 23.0f);
    EXPECT_EQ(canvas.draws[0].color, effect);
    EXPECT_EQ(canvas.draws[1].x, 10.0f);
    EXPECT_EQ(canvas.draws[1].color, state.color);
}

TEST_F(TextDrawingTest, AlignmentUsesTheMeasuredWidthAndTheGlyphHeight)
{
    // "AVA" measures 7 + 8 + 9 = 24; the glyph height is 10.
    const std::pair<HAlignment, float> horizontal[] = {
        {HAlignment_Left, 50.0f}, {HAlignment_Center, 38.0f}, {HAlignment_Right, 26.0f}};
    const std::pair<VAlignment, float> vertical[] = {
        {VAlignment_Top, 30.0f}, {VAlignment_Middle, 25.0f}, {VAlignment_Bottom, 20.0f}};
    for (const auto& [h, x] : horizontal)
    {
        for (const auto& [v, y] : vertical)
        {
            GlyphRecorder canvas;
            state.hAlign = h;
            state.vAlign = v;
            DrawText(L"AVA", 50.0f, 30.0f, state, &canvas);
            ASSERT_EQ(canvas.draws.size(), 3u);
            EXPECT_EQ(canvas.draws[0].x, x) << h << "," << v;
            EXPECT_EQ(canvas.draws[0].y, y) << h << "," << v;
        }
    }
}

TEST_F(TextDrawingTest, NothingToDrawAndMissingAbilities)
{
    GlyphRecorder canvas;
    EXPECT_EQ(DrawText(nullptr, 0.0f, 0.0f, state, &canvas), DrawResult_Nothing);
    EXPECT_EQ(DrawText(L"", 0.0f, 0.0f, state, &canvas), DrawResult_Nothing);
    EXPECT_EQ(DrawText(L"A", 0.0f, 0.0f, state, nullptr), DrawResult_Nothing);
    EXPECT_EQ(DrawWrappedText(L"A", 0.0f, 0.0f, 100.0f, state, nullptr), DrawResult_Nothing);
    sDrawState noFont = state;
    noFont.font = nullptr;
    EXPECT_EQ(DrawText(L"A", 0.0f, 0.0f, noFont, &canvas), DrawResult_Nothing);
    EXPECT_EQ(DrawWrappedText(L"A", 0.0f, 0.0f, 100.0f, noFont, &canvas), DrawResult_Nothing);
    EXPECT_TRUE(canvas.draws.empty());

    GlyphRecorder blind(false);
    EXPECT_EQ(DrawText(L"A", 0.0f, 0.0f, state, &blind), DrawResult_Unsupported);

    // A failing glyph draw stops the line at once.
    canvas.result = DrawResult_Unsupported;
    EXPECT_EQ(DrawText(L"AVA", 0.0f, 0.0f, state, &canvas), DrawResult_Unsupported);
    EXPECT_EQ(canvas.draws.size(), 1u);
}

TEST_F(TextDrawingTest, WrappedTextIsAlignedLineByLine)
{
    // "AA " measures 9 + 9 + 5 = 23, so a width of 25 holds one word a line: three lines of height 10.
    GlyphRecorder canvas;
    state.hAlign = HAlignment_Right;
    state.vAlign = VAlignment_Bottom;
    Rect<float> bounds;
    EXPECT_EQ(DrawWrappedText(L"AA AA AA", 100.0f, 60.0f, 25.0f, &bounds, state, &canvas), DrawResult_Drawn);
    ASSERT_EQ(canvas.draws.size(), 6u);
    EXPECT_EQ(canvas.draws[0].y, 30.0f);
    EXPECT_EQ(canvas.draws[0].x, 100.0f - 23.0f);
    EXPECT_EQ(canvas.draws[2].y, 40.0f);
    EXPECT_EQ(canvas.draws[4].y, 50.0f);
    EXPECT_EQ(canvas.draws[4].x, 100.0f - 18.0f);
    EXPECT_EQ(bounds, Rect<float>(100.0f - 23.0f, 30.0f, 23.0f, 30.0f));

    // Centred in the middle: the lines start at the floor of x - width / 2, the block's top at the
    // floor of y - height / 2.
    canvas.draws.clear();
    state.hAlign = HAlignment_Center;
    state.vAlign = VAlignment_Middle;
    DrawWrappedText(L"AA AA AA", 100.5f, 60.5f, 25.0f, &bounds, state, &canvas);
    ASSERT_EQ(canvas.draws.size(), 6u);
    EXPECT_EQ(canvas.draws[0].x, 89.0f);
    EXPECT_EQ(canvas.draws[0].y, 45.0f);
    EXPECT_EQ(canvas.draws[4].x, 91.0f);
    EXPECT_EQ(canvas.draws[4].y, 65.0f);
    EXPECT_EQ(bounds, Rect<float>(100.5f - 11.5f, 45.5f, 23.0f, 30.0f));
}

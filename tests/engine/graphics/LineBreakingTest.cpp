#include "graphics/LineBreaking.h"

#include "graphics/Font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Strata;

namespace
{

// Every character up to 255 advances by 10 pixels (the pair A, V kerned by -3); lines are 20 high.
class MonospacedFont : public Font
{
public:
    void GetGlyph(wchar_t, sGlyph* out) const override { *out = sGlyph(); }
    int GetGlyphHeight() const override { return 20; }
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override
    {
        ++lookups;
        return c > 255 ? 0 : (c == L'A' && next == L'V') ? 7 : 10;
    }

    mutable long lookups = 0;
};

// Limits per line (the default past the list); records the lines asked for.
class ListedLineWidths : public ILineWidths
{
public:
    explicit ListedLineWidths(std::vector<int> limits) : mLimits(std::move(limits)) {}
    int GetLineWidth(int line, int defaultWidth) override
    {
        asked.push_back(line);
        return line < static_cast<int>(mLimits.size()) ? mLimits[static_cast<size_t>(line)] : defaultWidth;
    }

    std::vector<int> asked;

private:
    std::vector<int> mLimits;
};

class LineBreakingTest : public ::testing::Test
{
protected:
    std::vector<int> Break(const wchar_t* text, int width, ILineWidths* widths = nullptr)
    {
        LineBreakList list;
        ComputeLineBreaks(&list, text, width, &font, widths);
        return list.starts;
    }

    MonospacedFont font;
};

using Starts = std::vector<int>;

} // namespace

TEST_F(LineBreakingTest, EmptyAndMissingInput)
{
    LineBreakList list;
    list.starts = {7, 8, 9};
    list.widest = 99;
    ComputeLineBreaks(&list, L"", 100, &font, nullptr);
    EXPECT_EQ(list.starts, Starts({0, 0})) << "one empty line; old contents are cleared";
    EXPECT_EQ(list.widest, 0);
    ComputeLineBreaks(&list, nullptr, 100, &font, nullptr);
    EXPECT_EQ(list.starts, Starts({0, 0}));
    ComputeLineBreaks(nullptr, L"abc", 100, &font, nullptr);

    ComputeLineBreaks(&list, L"ab cd\nef", 1, nullptr, nullptr);
    EXPECT_EQ(list.starts, Starts({0, 6, 8})) << "without a font only line feeds break";
    EXPECT_EQ(list.GetLineLength(1), 2);
    EXPECT_EQ(list.GetLineLength(2), 0);
    EXPECT_EQ(list.GetLineLength(-1), 0);
}

TEST_F(LineBreakingTest, LineFeedsAlwaysBreakAndKeepTheSpaceAfterThem)
{
    EXPECT_EQ(Break(L"a\nb", 1000), Starts({0, 2, 3}));
    EXPECT_EQ(Break(L"ab\n", 1000), Starts({0, 3, 3})) << "a closing line feed opens an empty line";
    EXPECT_EQ(Break(L"a\n\nb", 1000), Starts({0, 2, 3, 4}));
    EXPECT_EQ(Break(L"a\n  b", 1000), Starts({0, 2, 5}));
}

TEST_F(LineBreakingTest, WordsMoveWholeAndSpacesStayAtTheLineEnd)
{
    EXPECT_EQ(Break(L"aaa bbb", 40), Starts({0, 4, 7})) << "aaa and its space fit, bbb does not";
    EXPECT_EQ(Break(L"aaa bbb ccc", 70), Starts({0, 8, 11})) << "only the space after bbb overflows";
    EXPECT_EQ(Break(L"aaa  bbb", 35), Starts({0, 5, 8})) << "the next line starts at the letter";
    EXPECT_EQ(Break(L"aaa  bbb", 45), Starts({0, 5, 8}));
    EXPECT_EQ(Break(L"aaa bbb  ", 40), Starts({0, 4, 9})) << "overflowing end spaces open no line";
    EXPECT_EQ(Break(L"AV AV", 27), Starts({0, 3, 5})) << "AV is kerned to 17 within its word";
}

TEST_F(LineBreakingTest, WordsWiderThanTheLineAreSplitWhereTheyOverflow)
{
    EXPECT_EQ(Break(L"abcdefg", 25), Starts({0, 2, 4, 6, 7}));
    EXPECT_EQ(Break(L"abc", -100), Starts({0, 1, 2, 3})) << "one character a line, no empty last line";
    EXPECT_EQ(Break(L"a bcdef", 30), Starts({0, 2, 5, 7})) << "moved, then split on its new line";

    EXPECT_EQ(font.GetWrappedStringDimensions(L"aaaaaaaaaa", 35), Vector2<int>(30, 80))
        << "the pieces of a split word count toward the widest line";
    EXPECT_EQ(font.GetWrappedStringDimensions(L"abc", 5), Vector2<int>(10, 60));
}

TEST_F(LineBreakingTest, LimitsAreAskedOncePerLine)
{
    ListedLineWidths widths({30, 100});
    EXPECT_EQ(Break(L"aaa bbb ccc", 0, &widths), Starts({0, 4, 11}));
    EXPECT_EQ(widths.asked, std::vector<int>({0, 1}));
}

TEST_F(LineBreakingTest, WordsOfAnyLengthAreMeasuredWhole)
{
    const std::wstring word(300, L'm');
    LineBreakList list;
    ComputeLineBreaks(&list, word.c_str(), 1000000, &font, nullptr);
    EXPECT_EQ(list.starts, Starts({0, 300}));
    EXPECT_EQ(list.widest, 3000) << "all 300 characters count";
    EXPECT_EQ(Break(word.c_str(), 2995), Starts({0, 299, 300}));

    const std::wstring huge(200000, L'm');
    font.lookups = 0;
    EXPECT_EQ(font.GetWrappedStringDimensions(huge.c_str(), 1 << 30), Vector2<int>(2000000, 20));
    EXPECT_LT(font.lookups, 3 * 200000L) << "a few lookups per character, not the word's length squared";
}

TEST_F(LineBreakingTest, WrappedDimensions)
{
    EXPECT_EQ(font.GetWrappedStringDimensions(L"one two", 40), Vector2<int>(40, 40)) << "one measured with its space";
    EXPECT_EQ(font.GetWrappedStringDimensions(L"one two", 1000), Vector2<int>(70, 20));
    EXPECT_EQ(font.GetWrappedStringDimensions(L"", 100), Vector2<int>(0, 20));
    EXPECT_EQ(font.GetWrappedStringDimensions(L"a\nbb\n", 100), Vector2<int>(30, 60)) << "with its line feed";
    EXPECT_EQ(font.GetWrappedStringDimensions(L"ab ", 20), Vector2<int>(30, 20));
}

#pragma once

#include <vector>

namespace Strata
{

class Font;

// Where the lines of wrapped text start.
struct LineBreakList
{
    // Character offsets: 0 first, then the start of every following line, and the text's length last,
    // so line i covers starts[i] up to starts[i + 1] and there are starts.size() - 1 lines.
    std::vector<int> starts;
    // The widest line's width in pixels, as measured at white space (trailing white space included),
    // line feeds, the end of the text and where a word is split.
    int widest = 0;

    // The number of characters of line i; 0 for a line the list does not hold.
    int GetLineLength(int i) const;
};

// The width limit of each line of wrapped text.
class ILineWidths
{
public:
    // The limit of line `line` (counted from 0); `defaultWidth` is the caller's limit for all lines.
    virtual int GetLineWidth(int line, int defaultWidth) = 0;

protected:
    ~ILineWidths() = default;
};

// Every line gets the default width.
class cDefaultLineWidths : public ILineWidths
{
public:
    int GetLineWidth(int line, int defaultWidth) override;

    // The one instance that serves every wrap given no limits of its own.
    static cDefaultLineWidths& GetInstance();
};

// Word-wraps `text` in `font` into lines no wider than their limits (asked of `widths` once per line;
// null asks for `defaultWidth` on every line) and replaces the contents of `*out`. White space ends a
// word and belongs to it; a word is split only when it alone is wider than its line, and every line keeps
// at least one character. White space at the start of a line broken for width is skipped; "\n" always
// ends a line. Words of any length are measured whole. Null `out` does nothing; a null text counts as
// empty (one empty line: starts {0, 0}, widest 0); a null font measures every character as 0 wide.
void ComputeLineBreaks(LineBreakList* out, const wchar_t* text, int defaultWidth, const Font* font,
                       ILineWidths* widths);

} // namespace Strata

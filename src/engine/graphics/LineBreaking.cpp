#include "graphics/LineBreaking.h"

#include "graphics/Font.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace Strata
{

namespace
{

// Offsets are ints; longer text is wrapped up to this many characters.
constexpr size_t kMaxTextLength = static_cast<size_t>(INT_MAX) - 1;

int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

bool IsWhiteSpace(wchar_t c)
{
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

} // namespace

int LineBreakList::GetLineLength(int i) const
{
    if (i < 0 || static_cast<size_t>(i) + 1 >= starts.size())
        return 0;
    return starts[static_cast<size_t>(i) + 1] - starts[static_cast<size_t>(i)];
}

int cDefaultLineWidths::GetLineWidth(int, int defaultWidth)
{
    return defaultWidth;
}

cDefaultLineWidths& cDefaultLineWidths::GetInstance()
{
    // Stateless, so one instance serves every thread.
    static cDefaultLineWidths instance;
    return instance;
}

void ComputeLineBreaks(LineBreakList* out, const wchar_t* text, int defaultWidth, const Font* font, ILineWidths* widths)
{
    if (!out)
        return;
    if (!text)
        text = L"";
    const int length = static_cast<int>(std::min(std::wcslen(text), kMaxTextLength));
    ILineWidths& limits = widths ? *widths : cDefaultLineWidths::GetInstance();
    auto advance = [&](int i) -> int64_t
    {
        const wchar_t next = i + 1 < length ? text[i + 1] : L'\0';
        return font ? font->GetKernedLetterWidth(text[i], next) : 0;
    };
    auto lastAdvance = [&](int i) -> int64_t { return font ? font->GetKernedLetterWidth(text[i], L'\0') : 0; };

    std::vector<int>& starts = out->starts;
    starts.clear();
    starts.push_back(0);
    int64_t lineWidth = 0;
    int64_t widest = 0;
    int askedLine = -1;
    int64_t limit = 0;
    // The token runs from s to the current character. Its width is measured as the string of its own
    // characters: the advances of all but the last, each kerned with its follower (kept in `inner`, so
    // a token of any length costs one lookup per character), plus the last one paired with the end.
    int s = 0;
    int64_t inner = 0;
    int p = 0;
    while (p < length)
    {
        const wchar_t c = text[p];
        const bool space = IsWhiteSpace(c);
        int64_t tokenWidth = inner + lastAdvance(p);
        if (space)
        {
            lineWidth += tokenWidth;
            widest = std::max(widest, lineWidth);
            s = p + 1;
            inner = 0;
            if (c == L'\n')
            {
                starts.push_back(p + 1);
                lineWidth = 0;
                ++p;
                continue;
            }
            tokenWidth = 0;
        }

        const int line = static_cast<int>(starts.size()) - 1;
        if (line != askedLine)
        {
            limit = limits.GetLineWidth(line, defaultWidth);
            askedLine = line;
        }
        if (limit < tokenWidth + lineWidth)
        {
            const int lineStart = starts.back();
            // A token that starts its line is split before the character that overflows; any other
            // token moves to the next line whole. Every line keeps at least one character, so the new
            // start always lies past the old one and the scan makes progress.
            int breakAt = (s == lineStart) ? p : s;
            if (breakAt == lineStart)
                breakAt = p + 1;
            if (s == lineStart)
            {
                // A split word's line ends at no white space: count its width here, or the widest
                // line would leave it out.
                const int64_t pieceWidth = breakAt == p + 1 ? tokenWidth : inner - advance(p - 1) + lastAdvance(p - 1);
                widest = std::max(widest, lineWidth + pieceWidth);
            }
            while (breakAt < length && IsWhiteSpace(text[breakAt]))
                ++breakAt;
            // A break with nothing after it would only open an empty line: the line ends with the text.
            if (breakAt < length)
            {
                starts.push_back(breakAt);
                lineWidth = 0;
                s = breakAt;
                inner = 0;
                p = breakAt;
                continue;
            }
        }
        if (!space)
            inner += advance(p);
        ++p;
    }
    // After the last character `inner` already pairs it with the end of the text.
    lineWidth += inner;
    widest = std::max(widest, lineWidth);
    starts.push_back(length);
    out->widest = ClampToInt(widest);
}

Vector2<int> Font::GetWrappedStringDimensions(const wchar_t* text, int maxWidth) const
{
    LineBreakList list;
    ComputeLineBreaks(&list, text, maxWidth, this, nullptr);
    const int64_t lines = static_cast<int64_t>(list.starts.size()) - 1;
    return Vector2<int>(list.widest, ClampToInt(lines * GetGlyphHeight()));
}

} // namespace Strata

#include "graphics/StyledText.h"

#include "core/Log.h"
#include "core/MemoryStream.h"
#include "core/TextWriter.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"

#include <boost/core/demangle.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <exception>
#include <typeinfo>

namespace Strata::Graphics
{

namespace
{

// Room for the text in the one log call of its line (calls are cut at 1,024 bytes).
constexpr size_t kMaxLoggedTextBytes = 900;

int32_t ClampToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void ApplyStyleAttributes(const XMLElement& element, TextStyle* style)
{
    if (element.HasAttribute(L"color"))
        style->color = ColorF::FromString(element.GetAttribute(L"color"));
    if (element.HasAttribute(L"bgColor"))
        style->bgColor = ColorF::FromString(element.GetAttribute(L"bgColor"));
    if (element.HasAttribute(L"font"))
    {
        const std::wstring name = element.GetAttribute(L"font");
        style->font = name.empty() ? Label() : Label::FromString(name);
    }
    if (element.HasAttribute(L"textMode"))
    {
        const std::wstring mode = element.GetAttribute(L"textMode");
        style->textMode = mode == L"outline"      ? TextMode_Outline
                          : mode == L"dropShadow" ? TextMode_DropShadow
                                                  : TextMode_Normal;
    }
}

// Wraps the characters of styled text into lines. Characters arrive with their advance (kerned with the
// character that follows them) and the glyph height of their font; they gather into letter words and
// space words, and words into lines.
class StyledLineBuilder
{
public:
    StyledLineBuilder(int maxWidth, ILineWidths& widths) : mMaxWidth(maxWidth), mWidths(widths)
    {
        mLine.limit = mWidths.GetLineWidth(0, mMaxWidth);
    }

    void Add(wchar_t c, int64_t advance, int height)
    {
        if (c == L'\n')
        {
            // A line feed joins whatever word is open and ends the line there. It takes no width, so it
            // never moves or splits its word and never leaves an extra empty line behind.
            if (mWord.count == 0)
                mWord = Word();
            ++mWord.count;
            mWord.height = std::max(mWord.height, height);
            AddWord();
            FinishLine();
            return;
        }

        const bool space = IsBreakableSpace(c);
        if (mWord.count > 0 && mWord.space != space)
            CompleteWord();
        if (mWord.count == 0)
        {
            mWord = Word();
            mWord.space = space;
        }
        mWord.heightBefore = mWord.height;
        ++mWord.count;
        mWord.width += advance;
        mWord.height = std::max(mWord.height, height);
        mWord.lastAdvance = advance;
        if (space)
            return;

        if (Overflows())
            FinishLine();
        if (mLine.count == 0 && mWord.count > 1 && mWord.width > mLine.limit)
        {
            // Too wide for a line of its own: the line takes all but the newest character, which
            // starts the next line's word.
            Word head = mWord;
            --head.count;
            head.width -= mWord.lastAdvance;
            head.height = mWord.heightBefore;
            Word tail;
            tail.count = 1;
            tail.width = mWord.lastAdvance;
            tail.height = height;
            tail.heightBefore = 0;
            tail.lastAdvance = mWord.lastAdvance;
            mWord = head;
            AddWord();
            FinishLine();
            mWord = tail;
        }
    }

    LineDimensionList Finish()
    {
        if (mWord.count > 0)
            CompleteWord();
        AppendLine();
        return std::move(mResult);
    }

private:
    struct Word
    {
        bool space = false;
        int64_t count = 0;
        int64_t width = 0;
        int height = 0;
        int heightBefore = 0; // the height without the newest character
        int64_t lastAdvance = 0;
    };

    struct Line
    {
        int64_t count = 0;
        int64_t width = 0;
        int height = 0;
        int64_t limit = 0;
        // Spaces on the line not counted yet: they count once another word follows them.
        int64_t pendingSpace = 0;
    };

    // A letter word that does not fit on a line already holding characters goes to the next line.
    bool Overflows() const
    {
        return !mWord.space && mLine.count > 0 && mLine.limit < mLine.pendingSpace + mLine.width + mWord.width;
    }

    void CompleteWord()
    {
        if (Overflows())
            FinishLine();
        AddWord();
    }

    void AddWord()
    {
        mLine.count += mWord.count;
        mLine.height = std::max(mLine.height, mWord.height);
        if (mWord.space)
        {
            mLine.pendingSpace += mWord.width;
        }
        else
        {
            mLine.width += mLine.pendingSpace + mWord.width;
            mLine.pendingSpace = 0;
        }
        mWord = Word();
    }

    void AppendLine()
    {
        LineDimensionList::Line line;
        line.count = ClampToInt32(mLine.count);
        line.width = ClampToInt32(mLine.width);
        line.height = mLine.height;
        mResult.lines.push_back(line);
        mResult.widest = std::max(mResult.widest, line.width);
        mTotalHeight += line.height;
        mResult.totalHeight = ClampToInt32(mTotalHeight);
    }

    void FinishLine()
    {
        AppendLine();
        mLine = Line();
        const int next = static_cast<int>(std::min<size_t>(mResult.lines.size(), INT_MAX));
        mLine.limit = mWidths.GetLineWidth(next, mMaxWidth);
    }

    int mMaxWidth;
    ILineWidths& mWidths;
    Word mWord;
    Line mLine;
    int64_t mTotalHeight = 0;
    LineDimensionList mResult;
};

} // namespace

bool IsBreakableSpace(wchar_t c)
{
    return c != L'\n' && std::iswspace(static_cast<wint_t>(c)) != 0;
}

std::vector<StyleRun> ComputeStyleRuns(const std::wstring& text, const TextStyle& base)
{
    std::vector<StyleRun> runs;
    try
    {
        MemoryStream stream(L"StyleRunList temp");
        {
            TextWriter writer(&stream);
            writer.Write(L"<dummy>");
            writer.Write(text);
            writer.Write(L"</dummy>");
        }
        stream.Seek(SeekOrigin_Begin, 0);
        const std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);

        std::vector<TextStyle> styles{base};
        bool runOpen = false;
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (!element)
                break;
            if (element->IsStartElement() && element->GetName() == L"style")
            {
                TextStyle style = styles.back();
                ApplyStyleAttributes(*element, &style);
                styles.push_back(style);
                runOpen = false;
            }
            else if (element->IsEndElement() && element->GetName() == L"style")
            {
                // The reader does not pair tags: a stray end tag never pops the base style.
                if (styles.size() > 1)
                    styles.pop_back();
                runOpen = false;
            }
            else if (element->IsText())
            {
                if (!runOpen)
                {
                    StyleRun run;
                    run.style = styles.back();
                    runs.push_back(std::move(run));
                    runOpen = true;
                }
                runs.back().text += element->GetName();
            }
        }
    }
    catch (const std::exception& error)
    {
        // Written as UTF-8 so that the text is logged whatever the locale, and cut (at a character
        // boundary) so that its line still ends within one log call.
        const std::shared_ptr<unsigned char[]> utf8 = ConvertStringWideToUTF8(text.c_str());
        const char* bytes = utf8 ? reinterpret_cast<const char*>(utf8.get()) : "";
        size_t shown = std::strlen(bytes);
        if (shown > kMaxLoggedTextBytes)
        {
            shown = kMaxLoggedTextBytes;
            while (shown > 0 && (static_cast<unsigned char>(bytes[shown]) & 0xC0) == 0x80)
                --shown;
        }
        Internal::LogWrite("StyledTextGraphics::Graphics::ComputeStyleRuns: There is an error in the XML style "
                           "data:\n%.*s\n",
                           static_cast<int>(shown), bytes);
        Internal::LogWrite("%s\n", boost::core::demangle(typeid(error).name()).c_str());
        Internal::LogWrite(" Message: %s\n", error.what());
        return {};
    }
    return runs;
}

LineDimensionList ComputeStyledTextLineDimensions(const std::vector<StyleRun>& runs, int maxWidth, ILineWidths* widths)
{
    for (const StyleRun& run : runs)
    {
        const AutoResource<Font> font(run.style.font);
        run.font = font.Get();
        run.fontResource = run.font ? font.GetDescriptor() : nullptr;
    }

    StyledLineBuilder builder(maxWidth, widths ? *widths : cDefaultLineWidths::GetInstance());
    // One character behind the walk, so that its advance can be kerned with the one that follows.
    wchar_t held = 0;
    const Font* heldFont = nullptr;
    for (const StyleRun& run : runs)
    {
        if (!run.font)
            continue;
        for (const wchar_t c : run.text)
        {
            if (heldFont)
                builder.Add(held, heldFont->GetKernedLetterWidth(held, c), heldFont->GetGlyphHeight());
            held = c;
            heldFont = run.font;
        }
    }
    if (heldFont)
        builder.Add(held, heldFont->GetKernedLetterWidth(held, 0), heldFont->GetGlyphHeight());
    return builder.Finish();
}

int DrawWrappedStyledText(const std::vector<StyleRun>& runs, const LineDimensionList& lines, float x, float y,
                          Rect<float>* bounds, const sDrawState& state, ICanvas* canvas)
{
    if (runs.empty() || lines.lines.empty())
        return 0;
    const float totalHeight = static_cast<float>(lines.totalHeight);
    const float widest = static_cast<float>(lines.widest);
    float top = y;
    if (state.vAlign == VAlignment_Bottom)
        top -= totalHeight;
    else if (state.vAlign == VAlignment_Middle)
        top = std::floor(top - totalHeight * 0.5f);
    if (bounds)
    {
        const float left = state.hAlign == HAlignment_Right    ? x - widest
                           : state.hAlign == HAlignment_Center ? x - widest * 0.5f
                                                               : x;
        *bounds = Rect<float>(left, top, widest, totalHeight);
    }

    sDrawState pieceState = state;
    pieceState.hAlign = HAlignment_Left;
    pieceState.vAlign = VAlignment_Top;
    size_t runIndex = 0;
    size_t offset = 0; // into the text of runs[runIndex]
    float lineTop = top;
    for (const LineDimensionList::Line& line : lines.lines)
    {
        const float width = static_cast<float>(line.width);
        float penX = state.hAlign == HAlignment_Right    ? x - width
                     : state.hAlign == HAlignment_Center ? std::floor(x - width * 0.5f)
                                                         : x;
        int64_t remaining = line.count;
        wchar_t previous = 0; // the last character of the previous piece on this line
        while (remaining > 0)
        {
            while (runIndex < runs.size() && (!runs[runIndex].font || offset >= runs[runIndex].text.size()))
            {
                ++runIndex;
                offset = 0;
            }
            if (runIndex >= runs.size())
            {
                Internal::LogWrite("StyledTextGraphics::Graphics::DrawWrappedStyledText: ran out of style runs "
                                   "(malformed LineDimensionList?)\n");
                return 0;
            }
            const StyleRun& run = runs[runIndex];
            const Font* font = run.font;
            const size_t take =
                static_cast<size_t>(std::min<int64_t>(remaining, static_cast<int64_t>(run.text.size() - offset)));
            const std::wstring piece = run.text.substr(offset, take);
            if (previous != 0 && !IsBreakableSpace(previous))
            {
                // The previous piece advanced past its last character as if the text ended there.
                penX += static_cast<float>(font->GetKernedLetterWidth(previous, piece[0]) -
                                           font->GetKernedLetterWidth(previous, 0));
            }

            pieceState.font = font;
            pieceState.color = run.style.color;
            pieceState.color.a = state.color.a;
            pieceState.effectColor = run.style.bgColor;
            pieceState.effectColor.a = state.effectColor.a;
            pieceState.textMode = run.style.textMode;
            const float pieceTop = lineTop + static_cast<float>(line.height - font->GetGlyphHeight());
            const int result = DrawText(piece.c_str(), penX, pieceTop, pieceState, canvas);
            if (result < 0)
                return result;
            penX += static_cast<float>(font->GetStringWidth(piece.c_str()));
            previous = piece.back();
            offset += take;
            remaining -= static_cast<int64_t>(take);
        }
        lineTop += static_cast<float>(line.height);
    }
    return 0;
}

int DrawWrappedStyledText(const std::vector<StyleRun>& runs, const LineDimensionList& lines, float x, float y,
                          const sDrawState& state, ICanvas* canvas)
{
    return DrawWrappedStyledText(runs, lines, x, y, nullptr, state, canvas);
}

} // namespace Strata::Graphics

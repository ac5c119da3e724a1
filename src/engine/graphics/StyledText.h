#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"
#include "graphics/LineBreaking.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{
class Font;
class IResourceDescriptor;
} // namespace Strata

namespace Strata::Graphics
{

// How a run of styled text looks.
struct TextStyle
{
    ColorF color = ColorF::StaticColor<255, 255, 255, 255>();
    // The colour of outlines and drop shadows.
    ColorF bgColor = ColorF::StaticColor<0, 0, 0, 255>();
    // The name of a font resource; null for none.
    Label font;
    TextMode textMode = TextMode_Normal;
};

// A piece of text in one style.
struct StyleRun
{
    TextStyle style;
    std::wstring text;
    // The font named by the style, filled in by ComputeStyledTextLineDimensions; null before, and when
    // the name finds no font.
    mutable const Font* font = nullptr;
    int reserved = -1;
    // Keeps `font` alive while the run holds it, even when its manifest is unloaded.
    mutable std::shared_ptr<IResourceDescriptor> fontResource;
};

// Styled text laid out in lines.
struct LineDimensionList
{
    struct Line
    {
        int32_t count = 0; // characters, of runs that have a font
        int32_t width = 0;
        int32_t height = 0;
    };

    std::vector<Line> lines;
    int32_t widest = 0;
    int32_t totalHeight = 0;
};

// White space that a line may break at: everything the wide-character classification calls white
// space except "\n".
bool IsBreakableSpace(wchar_t c);

// Splits text with inline markup into runs. The text is read as the content of an XML element: each
// "style" element starts a copy of the style around it, changed by its attributes "color" and "bgColor"
// (colour text such as "#RRGGBB"), "font" (a font resource name) and "textMode" ("outline",
// "dropShadow", anything else normal), and its end tag goes back to the style around it. Other
// elements are ignored, their text kept. On markup the XML reader rejects, logs three lines (the text,
// the error's type and its message) and returns no runs.
std::vector<StyleRun> ComputeStyleRuns(const std::wstring& text, const TextStyle& base);

// Resolves each run's font from its style's name, then wraps the characters of the runs that have a
// font into lines no wider than their limits (asked of `widths` once per line; null gives `maxWidth`
// for every line). Words move to the next line when they do not fit, a word wider than an empty line
// is split, every line holds at least one character, trailing spaces are not counted in a line's width
// and "\n" ends a line. A line is as high as its tallest font.
LineDimensionList ComputeStyledTextLineDimensions(const std::vector<StyleRun>& runs, int maxWidth, ILineWidths* widths);

// Draws runs laid out by ComputeStyledTextLineDimensions, the block placed at (x, y) by the state's
// alignments, each line aligned on its own. Each run is drawn in its font and colours (with the alpha of
// the state's colour and effect colour) and its text mode; pieces of different fonts on one line share
// their bottom. Returns 0, also when there are no runs or lines (then nothing is drawn and `bounds` is
// untouched); a negative code of a text draw is returned at once. Lines that ask for more characters
// than the runs hold log a line and end the drawing. A non-null `bounds` receives the aligned block:
// left, top, widest line and total height.
int DrawWrappedStyledText(const std::vector<StyleRun>& runs, const LineDimensionList& lines, float x, float y,
                          Rect<float>* bounds, const sDrawState& state, ICanvas* canvas);
int DrawWrappedStyledText(const std::vector<StyleRun>& runs, const LineDimensionList& lines, float x, float y,
                          const sDrawState& state, ICanvas* canvas);

} // namespace Strata::Graphics

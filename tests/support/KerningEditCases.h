#pragma once

#include "core/KeyCodes.h"
#include "graphics/DrawState.h"

namespace Strata::Testing
{

// Typing into a text field whose font advances 6 pixels a letter but "A" before "V" 4 and "V" before
// "A" 5, so "AVA" measures 4 + 5 + 6 = 15, not 18: a width, caret or scroll that drops, swaps or
// misplaces a kerning pair comes out wrong. The text control and the scene's field share the rules.
struct sKerningEditCase
{
    float boxWidth;
    int maxStringWidth; // -1: no limit
    HAlignment align;
    // Typed, one key (0: none), typed again; then what the field holds.
    const wchar_t* typed;
    int key;
    const wchar_t* typedAfter;
    const wchar_t* value;
    float caret;
    float scroll;
};

inline constexpr sKerningEditCase kKerningEditCases[] = {
    {200.0f, -1, HAlignment_Left, L"AVA", 0, L"", L"AVA", 15.0f, 0.0f},
    {200.0f, -1, HAlignment_Left, L"AVA", Key_Left, L"", L"AVA", 9.0f, 0.0f},
    {200.0f, 15, HAlignment_Left, L"AVAV", 0, L"", L"AVA", 15.0f, 0.0f},
    // Typed between two letters, a character kerns with both.
    {200.0f, 15, HAlignment_Left, L"AA", Key_Left, L"V", L"AVA", 9.0f, 0.0f},
    {12.0f, -1, HAlignment_Left, L"AVAV", 0, L"", L"AVAV", 19.0f, -7.0f},
    {12.0f, -1, HAlignment_Left, L"AVAV", Key_Home, L"", L"AVAV", 0.0f, 0.0f},
    {40.0f, -1, HAlignment_Right, L"AV", 0, L"", L"AV", 40.0f, 0.0f},
};

} // namespace Strata::Testing

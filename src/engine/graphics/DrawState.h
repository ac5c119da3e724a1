#pragma once

#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"

#include <cstdint>
#include <string>

namespace Strata
{

class Font;

// How text is drawn: plain, ringed by the effect colour, or over a shadow in it.
enum TextMode : int
{
    TextMode_Normal = 0,
    TextMode_Outline = 1,
    TextMode_DropShadow = 2
};

// Where the given x lies on the drawn thing.
enum HAlignment : int
{
    HAlignment_Left = 0,
    HAlignment_Center = 1,
    HAlignment_Right = 2
};

// Where the given y lies on the drawn thing.
enum VAlignment : int
{
    VAlignment_Top = 0,
    VAlignment_Middle = 1,
    VAlignment_Bottom = 2
};

// "left" 0, "center" 1, "right" 2 (exact, case-sensitive); any other text gives `defaultValue`.
HAlignment StringToHAlignment(const std::wstring& text, HAlignment defaultValue);
// "top" 0, "middle" 1, "bottom" 2 (exact, case-sensitive); any other text gives `defaultValue`.
VAlignment StringToVAlignment(const std::wstring& text, VAlignment defaultValue);

namespace Graphics
{

// Bits of sDrawState::flags.
enum eDrawFlags : uint32_t
{
    DrawFlag_SourceRect = 1, // draw only sourceRect of an image
    DrawFlag_Blend = 2,      // blend colours with the target
    DrawFlag_FlipH = 4,      // mirror images left to right
    DrawFlag_FlipV = 8       // mirror images top to bottom
};

// The parameters of every drawing call, passed by constant reference and copied only when changed.
struct sDrawState
{
    const Font* font = nullptr;
    ColorF color{1.0f, 1.0f, 1.0f, 1.0f};
    ColorF effectColor{1.0f, 1.0f, 1.0f, 1.0f};
    Vector2<int> effectOffset;
    // Tint of images; its alpha is the image opacity.
    ColorF imageColor{1.0f, 1.0f, 1.0f, 1.0f};
    // Only pixels inside it are touched.
    Rect<int> clipRect;
    Rect<int> sourceRect;
    uint32_t flags = 0;
    TextMode textMode = TextMode_Normal;
    HAlignment hAlign = HAlignment_Left;
    VAlignment vAlign = VAlignment_Top;

    // White colours, zero offset and rectangles (so nothing survives the clip), no font, no flags:
    // a record to overwrite from GetDefaults() or the current state.
    sDrawState() = default;

    // Opaque white, black effect offset by (2, 2), no clipping, blending on.
    static const sDrawState& GetDefaults();

    bool operator==(const sDrawState&) const = default;
};

// A draw state with a chainable setter.
class DrawStateNPI : public sDrawState
{
public:
    DrawStateNPI() = default;
    DrawStateNPI(const sDrawState& state) : sDrawState(state) {}

    // Stores the source rectangle and sets DrawFlag_SourceRect; nothing else changes.
    DrawStateNPI& SourceRect(int x, int y, int width, int height);
};

} // namespace Graphics
} // namespace Strata

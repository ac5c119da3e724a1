#pragma once

#include <cstdint>
#include <string>

namespace Strata
{

class ColorF;

// A pixel as the engine stores it: bytes blue, green, red, alpha in memory on every machine.
struct Color32
{
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    uint8_t a = 0;

    constexpr Color32() = default;
    // Arguments in the usual red, green, blue, alpha order.
    constexpr Color32(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) : b(blue), g(green), r(red), a(alpha) {}
    // Each channel clamped into [0, 1] (NaN as 0), times 255, rounded.
    explicit Color32(const ColorF& color);

    // As one number: blue in bits 24-31, green 16-23, red 8-15, alpha 0-7.
    constexpr uint32_t GetPacked() const
    {
        return (uint32_t(b) << 24) | (uint32_t(g) << 16) | (uint32_t(r) << 8) | uint32_t(a);
    }
    static constexpr Color32 FromPacked(uint32_t packed)
    {
        return Color32(uint8_t(packed >> 8), uint8_t(packed >> 16), uint8_t(packed >> 24), uint8_t(packed));
    }

    constexpr bool operator==(const Color32&) const = default;
};

static_assert(sizeof(Color32) == 4, "a Color32 is exactly the four bytes of a pixel");

// A colour as four floats, normally 0 to 1 (values outside are kept; they are clamped only when
// the colour becomes bytes).
class ColorF
{
public:
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    // Transparent black.
    constexpr ColorF() = default;
    constexpr ColorF(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    // Each channel divided by 255.
    explicit ColorF(Color32 color);

    // One shared colour per channel set, built on first use from 8-bit channels.
    template <int R, int G, int B, int A>
    static const ColorF& StaticColor()
    {
        static_assert(R >= 0 && R <= 255 && G >= 0 && G <= 255 && B >= 0 && B <= 255 && A >= 0 && A <= 255,
                      "channels are 8-bit");
        static const ColorF color(R / 255.0f, G / 255.0f, B / 255.0f, A / 255.0f);
        return color;
    }

    // "#RRGGBB" (alpha 1) or "#RRGGBBAA", each pair of digits read with htoi and divided by 255;
    // any other text gives opaque black.
    static ColorF FromString(const std::wstring& text);

    constexpr bool operator==(const ColorF&) const = default;
};

} // namespace Strata

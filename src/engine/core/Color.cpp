#include "core/Color.h"

#include "core/WideString.h"

namespace Strata
{

namespace
{
uint8_t ToByte(float channel)
{
    // Written so that NaN fails the first test and becomes 0.
    if (!(channel > 0.0f))
        return 0;
    if (channel >= 1.0f)
        return 255;
    return static_cast<uint8_t>(channel * 255.0f + 0.5f);
}

float HexPair(const std::wstring& text, size_t at)
{
    return static_cast<float>(htoi(text[at]) * 16 + htoi(text[at + 1])) / 255.0f;
}
} // namespace

Color32::Color32(const ColorF& color) : b(ToByte(color.b)), g(ToByte(color.g)), r(ToByte(color.r)), a(ToByte(color.a))
{
}

ColorF::ColorF(Color32 color) : r(color.r / 255.0f), g(color.g / 255.0f), b(color.b / 255.0f), a(color.a / 255.0f)
{
}

ColorF ColorF::FromString(const std::wstring& text)
{
    if ((text.size() != 7 && text.size() != 9) || text[0] != L'#')
        return ColorF(0.0f, 0.0f, 0.0f, 1.0f);
    const float alpha = text.size() == 9 ? HexPair(text, 7) : 1.0f;
    return ColorF(HexPair(text, 1), HexPair(text, 3), HexPair(text, 5), alpha);
}

} // namespace Strata

#include "graphics/DrawState.h"

namespace Strata::Graphics
{

namespace
{
sDrawState MakeDefaults()
{
    sDrawState state;
    state.font = nullptr;
    state.color = ColorF(1.0f, 1.0f, 1.0f, 1.0f);
    state.effectColor = ColorF(0.0f, 0.0f, 0.0f, 1.0f);
    state.effectOffset = Vector2<int>(2, 2);
    state.imageColor = ColorF(1.0f, 1.0f, 1.0f, 1.0f);
    state.clipRect = Rect<int>(-1073741824, -1073741824, 2147483647, 2147483647);
    state.sourceRect = Rect<int>(0, 0, 0, 0);
    state.flags = DrawFlag_Blend;
    state.textMode = TextMode_Normal;
    state.hAlign = HAlignment_Left;
    state.vAlign = VAlignment_Top;
    return state;
}
} // namespace

const sDrawState& sDrawState::GetDefaults()
{
    static const sDrawState defaults = MakeDefaults();
    return defaults;
}

DrawStateNPI& DrawStateNPI::SourceRect(int x, int y, int width, int height)
{
    sourceRect = Rect<int>(x, y, width, height);
    flags |= DrawFlag_SourceRect;
    return *this;
}

} // namespace Strata::Graphics

namespace Strata
{

HAlignment StringToHAlignment(const std::wstring& text, HAlignment defaultValue)
{
    if (text == L"left")
        return HAlignment_Left;
    if (text == L"center")
        return HAlignment_Center;
    if (text == L"right")
        return HAlignment_Right;
    return defaultValue;
}

VAlignment StringToVAlignment(const std::wstring& text, VAlignment defaultValue)
{
    if (text == L"top")
        return VAlignment_Top;
    if (text == L"middle")
        return VAlignment_Middle;
    if (text == L"bottom")
        return VAlignment_Bottom;
    return defaultValue;
}

} // namespace Strata

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

#include "scene/WidgetNodeSupport.h"

#include "framework/ObjectDatabase.h"
#include "framework/SoundListHooks.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"
#include "scene/SceneNode.h"

#include <climits>

namespace Strata
{

int WidgetStateIndex(bool enabled, bool captured, bool hot, bool focused, bool hasFocusFrames)
{
    if (!enabled)
        return WidgetState_Disabled;
    if (hot)
        return captured ? WidgetState_Pressed : WidgetState_Hot;
    if (focused)
        return hasFocusFrames ? WidgetState_Focused : WidgetState_Hot;
    return WidgetState_Normal;
}

const SoundList* FindWidgetSoundList(const char* nodeType, Label name)
{
    const auto find = GetSoundListHooks().find;
    if (name.IsNull() || *name.c_str() == '\0' || find == nullptr)
        return nullptr;
    const SoundList* sounds = find(name);
    if (sounds == nullptr)
        ReportMissingNodeResource(nodeType, "sound list", name);
    return sounds;
}

void PlayWidgetSound(const SoundList* sounds, Label event)
{
    const auto play = GetSoundListHooks().play;
    if (sounds != nullptr && play != nullptr)
        play(*sounds, event);
}

void SendWidgetMessage(SceneNode& sender, Label message)
{
    ObjectDatabase* database = sender.GetDatabase();
    if (database == nullptr)
        database = GetObjectDatabase();
    if (database != nullptr)
        database->SendMessage(ObjectMessage(sender.GetID(), message));
}

int WidgetFrameAlpha(const IImageList& images, int base, bool threeSlice, float width, const Vector2<float>& point,
                     const Vector2<float>& origin)
{
    // In 64 bits: a point far from the corner could overflow an int difference.
    const long long x = static_cast<long long>(Graphics::TruncateToInt(point.x)) - Graphics::TruncateToInt(origin.x);
    const long long y = static_cast<long long>(Graphics::TruncateToInt(point.y)) - Graphics::TruncateToInt(origin.y);
    if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX)
        return 0;
    const int lx = static_cast<int>(x);
    const int ly = static_cast<int>(y);
    return threeSlice ? Graphics::GetThreeBrushPixelAlpha(&images, base, lx, ly, width)
                      : images.GetImagePixelAlpha(base, lx, ly);
}

Graphics::sDrawState WidgetDrawState(SceneNode& node)
{
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor.a = node.GlobalGetColor().a;
    if (node.clipEnabled)
        state.clipRect = node.clipRect;
    return state;
}

} // namespace Strata

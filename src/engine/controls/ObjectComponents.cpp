#include "controls/ObjectComponents.h"

namespace Strata
{

Vector2<float> ReferenceFrame::GetRootOffset(const ReferenceFrame* frame)
{
    Vector2<float> offset;
    // A frame chain that loops back on itself would never end: no real hierarchy is this deep.
    constexpr int kMaxDepth = 4096;
    for (int depth = 0; frame != nullptr && depth < kMaxDepth; ++depth)
    {
        offset += frame->location;
        frame = frame->parent;
    }
    return offset;
}

Vector2<float> ReferenceFrame::Convert(const Vector2<float>& point, const ReferenceFrame* from,
                                       const ReferenceFrame* to)
{
    return point + GetRootOffset(from) - GetRootOffset(to);
}

Vector2<float> LocationComponent::GetScreenLocation()
{
    return ReferenceFrame::Convert(mFrame.location, mFrame.parent, nullptr);
}

Vector2<float>& BoundsComponent::GetLocation()
{
    mCorner = Vector2<float>(mBounds.x, mBounds.y);
    return mCorner;
}

void BoundsComponent::SetLocation(const Vector2<float>& location)
{
    SetBounds(Rect<float>(location.x, location.y, mBounds.width, mBounds.height));
}

bool BoundsComponent::BoundsContains(float x, float y)
{
    return x >= mBounds.x && y >= mBounds.y && x < mBounds.x + mBounds.width && y < mBounds.y + mBounds.height;
}

void BoundsComponent::SetWidth(float width)
{
    SetBounds(Rect<float>(mBounds.x, mBounds.y, width, mBounds.height));
}

void BoundsComponent::SetHeight(float height)
{
    SetBounds(Rect<float>(mBounds.x, mBounds.y, mBounds.width, height));
}

} // namespace Strata

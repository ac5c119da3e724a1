#include "game/PaintIt/PaintItContent.h"

namespace Yardcrew::PaintItContent
{

std::span<const sContentName> List()
{
    static const sContentName names[] = {
        kModeLayout, kBucketLayout, kStripeLayout, kCursor,     kCursorHotSpot, kBrushes[0], kBrushes[1],
        kBrushes[2], kBrushes[3],   kFences[0],    kFences[1],  kFences[2],     kFences[3],  kBuckets,
        kMusic,      kFirstHint,    kLaterHint,    kWrongColor, kGameComplete,  kKeepGoing,  kReachArm,
        kReachMove,  kPaint,        kRollover,     kClick,      kTruckSprite};
    return names;
}

} // namespace Yardcrew::PaintItContent

#include "game/PlanAJob/PlanAJobContent.h"

namespace Yardcrew::PlanAJobContent
{

std::span<const sContentName> List()
{
    static const sContentName names[] = {kModeLayout,    kItemLayout,  kSlotLayout,   kEmptyPlaces,       kCursor,
                                         kCursorHotSpot, kBlueprintIn, kBlueprintOut, kBlueprintMoveTime, kMusic,
                                         kFirstHint,     kLaterHint,   kGameComplete, kIncorrect,         kCorrect,
                                         kRollover,      kStick,       kConstruction};
    return names;
}

} // namespace Yardcrew::PlanAJobContent

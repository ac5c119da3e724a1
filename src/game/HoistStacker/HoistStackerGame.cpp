#include "game/HoistStacker/HoistStackerGame.h"

#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = HoistStackerContent;
using Kit = MiniGameKit<HoistStackerMode, HoistStackerLevelResourceFactory>;

} // namespace

const sMiniGameDescription& HoistStackerDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_HoistStacker,
                                                                   .modeName = "HoistStackerMode",
                                                                   .label = "HoistStacker",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .repeating = true});
    return description;
}

void RegisterHoistStacker()
{
    Kit::Register(HoistStackerDescription(), {.manifest = L"HoistStackerMode",
                                              .levelTag = L"HoistStackerLevel",
                                              .firstHint = Names::kFirstHint.name,
                                              .laterHint = Names::kLaterHint.name,
                                              .music = Names::kMusic.name,
                                              .content = Names::List()});
}

} // namespace Yardcrew

// STAND-IN, deleted at merge (see StandInRegistrations.h).

#include "StandInRegistrations.h"

#include "game/ContentNames.h"

namespace Yardcrew
{

namespace
{

constexpr sContentName kCountingStandIn[] = {
    {ContentKind_Voice, "CTM_TooMuch"},
    {ContentKind_Voice, "VO_Digger_AreWeReady"},
    {ContentKind_Sound, "SFX_DiggerMove"},
    {ContentKind_Constant, "TipperStartPosition"},
    {ContentKind_SceneLayout, "MaterialSourceLayout"},
    {ContentKind_Constant, "RepeatedGameNumLoops", 3, 3},
    {ContentKind_Image, "cursor_default"},
};

} // namespace

void RegisterGames()
{
    RegisterContentList({"CountTheMaterials (stand-in)", kCountingStandIn});
}

} // namespace Yardcrew

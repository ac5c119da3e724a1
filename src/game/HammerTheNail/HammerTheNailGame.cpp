#include "game/HammerTheNail/HammerTheNailGame.h"

#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HammerTheNailMode, HammerTheNailLevelResourceFactory, HammerTheNailContent::Declared>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MaskInput_ClickMask",
                                               Strata::NodePathTerminator()};

const sMiniGameRecord kRecord{
    .type = GameModeType_HammerTheNail,
    .label = "HammerTheNail",
    .content = HammerTheNailContent::List,
    .mode = {.inputMask = kClickMaskPath, .repeating = true, .instructionsWithoutLevel = true}};

} // namespace

const sMiniGameDescription& HammerTheNailDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterHammerTheNail()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew

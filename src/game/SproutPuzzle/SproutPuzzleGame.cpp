#include "game/SproutPuzzle/SproutPuzzleGame.h"

#include "core/Log.h"
#include "game/MiniGameKit.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"
#include "graphics/ImageList.h"

#include <string>

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<SproutPuzzleMode, SproutPuzzleLevelResourceFactory, SproutPuzzleContent::Declared>;

// A sound level whose pieces are drawn, one frame a piece; a board it could never fill is reported.
bool IsPlayable(Strata::Label level)
{
    if (!IsPlayableLevel<SproutPuzzleLevel>(level))
        return false;
    const Strata::AutoResource<SproutPuzzleLevel> data(level);
    const std::string name = SproutPuzzleContent::PiecesImageList(*data);
    const Strata::AutoResource<Strata::ImageList> pieces(Strata::Label::FromString(name));
    if (pieces.Get() != nullptr && pieces->GetNumImages() >= data->Pieces())
        return true;
    Strata::Internal::LogWrite("The jigsaw level \"%s\" needs the pieces \"%s\", %d of them\n", level.c_str(),
                               name.c_str(), static_cast<int>(data->Pieces()));
    return false;
}

const sMiniGameRecord kRecord{
    .type = GameModeType_SproutPuzzle,
    .label = "SproutPuzzle",
    .content = SproutPuzzleContent::List,
    .mode = {.inputMask = "ClickMask", .instructionsAfterIntro = true, .isPlayable = IsPlayable}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(SproutPuzzle)

} // namespace Yardcrew

#include "game/SproutPuzzle/SproutPuzzleGame.h"

#include "core/Log.h"
#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"
#include "graphics/ImageList.h"

#include <string>

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "SproutPuzzle";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};

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

} // namespace

const sMiniGameDescription& SproutPuzzleDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_SproutPuzzle;
        d.modeName = "SproutPuzzleMode";
        d.label = kGameLabel;
        d.layout = SproutPuzzleContent::kModeLayout.name;
        d.cursor = SproutPuzzleContent::kCursor.name;
        d.cursorHotSpot = SproutPuzzleContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.instructionsAfterIntro = true;
        d.isPlayable = IsPlayable;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<SproutPuzzleMode>(); };
        return d;
    }();
    return description;
}

void RegisterSproutPuzzle()
{
    sGameRegistration game;
    game.type = GameModeType_SproutPuzzle;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"SproutPuzzleMode";
    game.levelTag = L"SproutPuzzleLevel";
    game.makeLevelReader = [] { return std::make_unique<SproutPuzzleLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<SproutPuzzleMode>();
    game.firstHint = SproutPuzzleContent::kFirstHint.name;
    game.laterHint = SproutPuzzleContent::kLaterHint.name;
    game.music = SproutPuzzleContent::kMusic.name;
    game.content = SproutPuzzleContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew

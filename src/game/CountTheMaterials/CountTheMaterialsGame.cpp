#include "game/CountTheMaterials/CountTheMaterialsGame.h"

#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "CountTheMaterials";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSortedLayer",
                                                 Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& CountTheMaterialsDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_CountTheMaterials;
        d.modeName = "CountTheMaterialsMode";
        d.label = kGameLabel;
        d.layout = CountTheMaterialsContent::kModeLayout.name;
        d.cursor = CountTheMaterialsContent::kCursor.name;
        d.cursorHotSpot = CountTheMaterialsContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.sortedLayer = kSortedLayerPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<CountTheMaterialsLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<CountTheMaterialsMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterCountTheMaterials()
{
    sGameRegistration game;
    game.type = GameModeType_CountTheMaterials;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"CountTheMaterialsMode";
    game.levelTag = L"CountTheMaterialsLevel";
    game.makeLevelReader = [] { return std::make_unique<CountTheMaterialsLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<CountTheMaterialsMode>();
    game.firstHint = CountTheMaterialsContent::kHint.name;
    game.laterHint = CountTheMaterialsContent::kHint.name;
    game.music = CountTheMaterialsContent::kMusic.name;
    game.content = CountTheMaterialsContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew

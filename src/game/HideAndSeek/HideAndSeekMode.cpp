#include "game/HideAndSeek/HideAndSeekMode.h"

#include "core/Log.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/GameModeTypes.h"
#include "game/HideAndSeek/HideAndSeekCharacter.h"
#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekGame.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

#include <iterator>
#include <list>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = HideAndSeekContent;

// The layer of that difficulty's arrangement: its children are the obstacle slots, and the cat runs in
// it too.
Strata::SceneNode* ObstacleLayer(GameModeDifficulty difficulty)
{
    static const char* const kLayers[] = {"YSortedLayer_Easy", "YSortedLayer_Medium", "YSortedLayer_Hard"};
    static_assert(std::size(kLayers) == GameModeDifficulty_Count);
    if (difficulty < 0 || difficulty >= GameModeDifficulty_Count)
        return nullptr;
    return PlayfieldNode("PlayfieldLayers", kLayers[difficulty]);
}

constexpr float kEndPause = 2.0f;

} // namespace

HideAndSeekMode::HideAndSeekMode() : MiniGameModeOf(HideAndSeekDescription())
{
}

void HideAndSeekMode::Setup()
{
    MiniGameMode::Setup();
    maskClickInput(true);
}

HideAndSeekCharacter* HideAndSeekMode::getCharacter() const
{
    return dynamic_cast<HideAndSeekCharacter*>(GetObject(mCharacter));
}

std::vector<HideAndSeekObstacle*> HideAndSeekMode::getObstacles() const
{
    return LiveObjects<HideAndSeekObstacle>(*this, mObstacles);
}

void HideAndSeekMode::initializeLevel(const HideAndSeekLevel& level)
{
    Strata::SceneNode* layer = ObstacleLayer(GetLevelManager().difficulty);
    if (layer == nullptr)
    {
        Strata::Internal::LogWrite("The hide-and-seek playfield has no obstacle layer for this difficulty\n");
        return;
    }
    mNumHides = level.numHides;
    // Shuffled, so which obstacles the slots leave out and where each stands differ from game to game.
    EnumTypeDeck<int> deck(static_cast<int>(level.obstacles.size()));
    const std::list<Strata::SceneNode*> slots = layer->GetChildren();
    for (Strata::SceneNode* slot : slots)
    {
        if (deck.getRemaining() == 0)
            break;
        const int imageID = level.obstacles[static_cast<size_t>(deck.DrawCard())].imageID;
        auto* obstacle = addPlayfieldObject<HideAndSeekObstacle>(slot, slot->GetName().c_str(), imageID);
        if (obstacle == nullptr)
            continue;
        mObstacles.push_back(obstacle->GetID());
        obstacle->pressedSignal.connect([this, obstacle] { obstaclePressed(obstacle); });
        obstacle->liftedSignal.connect([this, obstacle] { obstacleClicked(obstacle); });
    }
    auto* cat = addPlayfieldObject<HideAndSeekCharacter>(layer, "obstacle layer", mObstacles, level.numPreviewHides,
                                                         level.runSpeed, level.showTail);
    if (cat == nullptr)
        return;
    mCharacter = cat->GetID();
    // Hidden: the child may look.
    cat->arrivedSignal.connect([this](PlayfieldObject*) { maskClickInput(false); });
}

void HideAndSeekMode::obstaclePressed(HideAndSeekObstacle* obstacle)
{
    HideAndSeekCharacter* cat = getCharacter();
    if (cat == nullptr)
        return;
    maskClickInput(true);
    const bool found = cat->isHidden() && cat->getCurrentObstacle() == obstacle->GetID();
    obstacle->reveal(found);
    // An obstacle looked behind wrongly before may hide the cat now: only this look's ending counts.
    obstacle->loweredSignal.disconnect_all_slots();
    if (found)
    {
        // The mask stays up: the cat hides anew or the game ends when the find is counted.
        cat->getFound();
        GetAudioManager()->playInGameFeedbackVocal(true);
        return;
    }
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongObstacle.name));
    obstacle->loweredSignal.connect([this] { maskClickInput(false); });
}

void HideAndSeekMode::obstacleClicked(HideAndSeekObstacle* obstacle)
{
    HideAndSeekCharacter* cat = getCharacter();
    if (cat == nullptr || cat->getCurrentObstacle() != obstacle->GetID())
        return;
    if (++mNumFound < mNumHides)
    {
        cat->setupNewHideSequence();
        return;
    }
    QueueCall(*cat, [] { GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name)); });
    cat->runOffScreen();
    startOutroAnimation();
}

void HideAndSeekMode::startOutroAnimation()
{
    HideAndSeekCharacter* cat = getCharacter();
    if (mOutroStarted || cat == nullptr)
        return;
    mOutroStarted = true;
    cat->AddTask(std::make_unique<Strata::TimedTask>(kEndPause));
    queueEndOfRound(*cat);
}

} // namespace Yardcrew

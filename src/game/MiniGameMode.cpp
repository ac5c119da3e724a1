#include "game/MiniGameMode.h"

#include "core/Log.h"
#include "framework/MainLoop.h"
#include "framework/Object.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PlayfieldObject.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <string>

namespace Yardcrew
{

MiniGameMode::MiniGameMode(const sMiniGameDescription& description, bool firstRound, int roundsLeft)
    : mDescription(description), mFirstRound(firstRound),
      mRoundsLeft(description.repeating ? MiniGameRoundsLeft(roundsLeft) : 0)
{
}

MiniGameMode::~MiniGameMode()
{
    mSortConnection.disconnect();
}

void MiniGameMode::Setup()
{
    YardcrewGameMode::Setup();
    const Strata::AutoResource<Strata::SceneLayout> layout(mDescription.layout);
    if (layout.Get() != nullptr)
        layout->InstantiateLayout(this, GetRootNode());
    else
        Strata::Internal::LogWrite("The layout \"%s\" is missing\n", mDescription.layout);

    if (mDescription.sortedLayer != nullptr)
    {
        if (Strata::SceneNode* layer = PlayfieldNode(mDescription.sortedLayer))
            mSortConnection = layer->drawSignal.connect([](Strata::SceneNode* node) { SortPlayfieldEntities(node); });
    }
    setupMouseInputEatingNode(getInputMask());

    mLevel = chooseLevel();
    // A level that failed its checks is never filed, but one named by hand must not be played either.
    const bool playable = !mLevel.IsNull() && acceptLevel(mLevel);
    if (playable || mDescription.musicWithoutLevel)
        GetAudioManager()->setMusicMode(MusicMode_InGame, Strata::Label(mDescription.label));
    if (!playable)
    {
        ShowMissingLevelNotice(mDescription.modeName);
        if (mDescription.instructionsWithoutLevel)
            showInstructions();
        startWithoutLevel();
        return;
    }
    if (!mDescription.instructionsAfterIntro)
        showInstructions();
    startLevel();
}

bool MiniGameMode::acceptLevel(Strata::Label level)
{
    return mDescription.isPlayable == nullptr || mDescription.isPlayable(level);
}

Strata::Label MiniGameMode::chooseLevel()
{
    return GetLevelManager().getLevelForGameModeType(mDescription.type);
}

void MiniGameMode::showInstructions()
{
    setupInstructionMode(Strata::Label(mDescription.label), mDescription.introState,
                         !mDescription.repeating || mFirstRound);
}

void MiniGameMode::Update(float dt)
{
    YardcrewGameMode::Update(dt);
    const Strata::Vector2<int> pointer = Strata::MainLoop::GetLastMousePos();
    OnMouseMove(pointer.x, pointer.y);
}

void MiniGameMode::refreshMode()
{
    if (mDescription.nextRound == nullptr)
    {
        Strata::Internal::LogWrite("%s has no next round; the level ends\n", mDescription.modeName);
        endLevel();
        return;
    }
    GetLevelManager().getModeQueue().unwindTo(mDescription.nextRound(mRoundsLeft));
}

void MiniGameMode::setupCursor()
{
    SetGameCursor(mDescription.cursor, mDescription.cursorHotSpot);
}

Strata::SceneNode* MiniGameMode::getInputMask() const
{
    return mDescription.inputMask != nullptr ? PlayfieldNode(mDescription.inputMask) : nullptr;
}

void MiniGameMode::maskMouseInput(bool mask)
{
    if (Strata::SceneNode* node = getInputMask())
        node->LocalSetVisible(mask);
}

std::vector<PlayfieldObject*> MiniGameMode::getPlayfieldObjects() const
{
    return LiveObjects<PlayfieldObject>(*this, mPlayfieldObjects);
}

void MiniGameMode::queueEndOfRound(Strata::Object& chain)
{
    QueueCall(
        chain,
        [this]
        {
            if (mRoundsLeft > 0)
                refreshMode();
            else
                endLevel();
        });
}

void MiniGameMode::reportMissingPlace(std::string_view place) const
{
    const std::string name(place);
    Strata::Internal::LogWrite("The playfield place \"%s\" is missing\n", name.c_str());
}

} // namespace Yardcrew

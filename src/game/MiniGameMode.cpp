#include "game/MiniGameMode.h"

#include "core/KeyCodes.h"
#include "core/Log.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/Object.h"
#include "game/AudioManager.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PlayfieldObject.h"
#include "game/screens/ScreenSupport.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

// Reads a game's levels again and starts it afresh, between the stuck game's end (its scene holds
// resources of the manifest read again) and the fresh game's set-up. It stays on the mode stack for
// no frame: the game it asks for replaces it in the same pass of the main loop's transitions.
class LevelReloadStep final : public Strata::ApplicationMode
{
public:
    LevelReloadStep(const sGameRegistration& game, Strata::Label level) : mGame(game), mLevel(level) {}

    void Setup() override
    {
        LevelManager& levels = GetLevelManager();
        levels.reloadLevels(mGame.type);
        levels.getModeQueue().unwindTo(mGame.makeMode(mLevel));
    }

private:
    // A registration lives as long as the program.
    const sGameRegistration& mGame;
    Strata::Label mLevel;
};

} // namespace

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
        mWithoutLevel = true;
        showQuitButton();
        if (mDescription.instructionsWithoutLevel)
            showInstructions();
        startWithoutLevel();
        return;
    }
    if (!mDescription.instructionsAfterIntro)
        showInstructions();
    startLevel();
}

void MiniGameMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kQuitButton("QuitButton");
    if (mWithoutLevel && WidgetSenderName(*this, message, "ButtonClick") == kQuitButton)
    {
        leaveGame();
        return;
    }
    YardcrewGameMode::ReceiveMessage(message);
}

Strata::MessageResult MiniGameMode::OnKeyDown(int key)
{
    if (!mWithoutLevel || key != Strata::Key_F5)
        return YardcrewGameMode::OnKeyDown(key);
    const sGameRegistration* game = FindRegisteredGame(mDescription.type);
    if (game == nullptr || !game->makeMode)
    {
        Strata::Internal::LogWrite("%s is not registered; its levels cannot be read again\n", mDescription.modeName);
        return Strata::MessageResult_Handled;
    }
    // A key held down repeats: one reload.
    if (leaveOnce())
        GetLevelManager().getModeQueue().unwindTo(std::make_unique<LevelReloadStep>(*game, mLevel));
    return Strata::MessageResult_Handled;
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

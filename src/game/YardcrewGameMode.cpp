#include "game/YardcrewGameMode.h"

#include "core/Log.h"
#include "framework/Object.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/ForemanInstructionMode.h"
#include "game/MiniGameContent.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/StickerManager.h"
#include "game/YardcrewNames.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kHelpButtonPath[2] = {"HelpButton", Strata::NodePathTerminator()};
const Strata::NodePathStep kQuitButtonPath[2] = {"QuitButton", Strata::NodePathTerminator()};

constexpr float kFirstHintDelay = 30.0f;
constexpr float kLaterHintDelay = 25.0f;

void ShowUIButton(Strata::NodePath path)
{
    Strata::SceneNode* layer = Strata::RootDescendent(kUILayerPath);
    if (Strata::SceneNode* button = layer != nullptr ? layer->GetDescendent(path) : nullptr)
        button->LocalSetVisible(true);
}

} // namespace

YardcrewGameMode::YardcrewGameMode()
{
    mSequenceObject = AddObject(std::make_unique<Strata::Object>().release());
    mHintTimerObject = AddObject(std::make_unique<Strata::Object>().release());
}

YardcrewGameMode::~YardcrewGameMode() = default;

void YardcrewGameMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kQuitButton("QuitButton");
    static const Strata::Label kHelpButton("HelpButton");
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (button.IsNull())
        return;
    const LevelManager& levels = GetLevelManager();
    if (button == kQuitButton)
    {
        if (levels.getStoryScreens().quitConfirm)
            levels.getModeQueue().push(levels.getStoryScreens().quitConfirm(true));
        else
            Strata::Log("No quit confirmation screen is registered\n");
    }
    if (button == kHelpButton)
        levels.getModeQueue().push(std::make_unique<ForemanInstructionMode>(mGame, mIntroState));
}

Strata::MessageResult YardcrewGameMode::OnKeyDown(int key)
{
    return Strata::ObjectDatabase::OnKeyDown(key);
}

void YardcrewGameMode::Destroy()
{
    AudioManager* audio = GetAudioManager();
    audio->clearSFX();
    audio->clearVocalAudioQueues();
    SceneApplicationMode::Destroy();
}

void YardcrewGameMode::Enter()
{
    resetHintTimer(1);
    setupCursor();
}

void YardcrewGameMode::Exit()
{
    SetGameCursor(MiniGameContent::kDefaultCursor.name, MiniGameContent::kDefaultCursorHotSpot.name);
}

void YardcrewGameMode::setupInstructionMode(Strata::Label game, IntroForemanState state, bool showPopUp)
{
    mGame = game;
    mIntroState = state;
    if (showPopUp)
        GetLevelManager().getModeQueue().push(std::make_unique<ForemanInstructionMode>(mGame, mIntroState));
    showUIButtons();
}

void YardcrewGameMode::resetHintTimer(int n)
{
    mHintNumber = n;
    Strata::Object* timer = GetObject(mHintTimerObject);
    if (timer == nullptr)
        return;
    timer->RemoveAllTasks();
    timer->AddTask(std::make_unique<Strata::TimedTask>(mHintNumber <= 1 ? kFirstHintDelay : kLaterHintDelay));
    QueueCall(*timer, [this] { playHint(); });
}

void YardcrewGameMode::playHint()
{
    GetAudioManager()->playAudioGameHint(mGame, mHintNumber);
    resetHintTimer(mHintNumber);
}

void YardcrewGameMode::showUIButtons()
{
    ShowUIButton(kHelpButtonPath);
    ShowUIButton(kQuitButtonPath);
}

void YardcrewGameMode::showQuitButton()
{
    ShowUIButton(kQuitButtonPath);
}

void YardcrewGameMode::setupMouseInputEatingNode(Strata::SceneNode* node)
{
    if (node == nullptr)
        return;
    node->hitTest = true;
    mInputEaters.push_back(node->GetID());
    node->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { eatMouseInput(); });
    node->mouseUpSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { eatMouseInput(); });
    node->mouseEnterSignal.connect([this](Strata::SceneNode*) { eatMouseInput(); });
    node->mouseExitSignal.connect([this](Strata::SceneNode*) { eatMouseInput(); });
}

bool YardcrewGameMode::eatsMouseInput(const Strata::SceneNode* node) const
{
    return node != nullptr && std::find(mInputEaters.begin(), mInputEaters.end(), node->GetID()) != mInputEaters.end();
}

void YardcrewGameMode::endLevel()
{
    // An outro that finishes twice, or a click racing it, must not hand out a second sticker or queue
    // a second screen.
    if (!leaveOnce())
        return;

    LevelManager& levels = GetLevelManager();
    const StoryScreenConstructors& screens = levels.getStoryScreens();
    const int sticker = GetStickerManager().unlockRandomSticker();
    if (sticker != -2)
    {
        if (screens.stickerUnlock)
        {
            levels.getModeQueue().push(screens.stickerUnlock(sticker));
            return;
        }
        Strata::Log("No sticker reward screen is registered; going straight on\n");
    }
    if (!levels.freePlay)
    {
        mStoryStep.beginNextStep(levels);
        return;
    }
    if (screens.freePlaySelect)
        levels.getModeQueue().unwindTo(screens.freePlaySelect());
    else
        Strata::Log("No free-play screen is registered\n");
}

bool YardcrewGameMode::leaveOnce()
{
    return !std::exchange(mLevelEnded, true);
}

void YardcrewGameMode::leaveGame()
{
    if (!leaveOnce())
        return;
    const LevelManager& levels = GetLevelManager();
    const StoryScreenConstructors& screens = levels.getStoryScreens();
    if (levels.freePlay && screens.freePlaySelect)
        levels.getModeQueue().unwindTo(screens.freePlaySelect());
    else if (screens.mainMenu)
        levels.getModeQueue().unwindTo(screens.mainMenu());
    else
        Strata::Log("No screen is registered to go back to\n");
}

} // namespace Yardcrew

#include "game/screens/QuitConfirmMode.h"

#include "core/Log.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kInGamePath[3] = {"QuitConfirm", "InGameQuestion", Strata::NodePathTerminator()};
const Strata::NodePathStep kLeavePath[3] = {"QuitConfirm", "LeaveQuestion", Strata::NodePathTerminator()};

} // namespace

QuitConfirmMode::QuitConfirmMode(bool inGame) : mInGame(inGame)
{
}

void QuitConfirmMode::Setup()
{
    SceneApplicationMode::Setup();
    Strata::SceneNode* root = InstantiateScreenLayout(*this, "QuitConfirmLayout", "quit confirmation");
    if (root == nullptr)
        return;
    if (Strata::SceneNode* question = GetRootNode()->GetDescendent(kInGamePath))
        question->LocalSetVisible(mInGame);
    if (Strata::SceneNode* question = GetRootNode()->GetDescendent(kLeavePath))
        question->LocalSetVisible(!mInGame);
}

void QuitConfirmMode::Enter()
{
    SceneApplicationMode::Enter();
    ShowLocalizedImage(GetRootNode(), kInGamePath, "QuitQuestionInGame");
    ShowLocalizedImage(GetRootNode(), kLeavePath, "QuitQuestion");
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(mInGame ? "Quit_AskInGame" : "Quit_Ask"));
}

void QuitConfirmMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kYesButton("YesButton");
    static const Strata::Label kNoButton("NoButton");
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (button.IsNull() || mAnswered)
        return;
    const LevelManager& levels = GetLevelManager();
    if (button == kNoButton)
    {
        mAnswered = true;
        GetAudioManager()->clearVocalAudioQueues();
        levels.getModeQueue().pop();
        return;
    }
    if (button != kYesButton)
        return;
    mAnswered = true;
    GetAudioManager()->clearVocalAudioQueues();
    if (!mInGame)
    {
        Strata::MainLoop::RequestQuit();
        return;
    }
    if (levels.getStoryScreens().mainMenu)
        levels.getModeQueue().unwindTo(levels.getStoryScreens().mainMenu());
    else
    {
        Strata::Log("No main menu is registered; closing the question\n");
        levels.getModeQueue().pop();
    }
}

} // namespace Yardcrew

#include "game/screens/QuitConfirmMode.h"

#include "core/Log.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/PlayFlowScreens.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

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
    const Strata::AutoResource<Strata::SceneLayout> layout("QuitConfirmLayout");
    Strata::SceneNode* root = layout.Get() != nullptr ? layout->InstantiateLayout(this, GetRootNode()) : nullptr;
    if (root == nullptr)
    {
        Strata::Log("The quit confirmation has no layout \"QuitConfirmLayout\"\n");
        return;
    }
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
    static const Strata::Label kButtonClick("ButtonClick");
    static const Strata::Label kYesButton("YesButton");
    static const Strata::Label kNoButton("NoButton");
    if (message.GetName() != kButtonClick || mAnswered)
        return;
    const Strata::Object* sender = GetObject(message.GetSender());
    if (sender == nullptr)
        return;
    const LevelManager& levels = GetLevelManager();
    if (sender->GetName() == kNoButton)
    {
        mAnswered = true;
        GetAudioManager()->clearVocalAudioQueues();
        levels.getModeQueue().pop();
        return;
    }
    if (sender->GetName() != kYesButton)
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

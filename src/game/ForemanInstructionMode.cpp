#include "game/ForemanInstructionMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/LevelManager.h"
#include "game/SimpleFunctionTask.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kForemanPath[2] = {"LevelIntroForeman", Strata::NodePathTerminator()};
const Strata::NodePathStep kSkipButtonPath[3] = {"ForemanInstructionMode", "SkipButton", Strata::NodePathTerminator()};

} // namespace

ForemanInstructionMode::ForemanInstructionMode(Strata::Label game, IntroForemanState state)
    : mIntroState(state), mGame(game)
{
}

void ForemanInstructionMode::Setup()
{
    SceneApplicationMode::Setup();
    Strata::SceneNode* root = InstantiateScreenLayout(*this, "ForemanInstructionModeLayout", "instruction pop-up");
    if (root == nullptr)
        return;
    if (auto* foreman = dynamic_cast<Strata::AnimatedSpriteNode*>(root->GetDescendent(kForemanPath)))
        foreman->SetFrameIndex(static_cast<int>(mIntroState));
}

void ForemanInstructionMode::Enter()
{
    SceneApplicationMode::Enter();
    ShowLocalizedImage(GetRootNode(), kSkipButtonPath, "Button_SkipCutscene");

    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr)
        return;
    root->AddTask(new AudioPlayGameDescTask(mGame, Strata::Audio::sPlayState()));
    root->AddTask(new SimpleFunctionTask<Strata::Object>([this](Strata::Object*, float) { closeMode(); }));
}

void ForemanInstructionMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    SceneApplicationMode::Destroy();
}

void ForemanInstructionMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kOkButton("OkButton");
    if (WidgetSenderName(*this, message, "ButtonClick") == kOkButton)
        closeMode();
}

void ForemanInstructionMode::closeMode()
{
    if (mClosing)
        return;
    mClosing = true;
    GetLevelManager().getModeQueue().pop();
}

} // namespace Yardcrew

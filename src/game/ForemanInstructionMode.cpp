#include "game/ForemanInstructionMode.h"

#include "core/Log.h"
#include "framework/Account.h"
#include "framework/ResourceDescriptor.h"
#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/LevelManager.h"
#include "game/SimpleFunctionTask.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

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
    const Strata::AutoResource<Strata::SceneLayout> layout("ForemanInstructionModeLayout");
    Strata::SceneNode* root = layout.Get() != nullptr ? layout->InstantiateLayout(this, GetRootNode()) : nullptr;
    if (root == nullptr)
    {
        Strata::Log("The instruction pop-up has no layout \"ForemanInstructionModeLayout\"\n");
        return;
    }
    if (auto* foreman = dynamic_cast<Strata::AnimatedSpriteNode*>(root->GetDescendent(kForemanPath)))
        foreman->SetFrameIndex(static_cast<int>(mIntroState));
}

void ForemanInstructionMode::Enter()
{
    SceneApplicationMode::Enter();
    Strata::Account* account = GetCurrentGameAccount();
    const bool english = account == nullptr || account->ReadValue(L"EnglishLanguage", true);
    if (auto* skip = Strata::RootDescendent<Strata::ButtonNode>(kSkipButtonPath))
    {
        // Single images, one per state: the width only matters to three-slice strips.
        const Strata::AutoResource<Strata::IImageList> images(english ? "Button_SkipCutscene_EN"
                                                                      : "Button_SkipCutscene_SP");
        skip->SetImages(images.Get(), 0.0f, images.GetDescriptor());
    }

    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr)
        return;
    root->AddTask(new Strata::AudioPlayGameDescTask(mGame, Strata::Audio::sPlayState()));
    root->AddTask(new SimpleFunctionTask<Strata::Object>([this](Strata::Object*, float) { closeMode(); }));
}

void ForemanInstructionMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    SceneApplicationMode::Destroy();
}

void ForemanInstructionMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kButtonClick("ButtonClick");
    static const Strata::Label kOkButton("OkButton");
    if (message.GetName() != kButtonClick)
        return;
    const Strata::Object* sender = GetObject(message.GetSender());
    if (sender != nullptr && sender->GetName() == kOkButton)
        closeMode();
}

void ForemanInstructionMode::closeMode()
{
    if (mClosing)
        return;
    mClosing = true;
    GetLevelManager().getModeQueue().pop();
}

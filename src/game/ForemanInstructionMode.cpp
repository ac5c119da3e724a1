#include "game/ForemanInstructionMode.h"

#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/MiniGameSequence.h"
#include "game/screens/ScreenSupport.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("SkipButton", "Button_SkipCutscene")};
// A pose for every game, so no game's instructions show a missing frame.
constexpr sContentName kPoses[] = {{ContentKind_ImageList, "ForemanPoses", kIntroForemanStates},
                                   {ContentKind_SpriteType, "ForemanSpriteType"}};

} // namespace

const sMenuScreen ForemanInstructionMode::kScreen{
    "instruction pop-up", "ForemanInstructionModeLayout", kWords, {}, nullptr, kPoses};

ForemanInstructionMode::ForemanInstructionMode(Strata::Label game, IntroForemanState state)
    : MenuScreen(kScreen), mIntroState(state), mGame(game)
{
    OnButton(
        "OkButton", [this] { closeMode(); });
}

void ForemanInstructionMode::Setup()
{
    MenuScreen::Setup();
    if (auto* foreman = ScreenChild<Strata::AnimatedSpriteNode>(Screen(), "LevelIntroForeman"))
        foreman->SetFrameIndex(static_cast<int>(mIntroState));
}

void ForemanInstructionMode::Enter()
{
    MenuScreen::Enter();
    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr)
        return;
    root->AddTask(std::make_unique<AudioPlayGameDescTask>(mGame, Strata::Audio::sPlayState()));
    QueueCall(*root, [this] { closeMode(); });
}

void ForemanInstructionMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    MenuScreen::Destroy();
}

void ForemanInstructionMode::closeMode()
{
    Close();
}

} // namespace Yardcrew

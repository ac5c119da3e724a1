#include "game/screens/CutsceneMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/MiniGameSequence.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <iterator>
#include <string>
#include <utility>

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("SkipButton", "Button_SkipCutscene")};

} // namespace

const sMenuScreen CutsceneMode::kScreen{"cut-scene screen", "CutsceneLayout", kWords, MusicMode_GeneralUI};

std::string CutsceneMode::LayoutName(Strata::Label cutsceneID)
{
    return std::string("Cutscene_") + (cutsceneID ? cutsceneID.c_str() : "");
}

std::string CutsceneMode::VoiceName(Strata::Label cutsceneID, int number)
{
    return LayoutName(cutsceneID) + "_" + std::to_string(number);
}

CutsceneMode::CutsceneMode(Strata::Label cutsceneID) : MenuScreen(kScreen), mCutsceneID(cutsceneID)
{
    OnButton(
        "SkipButton", [this] { closeMode(); });
}

void CutsceneMode::Setup()
{
    MenuScreen::Setup();
    if (Screen() == nullptr)
        return;
    const std::string name = LayoutName(mCutsceneID);
    const Strata::AutoResource<Strata::SceneLayout> pictures(name.c_str());
    Strata::SceneNode* stage = getStage();
    if (stage == nullptr || pictures.Get() == nullptr || pictures->InstantiateLayout(this, stage) == nullptr)
    {
        Strata::Log(("The cut-scene has no layout \"" + name + "\"\n").c_str());
        return;
    }
    for (Strata::SceneNode* picture : stage->GetChildren().front()->GetChildren())
        picture->LocalSetVisible(false);
}

void CutsceneMode::Enter()
{
    // A game's track must not play on under the story.
    MenuScreen::Enter();

    // Enter comes again whenever a mode above this one closes: the pictures go on where they were.
    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr || mStarted)
        return;
    mStarted = true;
    const int count = getPictureCount();
    for (int index = 0; index < count; ++index)
    {
        QueueCall(*root, [this, index] { showPicture(index); });
        const std::string voice = VoiceName(mCutsceneID, index + 1);
        auto picture = std::make_unique<Strata::ParallelTask>(Strata::ParallelTaskCompletion_All);
        picture->AddTask(std::make_unique<Strata::TimedTask>(kMinimumPictureTime));
        picture->AddTask(
            std::make_unique<AudioPlayChannelTask>(Strata::Label(voice.c_str()), Strata::Audio::sPlayState()));
        root->AddTask(std::move(picture));
    }
    QueueCall(*root, [this] { closeMode(); });
}

void CutsceneMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    MenuScreen::Destroy();
}

void CutsceneMode::closeMode()
{
    if (HasLeft())
        return;
    GetAudioManager()->clearVocalAudioQueues();
    BeginNextStep();
}

int CutsceneMode::getPictureCount() const
{
    const Strata::SceneNode* stage = getStage();
    if (stage == nullptr || stage->GetChildren().empty())
        return 0;
    return static_cast<int>(stage->GetChildren().front()->GetChildCount());
}

Strata::SceneNode* CutsceneMode::getStage() const
{
    return ScreenChild<Strata::SceneNode>(Screen(), "Pictures");
}

void CutsceneMode::showPicture(int index)
{
    Strata::SceneNode* stage = getStage();
    if (stage == nullptr || stage->GetChildren().empty())
        return;
    int position = 0;
    for (Strata::SceneNode* picture : stage->GetChildren().front()->GetChildren())
        picture->LocalSetVisible(position++ == index);
    mShown = index;
}

} // namespace Yardcrew

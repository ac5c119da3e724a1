#include "game/screens/CutsceneMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/SimpleFunctionTask.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <iterator>
#include <string>

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kStagePath[3] = {"CutsceneMode", "Pictures", Strata::NodePathTerminator()};
const Strata::NodePathStep kSkipButtonPath[3] = {"CutsceneMode", "SkipButton", Strata::NodePathTerminator()};

std::string PartName(Strata::Label cutsceneID, const char* prefix, int number = 0)
{
    std::string name = std::string(prefix) + (cutsceneID ? cutsceneID.c_str() : "");
    if (number > 0)
    {
        name += '_';
        name += std::to_string(number);
    }
    return name;
}

} // namespace

CutsceneMode::CutsceneMode(Strata::Label cutsceneID) : mCutsceneID(cutsceneID)
{
}

void CutsceneMode::Setup()
{
    SceneApplicationMode::Setup();
    if (InstantiateScreenLayout(*this, "CutsceneLayout", "cut-scene screen") == nullptr)
        return;
    const std::string name = PartName(mCutsceneID, "Cutscene_");
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
    SceneApplicationMode::Enter();
    // A game's track must not play on under the story.
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());

    ShowLocalizedImage(GetRootNode(), kSkipButtonPath, "Button_SkipCutscene");

    // Enter comes again whenever a mode above this one closes: the pictures go on where they were.
    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr || mStarted)
        return;
    mStarted = true;
    const int count = getPictureCount();
    for (int index = 0; index < count; ++index)
    {
        root->AddTask(
            new SimpleFunctionTask<Strata::Object>([this, index](Strata::Object*, float) { showPicture(index); }));
        const std::string voice = PartName(mCutsceneID, "Cutscene_", index + 1);
        root->AddTask(new Strata::ParallelTask(
            Strata::ParallelTaskCompletion_All, new Strata::TimedTask(kMinimumPictureTime),
            new AudioPlayChannelTask(Strata::Label(voice.c_str()), Strata::Audio::sPlayState())));
    }
    root->AddTask(new SimpleFunctionTask<Strata::Object>([this](Strata::Object*, float) { closeMode(); }));
}

void CutsceneMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    SceneApplicationMode::Destroy();
}

void CutsceneMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kSkipButton("SkipButton");
    if (WidgetSenderName(*this, message, "ButtonClick") == kSkipButton)
        closeMode();
}

void CutsceneMode::closeMode()
{
    if (mStep.hasBegun())
        return;
    GetAudioManager()->clearVocalAudioQueues();
    mStep.beginNextStep();
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
    Strata::SceneNode* root = GetRootNode();
    return root != nullptr ? root->GetDescendent(kStagePath) : nullptr;
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

#include "game/screens/StickerUnlockMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
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

const Strata::NodePathStep kStickerPath[3] = {"StickerUnlock", "StickerImage", Strata::NodePathTerminator()};
const Strata::NodePathStep kNewStickerPath[3] = {"StickerUnlock", "NewSticker", Strata::NodePathTerminator()};
const Strata::NodePathStep kBookPath[3] = {"StickerUnlock", "BookComplete", Strata::NodePathTerminator()};
const Strata::NodePathStep kBookTextPath[4] = {"StickerUnlock", "BookComplete", "BookCompleteText",
                                               Strata::NodePathTerminator()};

} // namespace

StickerUnlockMode::StickerUnlockMode(int stickerIndex) : mStickerIndex(stickerIndex)
{
}

void StickerUnlockMode::Setup()
{
    SceneApplicationMode::Setup();
    Strata::SceneNode* root = InstantiateScreenLayout(*this, "StickerUnlockLayout", "sticker reward");
    if (root == nullptr)
        return;
    const bool bookComplete = mStickerIndex < 0;
    if (Strata::SceneNode* book = GetRootNode()->GetDescendent(kBookPath))
        book->LocalSetVisible(bookComplete);
    if (Strata::SceneNode* fresh = GetRootNode()->GetDescendent(kNewStickerPath))
        fresh->LocalSetVisible(!bookComplete);
    auto* sticker = dynamic_cast<Strata::StaticSpriteNode*>(GetRootNode()->GetDescendent(kStickerPath));
    if (sticker == nullptr)
        return;
    sticker->LocalSetVisible(!bookComplete);
    if (!bookComplete)
        sticker->setImage(Strata::Label("StickerBigList"), mStickerIndex);
}

void StickerUnlockMode::Enter()
{
    SceneApplicationMode::Enter();
    // The finished game's track must not carry on under the reward, nor into the next game.
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
    ShowLocalizedImage(GetRootNode(), kNewStickerPath, "NewSticker");
    ShowLocalizedImage(GetRootNode(), kBookTextPath, "BookComplete");
    GetAudioManager()->playSpecificSoundVocal(
        Strata::Label(mStickerIndex < 0 ? "StickerUnlock_BookComplete" : "StickerUnlock_Cheer"));

    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr)
        return;
    root->AddTask(new Strata::TimedTask(kShowSeconds));
    root->AddTask(new SimpleFunctionTask<Strata::Object>([this](Strata::Object*, float) { continueToNextMode(); }));
}

void StickerUnlockMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    SceneApplicationMode::Destroy();
}

void StickerUnlockMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kOkButton("OkButton");
    if (WidgetSenderName(*this, message, "ButtonClick") == kOkButton)
        continueToNextMode();
}

void StickerUnlockMode::continueToNextMode()
{
    // The timer and a click can both land in one frame; the story must move one step, not two.
    if (mMovedOn)
        return;
    mMovedOn = true;
    LevelManager& levels = GetLevelManager();
    if (!levels.freePlay)
    {
        mStoryStep.beginNextStep(levels);
        return;
    }
    if (levels.getStoryScreens().freePlaySelect)
        levels.getModeQueue().unwindTo(levels.getStoryScreens().freePlaySelect());
    else
        Strata::Log("No free-play screen is registered\n");
}

} // namespace Yardcrew

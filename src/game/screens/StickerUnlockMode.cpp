#include "game/screens/StickerUnlockMode.h"

#include "core/Log.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/MiniGameSequence.h"
#include "game/screens/ScreenSupport.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {PictureWords("NewSticker", "NewSticker"),
                                   PictureWords("BookComplete", "BookComplete", "BookCompleteText")};
// The big stickers match the book's: profiles keep 150 sticker flags.
constexpr sContentName kStickers{ContentKind_ImageList, "StickerBigList", 56, 150};
constexpr sContentName kCheer{ContentKind_RandomSound, "StickerUnlock_Cheer", 2};
constexpr sContentName kBookComplete{ContentKind_Voice, "StickerUnlock_BookComplete"};
constexpr sContentName kMore[] = {kStickers, kCheer, kBookComplete};

} // namespace

const sMenuScreen StickerUnlockMode::kScreen{
    "sticker reward", "StickerUnlockLayout", kWords, MusicMode_GeneralUI, nullptr, kMore};

StickerUnlockMode::StickerUnlockMode(int stickerIndex) : MenuScreen(kScreen), mStickerIndex(stickerIndex)
{
    OnButton(
        "OkButton", [this] { continueToNextMode(); });
}

void StickerUnlockMode::Setup()
{
    MenuScreen::Setup();
    const bool bookComplete = mStickerIndex < 0;
    if (Strata::SceneNode* book = ScreenChild<Strata::SceneNode>(Screen(), "BookComplete"))
        book->LocalSetVisible(bookComplete);
    if (Strata::SceneNode* fresh = ScreenChild<Strata::SceneNode>(Screen(), "NewSticker"))
        fresh->LocalSetVisible(!bookComplete);
    auto* sticker = ScreenChild<Strata::StaticSpriteNode>(Screen(), "StickerImage");
    if (sticker == nullptr)
        return;
    sticker->LocalSetVisible(!bookComplete);
    if (!bookComplete)
        sticker->setImage(Strata::Label(kStickers.name), mStickerIndex);
}

void StickerUnlockMode::Enter()
{
    // The finished game's track must not carry on under the reward, nor into the next game.
    MenuScreen::Enter();
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(mStickerIndex < 0 ? kBookComplete.name : kCheer.name));

    Strata::SceneNode* root = GetRootNode();
    if (root == nullptr)
        return;
    root->AddTask(std::make_unique<Strata::TimedTask>(kShowSeconds));
    QueueCall(*root, [this] { continueToNextMode(); });
}

void StickerUnlockMode::Destroy()
{
    GetAudioManager()->clearVocalAudioQueues();
    MenuScreen::Destroy();
}

void StickerUnlockMode::continueToNextMode()
{
    // The timer and a click can both land in one frame; the story must move one step, not two.
    if (HasLeft())
        return;
    const LevelManager& levels = GetLevelManager();
    if (!levels.freePlay)
        BeginNextStep();
    else if (levels.getStoryScreens().freePlaySelect)
        UnwindTo(levels.getStoryScreens().freePlaySelect());
    else if (Leave())
        Strata::Log("No free-play screen is registered\n");
}

} // namespace Yardcrew

#include "game/StreetSigns/StreetSignsMode.h"

#include "core/Log.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/GameAudioTasks.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/StreetSigns/StreetSign.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsGame.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = StreetSignsContent;
using Point = Strata::Vector2<float>;

constexpr const char* kTruck = "TruckNode";

// The truck drives in from wholly past the left edge (its front this far off) and off past the right one
// (x of "TruckNode").
constexpr float kTruckHidden = 20;
constexpr float kTruckLeaveX = 860;
constexpr float kTruckSeconds = 1.6f;

// The truck's bed slot for the n-th sign lifted (0 first).
Strata::SceneNode* BedSlot(int n)
{
    const std::string name = "Bed_" + std::to_string(n + 1);
    Strata::SceneNode* slot = PlayfieldNode(kTruck, name);
    if (slot == nullptr)
        Strata::Internal::LogWrite("The truck has no bed slot \"%s\"\n", name.c_str());
    return slot;
}

void SetTruckAnimation(const char* animation)
{
    if (auto* truck = PlayfieldNode<Strata::AnimatedSpriteNode>(kTruck))
        truck->SetAnimation(Strata::Label(animation), true);
}

} // namespace

StreetSignsMode::StreetSignsMode(bool firstRound, int loops)
    : MiniGameModeOf(StreetSignsDescription(), firstRound, loops)
{
}

void StreetSignsMode::initializeLevel(const StreetSignLevel& level)
{
    mRound = level.MakeRound();
    placeSigns();
    if (Strata::SceneNode* truck = PlayfieldNode(kTruck))
    {
        // A click on the truck asks again.
        truck->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { playTraitVocal(); });
        truck->hitTest = true;
    }
    playIntroAnimation();
}

void StreetSignsMode::placeSigns()
{
    Strata::SceneNode* row = PlayfieldNode("SignRow");
    const float spacing = GameConstant<float>(Names::kSignSpacing.name);
    const float middle = (static_cast<float>(mRound.signs.size()) - 1) / 2;
    for (size_t i = 0; i < mRound.signs.size(); ++i)
    {
        auto* sign = addPlayfieldObject<StreetSign>(row, "SignRow", mRound.signs[i]);
        if (sign == nullptr)
            return;
        mSigns.push_back(sign->GetID());
        // The row's origin is the middle of the signs; a sign's own origin its top-left corner.
        if (Strata::SceneNode* root = sign->LayoutRoot())
            root->LocalSetLocation((static_cast<float>(i) - middle) * spacing - root->LocalGetBounds().width / 2, 0);
        sign->pressedSignal.connect([this, sign] { streetSignClicked(sign); });
        sign->arrivedSignal.connect([this](PlayfieldObject*) { checkLevelEnding(); });
    }
}

void StreetSignsMode::playIntroAnimation()
{
    Strata::SceneNode* truck = PlayfieldNode(kTruck);
    Strata::SceneNode* mask = getInputMask();
    // Without its truck or mask the layout is damaged: the signs are asked for at once.
    if (truck == nullptr || mask == nullptr)
    {
        showCurrentAsk();
        playTraitVocal();
        return;
    }
    maskMouseInput(true);
    const Point home = truck->LocalGetLocation();
    // The playfield is not scaled: the truck's front on screen moves as far as the node does.
    const Strata::Rect<float> bounds = truck->GetCompositeBounds();
    truck->LocalSetLocation(home.x - (bounds.x + bounds.width) - kTruckHidden, home.y);
    SetTruckAnimation("Drive");
    truck->AddTask(PlayEffectTask(Names::kDriveIn.name));
    truck->AddTask(std::make_unique<Strata::NodeLocationTask>(home, kTruckSeconds));
    QueueCall(*truck,
              [this]
              {
                  SetTruckAnimation("Idle");
                  showCurrentAsk();
                  playTraitVocal();
              });
    Meet({truck, mask});
    mask->AddTask(CallTask([this] { maskMouseInput(false); }));
}

sStreetSignAsk StreetSignsMode::getCurrentAsk() const
{
    return mAskIndex < static_cast<int>(mRound.asks.size()) ? mRound.asks[static_cast<size_t>(mAskIndex)]
                                                            : sStreetSignAsk();
}

std::vector<StreetSign*> StreetSignsMode::getSigns() const
{
    return LiveObjects<StreetSign>(*this, mSigns);
}

void StreetSignsMode::playTraitVocal()
{
    const std::string voice = Names::AskVoice(getCurrentAsk());
    if (!voice.empty())
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice.c_str()));
}

void StreetSignsMode::showCurrentAsk()
{
    const int frame = Names::AskPicture(getCurrentAsk());
    if (Strata::SceneNode* bubble = PlayfieldNode("AskBubble"))
        bubble->LocalSetVisible(frame >= 0);
    if (auto* picture = PlayfieldNode<Strata::StaticSpriteNode>("AskBubble", "AskPicture");
        picture != nullptr && frame >= 0)
        picture->setImage(Strata::Label(Names::kAskPictures.name), frame);
}

void StreetSignsMode::streetSignClicked(StreetSign* sign)
{
    if (mLifting || mOutroStarted || sign == nullptr || sign->isInTruck())
        return;
    const sStreetSignAsk ask = getCurrentAsk();
    Strata::SceneNode* slot = BedSlot(mAskIndex);
    if (ask.trait == StreetSignTrait_None || slot == nullptr)
        return;
    resetHintTimer(1);
    AudioManager* audio = GetAudioManager();
    if (!ask.Matches(sign->getSign()))
    {
        sign->shake();
        audio->playInGameFeedbackVocal(false);
        audio->queueSpecificSoundVocal(Strata::Label(Names::AskVoice(ask).c_str()));
        return;
    }
    mLifting = true;
    maskMouseInput(true);
    audio->playInGameFeedbackVocal(true);
    sign->liftSignIntoTruck(*slot);
}

void StreetSignsMode::checkLevelEnding()
{
    if (!mLifting)
        return;
    mLifting = false;
    ++mAskIndex;
    showCurrentAsk();
    if (mAskIndex < static_cast<int>(mRound.asks.size()))
    {
        maskMouseInput(false);
        // After the praise, which may still be spoken.
        GetAudioManager()->queueSpecificSoundVocal(Strata::Label(Names::AskVoice(getCurrentAsk()).c_str()));
        return;
    }
    playOutroAnimation();
}

void StreetSignsMode::playOutroAnimation()
{
    Strata::SceneNode* truck = PlayfieldNode(kTruck);
    if (mOutroStarted || truck == nullptr)
        return;
    mOutroStarted = true;
    maskMouseInput(true);
    GetAudioManager()->playSFX(Strata::Label(Names::kHorn.name));
    // The round ends once the truck is gone and the foreman has had his say; the praise for the last
    // sign was over while it flew.
    Strata::SceneNode* mask = getInputMask();
    if (mask != nullptr)
        mask->AddTask(
            std::make_unique<AudioPlayChannelTask>(Strata::Label(Names::kTruckFull.name), Strata::Audio::sPlayState()));
    truck->AddTask(std::make_unique<Strata::TimedTask>(0.6f));
    QueueCall(*truck,
              []
              {
                  SetTruckAnimation("Drive");
                  GetAudioManager()->playSFX(Strata::Label(Names::kDriveIn.name));
              });
    truck->AddTask(
        std::make_unique<Strata::NodeLocationTask>(Point(kTruckLeaveX, truck->LocalGetLocation().y), kTruckSeconds));
    truck->AddTask(std::make_unique<Strata::TimedTask>(0.5f));
    Meet({truck, mask});
    queueEndOfRound(*truck);
}

} // namespace Yardcrew

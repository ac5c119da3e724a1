#include "game/HaulersDelivery/HaulersDeliveryMode.h"

#include "core/Random.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/GameAudioTasks.h"
#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/DeliveryObject.h"
#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "game/HaulersDelivery/HaulersDeliveryGame.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = HaulersDeliveryContent;
using Point = Strata::Vector2<float>;

// The train drives in from here (x of "CargoRoot") and off until its last cart is this far past the
// left edge, at least to kTrainLeaveX.
constexpr float kTrainEnterX = 900;
constexpr float kTrainLeaveX = -700;
constexpr float kTrainGone = 20;
constexpr float kTrainSeconds = 1.5f;
// The other choices while a delivery runs: seen, but plainly not to be clicked.
constexpr float kDimmedAlpha = 0.4f;

Strata::SceneNode* PlayfieldPlace(const std::string& name)
{
    return PlayfieldNode(name);
}

Strata::SceneNode* CartPlace(int cart)
{
    const std::string name = "Cart_" + std::to_string(cart + 1);
    return PlayfieldNode("CargoRoot", name);
}

void SetHoistAnimation(const char* animation, bool restart)
{
    if (auto* hoist = PlayfieldNode<Strata::AnimatedSpriteNode>("HoistAnimNode"))
        hoist->SetAnimation(Strata::Label(animation), restart);
}

const char* MismatchVoice(eCargoMismatch mismatch)
{
    switch (mismatch)
    {
    case CargoMismatch_Color:
        return Names::kWrongColor.name;
    case CargoMismatch_Type:
        return Names::kWrongType.name;
    default:
        return Names::kWrong.name;
    }
}

} // namespace

HaulersDeliveryMode::HaulersDeliveryMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(HaulersDeliveryDescription(), firstRound, roundsLeft)
{
}

void HaulersDeliveryMode::Setup()
{
    MiniGameMode::Setup();
    if (Strata::SceneNode* hoist = PlayfieldNode("HoistAnimNode"))
    {
        hoist->mouseDownSignal.connect([](Strata::SceneNode*, Strata::MouseButton, int, int)
                                       { GetAudioManager()->playSFX(Strata::Label(Names::kHoistVoice.name)); });
        hoist->hitTest = true;
    }
}

void HaulersDeliveryMode::initializeLevel(const HaulersDeliveryLevel& level)
{
    setupDeliveryPatterns(level);
    setupDeliveryButtons();
    playIntroAnimation();
}

int HaulersDeliveryMode::generatePatternIndexMapping(const HaulersDeliveryLevel& level)
{
    const int last = static_cast<int>(level.patterns.size()) - 1;
    const int pattern = std::clamp(Strata::Random::GetIntRange(0, std::max(last, 0)), 0, std::max(last, 0));
    EnumTypeDeck<HaulersDeliveryType> types(HaulersDeliveryType_Count);
    mPatternIndexMapping.clear();
    while (types.getRemaining() > 0)
        mPatternIndexMapping.push_back(types.DrawCard());
    return pattern;
}

void HaulersDeliveryMode::setupDeliveryPatterns(const HaulersDeliveryLevel& level)
{
    // A playable level has a pattern and every pattern a letter, so the modulo below has a divisor.
    if (level.patterns.empty())
        return;
    const std::vector<int32_t>& pattern = level.patterns[static_cast<size_t>(generatePatternIndexMapping(level))];
    for (int cart = 0; cart < kHaulersDeliveryCarts; ++cart)
    {
        const int32_t letter = HaulersDeliveryLevel::LetterOfCart(pattern, static_cast<size_t>(cart));
        if (letter < 0 || letter >= kHaulersDeliveryLetters)
            return;
        const bool empty = cart == kHaulersDeliveryCarts - 1;
        auto* made = addPlayfieldObject<DeliveryCart>(CartPlace(cart), "Cart_" + std::to_string(cart + 1),
                                                      mPatternIndexMapping[static_cast<size_t>(letter)], cart == 0);
        if (made == nullptr)
            continue;
        mCarts.push_back(made->GetID());
        if (empty)
        {
            made->showCartContents(false);
            mPendingCarts.push_back(made->GetID());
        }
    }
}

void HaulersDeliveryMode::setupDeliveryButtons()
{
    if (mPatternIndexMapping.size() < static_cast<size_t>(kHaulersDeliveryChoices))
        return;
    std::vector<HaulersDeliveryType> choices(mPatternIndexMapping.begin(),
                                             mPatternIndexMapping.begin() + kHaulersDeliveryChoices);
    EnumTypeDeck<int> order(kHaulersDeliveryChoices);
    for (int place = 0; place < kHaulersDeliveryChoices; ++place)
    {
        const std::string name = "Pattern" + std::to_string(place + 1);
        auto* cargo = addPlayfieldObject<DeliveryObject>(PlayfieldPlace(name), name,
                                                         choices[static_cast<size_t>(order.DrawCard())]);
        if (cargo == nullptr)
            continue;
        mChoices.push_back(cargo->GetID());
        cargo->pressedSignal.connect([this, cargo] { buttonClicked(cargo); });
        cargo->arrivedSignal.connect([this, id = cargo->GetID()](PlayfieldObject*) { cargoRemoved(id); });
    }
}

void HaulersDeliveryMode::playIntroAnimation()
{
    maskMouseInput(true);
    if (Strata::SceneNode* train = PlayfieldNode("CargoRoot"))
    {
        const Point home = train->LocalGetLocation();
        train->LocalSetLocation(kTrainEnterX, home.y);
        train->AddTask(PlayEffectTask(Names::kMoveLong.name));
        train->AddTask(std::make_unique<Strata::NodeLocationTask>(home, kTrainSeconds));
        QueueCall(*train, [this] { changeAllCartAnimations("Idle-Left"); });
    }
    // The choices take clicks from the next update on, while the train still drives in.
    if (Strata::SceneNode* mask = getInputMask())
        QueueCall(*mask, [this] { maskMouseInput(false); });
}

std::vector<DeliveryCart*> HaulersDeliveryMode::getCarts() const
{
    std::vector<DeliveryCart*> carts;
    for (Strata::ObjectID id : mCarts)
        if (auto* cart = dynamic_cast<DeliveryCart*>(GetObject(id)))
            carts.push_back(cart);
    return carts;
}

std::vector<DeliveryObject*> HaulersDeliveryMode::getChoices() const
{
    std::vector<DeliveryObject*> choices;
    for (Strata::ObjectID id : mChoices)
        if (auto* cargo = dynamic_cast<DeliveryObject*>(GetObject(id)))
            choices.push_back(cargo);
    return choices;
}

void HaulersDeliveryMode::changeAllCartAnimations(const char* animation)
{
    static const Strata::Label kRole("HaulersDelivery_Cart");
    // A copy: the database's list may change under a call.
    const std::vector<Strata::ObjectID> carts = GetObjectsWithRole(kRole);
    for (Strata::ObjectID id : carts)
        if (auto* cart = dynamic_cast<DeliveryCart*>(GetObject(id)))
            cart->setCartAnim(animation);
}

void HaulersDeliveryMode::buttonClicked(DeliveryObject* cargo)
{
    // A second click before the mask's first frame, or with no cart left to fill, changes nothing.
    auto* cart = mPendingCarts.empty() ? nullptr : dynamic_cast<DeliveryCart*>(GetObject(mPendingCarts.front()));
    if (mDelivering || mOutroStarted || cargo == nullptr || cart == nullptr)
        return;
    mDelivering = true;
    maskMouseInput(true);
    dimChoices(true);
    if (Strata::SceneNode* image = cargo->getImageNode())
        image->LocalSetAlpha(1.0f);
    // The game's one hint: a pick runs its whole delivery under the mask, so no load is ever held for a
    // later hint to speak of.
    resetHintTimer(1);
    GetAudioManager()->playSFX(Strata::Label(Names::kHoistArm.name));
    cargo->getPickedUp();
    cargo->placeInCart(*cart);
    const eCargoMismatch mismatch = CompareCargo(cart->getCargoType(), cargo->getCargoType());
    if (mismatch == CargoMismatch_None)
    {
        cargo->retractHook();
        QueueCall(*cargo, [this] { patternComplete(); });
        return;
    }
    QueueCall(*cargo, [] { SetHoistAnimation("Sad", true); });
    cargo->AddTask(std::make_unique<Strata::TimedTask>(1.0f));
    // The voice is said while the cargo goes; the choices open when both are over.
    Strata::Object* voice = GetObject(getSequenceObjectID());
    mFeedbackParts = voice != nullptr ? 2 : 1;
    if (voice != nullptr)
    {
        Meet({cargo, voice});
        voice->AddTask(std::make_unique<AudioPlayChannelTask>(Strata::Label(MismatchVoice(mismatch)),
                                                              Strata::Audio::sPlayState()));
        QueueCall(*voice, [this] { feedbackPartEnded(); });
    }
    cargo->removeFromCartAndDestroy();
}

void HaulersDeliveryMode::cargoRemoved(Strata::ObjectID cargo)
{
    // Destroyed in the next update; no longer a choice from now on.
    std::erase(mChoices, cargo);
    feedbackPartEnded();
}

void HaulersDeliveryMode::feedbackPartEnded()
{
    if (mFeedbackParts > 0 && --mFeedbackParts > 0)
        return;
    mDelivering = false;
    maskMouseInput(false);
    dimChoices(false);
}

void HaulersDeliveryMode::dimChoices(bool dim)
{
    for (DeliveryObject* choice : getChoices())
        if (Strata::SceneNode* image = choice->getImageNode())
            image->LocalSetAlpha(dim ? kDimmedAlpha : 1.0f);
}

void HaulersDeliveryMode::patternComplete()
{
    if (mPendingCarts.empty())
        return;
    if (auto* cart = dynamic_cast<DeliveryCart*>(GetObject(mPendingCarts.front())))
        cart->showCartContents(true);
    mPendingCarts.pop_front();
    if (mPendingCarts.empty())
        playOutroAnimation();
}

void HaulersDeliveryMode::playOutroAnimation()
{
    Strata::SceneNode* train = PlayfieldNode("CargoRoot");
    if (mOutroStarted || train == nullptr)
        return;
    mOutroStarted = true;
    GetAudioManager()->playSFX(Strata::Label(Names::kMoveLong.name));
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name));
    SetHoistAnimation("Happy", false);
    QueueCall(*train, [this] { changeAllCartAnimations("Drive-Left"); });
    // The playfield is not scaled: the train's right edge on screen moves as far as the node does.
    const Strata::Rect<float> bounds = train->GetCompositeBounds();
    const Point at = train->LocalGetLocation();
    const float leaveX = std::min(kTrainLeaveX, at.x - (bounds.x + bounds.width) - kTrainGone);
    train->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(leaveX, at.y), kTrainSeconds));
    train->AddTask(std::make_unique<Strata::TimedTask>(getRoundsLeft() > 0 ? 2.0f : 1.0f));
    queueEndOfRound(*train);
}

} // namespace Yardcrew

#include "game/HoistStacker/HoistStackerMode.h"

#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/HoistStackerGame.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/StackableObject.h"
#include "game/HoistStacker/StackingTarget.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeAnimationTask.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = HoistStackerContent;

const char* const kPlatformPlaces[] = {"Target_Left", "Target_Right"};

// How long Hoist's stacks stand once the playfield is in view (after the instruction pop-up), the only
// picture of how to play; then his pause before the fallen stacks make him sad, and after his cheer.
constexpr float kExampleSeconds = 3.0f;
constexpr float kSadDelay = 1.0f;
constexpr float kCheerPause = 1.5f;

Strata::SceneNode* PlayfieldPlace(const char* group, const std::string& name)
{
    return PlayfieldNode(group, name);
}

} // namespace

HoistStackerMode::HoistStackerMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(HoistStackerDescription(), firstRound, roundsLeft)
{
}

std::vector<StackableObject*> HoistStackerMode::getObjects() const
{
    return LiveObjects<StackableObject>(*this, mObjects);
}

std::vector<StackingTarget*> HoistStackerMode::getPlatforms() const
{
    return LiveObjects<StackingTarget>(*this, mPlatforms);
}

Strata::AnimatedSpriteNode* HoistStackerMode::getHoist() const
{
    return PlayfieldNode<Strata::AnimatedSpriteNode>("HoistAnimNode");
}

void HoistStackerMode::Setup()
{
    MiniGameMode::Setup();
    if (Strata::SceneNode* mask = PlayfieldNode("DropItem_Mask"))
    {
        mask->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int)
                                      { cancelMaterialDragging(); });
        mask->hitTest = true;
    }
    if (Strata::SceneNode* hoist = getHoist())
    {
        hoist->mouseDownSignal.connect([](Strata::SceneNode*, Strata::MouseButton, int, int)
                                       { GetAudioManager()->playSFX(Strata::Label(Names::kIThinkSo.name)); });
        hoist->hitTest = true;
    }
    playIntroAnimation();
}

void HoistStackerMode::initializeLevel(const HoistStackerLevel& level)
{
    EnumTypeDeck<int> ground(static_cast<int>(kHoistStackerMaxObjects));
    std::set<StackObjectColor> colors;
    for (const StackableObjectData& object : level.objects)
    {
        colors.insert(object.color);
        const std::string name = "Source_" + std::to_string(ground.DrawCard() + 1);
        Strata::SceneNode* place = PlayfieldPlace("MaterialSources", name);
        auto* stackable = addPlayfieldObject<StackableObject>(place, name, object, place);
        if (stackable == nullptr)
            continue;
        mObjects.push_back(stackable->GetID());
        stackable->pressedSignal.connect([this] { resetHintTimer(2); });
        stackable->arrivedSignal.connect([this](PlayfieldObject*) { resetHintTimer(1); });
    }
    // Red on the left; a single colour stands on the left.
    size_t side = 0;
    for (StackObjectColor color : colors)
    {
        const char* name = kPlatformPlaces[side++];
        auto* platform = addPlayfieldObject<StackingTarget>(PlayfieldPlace("MaterialTargets", name), name, color);
        if (platform == nullptr)
            continue;
        mPlatforms.push_back(platform->GetID());
        platform->dropSignal.connect([this](StackableObject*) { checkLevelEnd(); });
        platform->refusedSignal.connect(
            [](StackableObject*)
            {
                GetAudioManager()->playInGameFeedbackVocal(false);
                GetAudioManager()->queueSpecificSoundVocal(Strata::Label(Names::kSameColor.name));
            });
    }
}

void HoistStackerMode::playIntroAnimation()
{
    // Hoist's stacks stand for a moment, correct, largest first.
    std::vector<StackableObject*> objects = getObjects();
    std::stable_sort(objects.begin(), objects.end(),
                     [](const StackableObject* a, const StackableObject* b)
                     { return a->getData().size > b->getData().size; });
    const std::vector<StackingTarget*> platforms = getPlatforms();
    for (StackableObject* object : objects)
        for (StackingTarget* platform : platforms)
            if (platform->getColor() == object->getData().color)
            {
                platform->stackObjectOnThis(*object, true);
                break;
            }
    // The mode is not updated under the pop-up, so the wait starts when the playfield shows; where both
    // colours are played, the matching platform is said meanwhile. The stacks are not taken apart by hand.
    for (StackingTarget* platform : platforms)
    {
        platform->acceptMouseInput(false);
        if (platforms.size() > 1 && platform == platforms.front())
            QueueCall(*platform,
                      [] { GetAudioManager()->queueSpecificSoundVocal(Strata::Label(Names::kSameColor.name)); });
        platform->AddTask(std::make_unique<Strata::TimedTask>(kExampleSeconds));
        QueueCall(*platform,
                  [platform]
                  {
                      platform->shakeOutCurrentStack(true);
                      platform->acceptMouseInput(true);
                  });
    }
    if (Strata::AnimatedSpriteNode* hoist = getHoist())
    {
        hoist->AddTask(std::make_unique<Strata::TimedTask>((platforms.empty() ? 0.0f : kExampleSeconds) + kSadDelay));
        hoist->AddTask(std::make_unique<Strata::NodeAnimationTask>(Strata::Label(Names::kSad),
                                                                   Strata::NodeAnimationTaskCompletion_WhenDone));
    }
}

void HoistStackerMode::checkLevelEnd()
{
    const std::vector<StackableObject*> objects = getObjects();
    // Carried and falling objects count as off the platforms too: no round is judged under way.
    if (mOutroStarted ||
        std::any_of(objects.begin(), objects.end(),
                    [](const StackableObject* object) { return object->getPlace() != StackableObject::Place::Stack; }))
        return;
    bool wrong = false;
    for (StackingTarget* platform : getPlatforms())
        wrong = platform->shakeOutCurrentStack(false) || wrong;
    if (!wrong)
    {
        playOutroAnimation();
        return;
    }
    if (Strata::AnimatedSpriteNode* hoist = getHoist())
        hoist->SetAnimation(Strata::Label(Names::kSad), false);
    GetAudioManager()->playInGameFeedbackVocal(false);
}

void HoistStackerMode::cancelMaterialDragging()
{
    if (auto* held = DragSource<StackableObject*>::GetHeldDragSource_Mutable())
        held->Release();
}

void HoistStackerMode::playOutroAnimation()
{
    Strata::Object* chain = getHoist();
    if (chain == nullptr)
        chain = GetObject(mSequenceObject);
    if (mOutroStarted || chain == nullptr)
        return;
    mOutroStarted = true;
    // The finished stacks are not to be taken apart while Hoist cheers.
    for (StackingTarget* platform : getPlatforms())
        platform->acceptMouseInput(false);
    GetAudioManager()->playSFX(Strata::Label(Names::kTada.name));
    if (chain == getHoist())
        chain->AddTask(std::make_unique<Strata::NodeAnimationTask>(Strata::Label(Names::kHappy),
                                                                   Strata::NodeAnimationTaskCompletion_WhenDone));
    QueueCall(*chain, [] { GetAudioManager()->playInGameFeedbackVocal(true); });
    chain->AddTask(std::make_unique<Strata::TimedTask>(kCheerPause));
    queueEndOfRound(*chain);
}

} // namespace Yardcrew

#include "game/PlanAJob/PlanAJobMode.h"

#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/LevelManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PlanAJob/JobSequenceItem.h"
#include "game/PlanAJob/JobSequenceSlot.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/PlanAJob/PlanAJobGame.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "scene/NodeAnimationTask.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = PlanAJobContent;
using Point = Strata::Vector2<float>;

// The blueprint rests this long in place before the pop-up, and before the building starts.
constexpr float kBlueprintPause = 0.5f;

Strata::SceneNode* TargetPlace(int step)
{
    return PlayfieldNode("Blueprint", "MaterialTargets", step);
}

// Place `index` of the arrangement for `count` offered pictures.
Strata::SceneNode* SourcePlace(int count, int index)
{
    const std::string arrangement = "Sources_" + std::to_string(count);
    return PlayfieldNode("MaterialSources", arrangement, index);
}

void Say(const sContentName& voice)
{
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice.name));
}

} // namespace

PlanAJobMode::PlanAJobMode(Strata::Label level) : MiniGameModeOf(PlanAJobDescription()), mGivenLevel(level)
{
}

Strata::Label PlanAJobMode::chooseLevel()
{
    if (mGivenLevel.IsNull() || *mGivenLevel.GetString() == '\0')
        return MiniGameMode::chooseLevel();
    // The story names the job alone, even where that name is itself a level: the difficulty picks.
    const GameModeDifficulty difficulty = GetLevelManager().difficulty;
    if (difficulty < 0 || difficulty >= GameModeDifficulty_Count)
        return mGivenLevel;
    return Strata::Label::FromString(std::string(mGivenLevel.GetString()) + "_" + kGameModeDifficultyNames[difficulty]);
}

void PlanAJobMode::Setup()
{
    MiniGameMode::Setup();
    playIntroAnimation();
    setupMouseInputEatingNode(PlayfieldNode("Blueprint", "ForemanHands"));
}

void PlanAJobMode::initializeLevel(const PlanAJobLevel& level)
{
    // The steps that start filled come off the deck first; the rest are offered in the order drawn.
    EnumTypeDeck<int> deck(kPlanAJobSteps);
    std::vector<bool> filled(kPlanAJobSteps, false);
    for (int i = 0; i < kPlanAJobSteps - level.emptyCount; ++i)
        filled[static_cast<size_t>(deck.DrawCard())] = true;
    std::vector<int> offered;
    for (int i = 0; i < level.emptyCount; ++i)
        offered.push_back(deck.DrawCard());

    for (int step = 0; step < kPlanAJobSteps; ++step)
    {
        auto* slot =
            addPlayfieldObject<JobSequenceSlot>(TargetPlace(step), "MaterialTargets", level.targetsImageList, step);
        if (slot == nullptr)
            continue;
        mSlots.push_back(slot->GetID());
        if (filled[static_cast<size_t>(step)])
            slot->setAsFilled();
        if (Strata::SceneNode* image = slot->getImageNode())
            ConnectDragTarget<JobSequenceItem>(*slot, *image);
        slot->refusedSignal.connect([this](JobSequenceItem* item) { itemRefused(item); });
        slot->arrivedSignal.connect(
            [this](PlayfieldObject*)
            {
                GetAudioManager()->playInGameFeedbackVocal(true);
                checkEndLevel();
            });
    }
    for (size_t j = 0; j < offered.size(); ++j)
    {
        auto* item = addPlayfieldObject<JobSequenceItem>(SourcePlace(level.emptyCount, static_cast<int>(j)),
                                                         "MaterialSources", level.objectsImageList, offered[j]);
        if (item == nullptr)
            continue;
        mItems.push_back(item->GetID());
        if (Strata::SceneNode* image = item->getImageNode())
            ConnectDragTarget<JobSequenceItem>(*item, *image);
        item->pressedSignal.connect([this, item] { itemPressed(item); });
        item->arrivedSignal.connect([this](PlayfieldObject*) { resetHintTimer(1); });
    }
    if (auto* building = PlayfieldNode<Strata::AnimatedSpriteNode>("BuildingAnimationNode"))
    {
        building->SetSpriteType(Strata::Label::FromString(level.spriteType));
        building->SetAnimation(Strata::Label(Names::kWaitAnimation), false);
    }
}

void PlanAJobMode::playIntroAnimation()
{
    Strata::SceneNode* blueprint = PlayfieldNode("Blueprint");
    // Without a level nothing opens the playfield: the notice has told what is wrong.
    if (blueprint == nullptr || mSlots.empty())
        return;
    blueprint->AddTask(std::make_unique<Strata::NodeLocationTask>(GameConstant<Point>(Names::kBlueprintIn.name),
                                                                  GameConstant<float>(Names::kBlueprintMoveTime.name)));
    blueprint->AddTask(std::make_unique<Strata::TimedTask>(kBlueprintPause));
    QueueCall(*blueprint,
              [this]
              {
                  showInstructions();
                  maskMouseInput(mOutroStarted);
              });
}

std::vector<JobSequenceSlot*> PlanAJobMode::getSlots() const
{
    return LiveObjects<JobSequenceSlot>(*this, mSlots);
}

std::vector<JobSequenceItem*> PlanAJobMode::getItems() const
{
    return LiveObjects<JobSequenceItem>(*this, mItems);
}

void PlanAJobMode::itemPressed(JobSequenceItem* item)
{
    if (mOutroStarted)
        return;
    resetHintTimer(2);
    item->pickUp();
}

void PlanAJobMode::itemRefused(JobSequenceItem* item)
{
    item->startErrorShake();
    resetHintTimer(2);
    Say(Names::kIncorrect);
}

void PlanAJobMode::cancelItemDragging()
{
    if (DragSource<JobSequenceItem*>* held = DragSource<JobSequenceItem*>::GetHeldDragSource_Mutable())
        held->Release();
}

void PlanAJobMode::checkEndLevel()
{
    // A level never built has no places, and a game never played earns no sticker.
    const std::vector<JobSequenceSlot*> slots = getSlots();
    if (slots.empty() ||
        std::any_of(slots.begin(), slots.end(), [](const JobSequenceSlot* slot) { return !slot->isFilled(); }))
        return;
    playOutroAnimation();
}

void PlanAJobMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    mOutroStarted = true;
    maskMouseInput(true);
    // After the praise of the last step, not over it.
    GetAudioManager()->queueSpecificSoundVocal(Strata::Label(Names::kGameComplete.name));
    Strata::SceneNode* blueprint = PlayfieldNode("Blueprint");
    Strata::SceneNode* building = PlayfieldNode("BuildingAnimationNode");
    if (blueprint != nullptr)
    {
        blueprint->AddTask(std::make_unique<Strata::NodeLocationTask>(
            GameConstant<Point>(Names::kBlueprintOut.name), GameConstant<float>(Names::kBlueprintMoveTime.name)));
        blueprint->AddTask(std::make_unique<Strata::TimedTask>(kBlueprintPause));
    }
    Meet({blueprint, building});
    Strata::Object* chain = building != nullptr ? static_cast<Strata::Object*>(building) : GetObject(mSequenceObject);
    if (chain == nullptr)
        return;
    chain->AddTask(PlayEffectTask(Names::kConstruction.name));
    if (building != nullptr)
        building->AddTask(std::make_unique<Strata::NodeAnimationTask>(Strata::Label(Names::kBuildAnimation),
                                                                      Strata::NodeAnimationTaskCompletion_WhenDone));
    queueEndOfRound(*chain);
}

} // namespace Yardcrew

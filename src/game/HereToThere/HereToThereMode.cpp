#include "game/HereToThere/HereToThereMode.h"

#include "core/Random.h"
#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/HereToThere/HereToThereCart.h"
#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereGame.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = HereToThereContent;

Strata::SceneNode* Place(const std::string& name)
{
    return PlayfieldNode("YSorted", name);
}

std::string PlotName(int plot)
{
    return "Target_" + std::to_string(plot + 1);
}

HereToThereObject* HeldAnimal()
{
    const DragSource<HereToThereObject*>* held = DragSource<HereToThereObject*>::GetHeldDragSource();
    return held != nullptr ? held->GetDragItem() : nullptr;
}

} // namespace

HereToThereMode::HereToThereMode() : MiniGameModeOf(HereToThereDescription())
{
}

void HereToThereMode::Setup()
{
    MiniGameMode::Setup();
    maskMouseInput(false);
}

HereToThereCart* HereToThereMode::getCart() const
{
    return dynamic_cast<HereToThereCart*>(GetObject(mCart));
}

std::vector<HereToThereObject*> HereToThereMode::getAnimals() const
{
    return LiveObjects<HereToThereObject>(*this, mAnimals);
}

std::vector<HereToThereTarget*> HereToThereMode::getHouses() const
{
    return LiveObjects<HereToThereTarget>(*this, mHouses);
}

void HereToThereMode::initializeLevel(const HereToThereLevel& level)
{
    mMatchColor = level.matchColor;
    initializeTargetBuildings(level);
    initializeObjects(level);
}

void HereToThereMode::addHouse(const HereToThereMark& mark, int plot)
{
    const std::string name = PlotName(plot);
    auto* house = addPlayfieldObject<HereToThereTarget>(Place(name), name, mark, plot / 4);
    if (house == nullptr)
        return;
    mHouses.push_back(house->GetID());
    house->pressedSignal.connect([this, house] { housePressed(house); });
    house->dropSignal.connect(
        [this, house](HereToThereObject*)
        {
            if (HereToThereCart* cart = getCart())
                cart->unloadCurrentObject(house->getCageAttach());
        });
}

void HereToThereMode::initializeTargetBuildings(const HereToThereLevel& level)
{
    EnumTypeDeck<int> plots(kHereToThereMaxBuildings);
    for (const HereToThereMark& animal : level.animals)
        addHouse(animal, plots.DrawCard());
    // Drawn from the marks left free, each taken once: a sound level never runs out of them.
    std::vector<HereToThereMark> free = level.FreeDecoyMarks();
    for (size_t decoy = 0; decoy < level.DecoyCount() && !free.empty(); ++decoy)
    {
        const int last = static_cast<int>(free.size()) - 1;
        const auto pick = free.begin() + std::clamp(Strata::Random::GetIntRange(last), 0, last);
        const HereToThereMark mark = *pick;
        free.erase(pick);
        addHouse(mark, plots.DrawCard());
    }
    const Strata::AutoResource<Strata::SceneLayout> dummy(Names::kDummyHouseLayout.name);
    while (plots.getRemaining() > 0)
    {
        Strata::SceneNode* plot = Place(PlotName(plots.DrawCard()));
        if (dummy.Get() != nullptr && plot != nullptr)
            dummy->InstantiateLayout(this, plot);
    }
}

void HereToThereMode::initializeObjects(const HereToThereLevel& level)
{
    for (size_t spot = 0; spot < level.animals.size(); ++spot)
    {
        const std::string name = "Source_" + std::to_string(spot + 1);
        auto* animal = addPlayfieldObject<HereToThereObject>(Place(name), name, level.animals[spot]);
        if (animal == nullptr)
            continue;
        mAnimals.push_back(animal->GetID());
        animal->pressedSignal.connect([this, animal] { animalPressed(animal); });
    }
    if (auto* cart = addPlayfieldObject<HereToThereCart>(PlayfieldNode("YSorted"), "YSorted"))
    {
        mCart = cart->GetID();
        cart->GetNode()->LocalSetLocation(GameConstant<Strata::Vector2<float>>(Names::kIdle.name));
        cart->arrivedSignal.connect([this](PlayfieldObject* at) { cartArrived(at); });
    }
}

void HereToThereMode::animalPressed(HereToThereObject* animal)
{
    HereToThereCart* cart = getCart();
    if (cart == nullptr || cart->hasLoadedObject())
        return;
    maskMouseInput(true);
    cart->startLoadingSequence(animal);
    animal->Drag();
}

void HereToThereMode::housePressed(HereToThereTarget* house)
{
    HereToThereCart* cart = getCart();
    if (cart == nullptr || HeldAnimal() == nullptr)
        return;
    maskMouseInput(true);
    cart->startDeliverySequence(house);
    GetAudioManager()->playSFX(Strata::Label(Names::kSelect.name));
}

void HereToThereMode::cartArrived(PlayfieldObject* at)
{
    if (dynamic_cast<HereToThereObject*>(at) != nullptr)
    {
        // Aboard: now for its house.
        resetHintTimer(2);
        maskMouseInput(false);
    }
    else if (auto* house = dynamic_cast<HereToThereTarget*>(at))
    {
        performDeliveryCheck(house);
    }
    else
    {
        // Home, and the delivered animal gone.
        maskMouseInput(false);
        checkLevelEnd();
    }
}

void HereToThereMode::performDeliveryCheck(HereToThereTarget* house)
{
    HereToThereCart* cart = getCart();
    auto* held = DragSource<HereToThereObject*>::GetHeldDragSource_Mutable();
    HereToThereObject* animal = HeldAnimal();
    if (cart == nullptr || held == nullptr || animal == nullptr)
    {
        maskMouseInput(false);
        return;
    }
    if (!HereToThereLevel::Matches(animal->getMark(), house->getMark()))
    {
        // The truck waits here with the animal still aboard and held.
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongHouse.name));
        maskMouseInput(false);
        return;
    }
    // A house under the pointer takes the animal in its drop; otherwise it is handed over here.
    held->Release();
    cart->unloadCurrentObject(house->getCageAttach());
    resetHintTimer(1);
    cart->returnToLoadingArea(house);
    GetAudioManager()->playInGameFeedbackVocal(true);
}

void HereToThereMode::checkLevelEnd()
{
    if (getAnimals().empty())
        playOutroAnimation();
}

void HereToThereMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    mOutroStarted = true;
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name));
    sequence->AddTask(std::make_unique<Strata::TimedTask>(3.0f));
    queueEndOfRound(*sequence);
}

} // namespace Yardcrew

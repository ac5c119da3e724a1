#include "game/CountTheMaterials/CountTheMaterialsMode.h"

#include "core/Random.h"
#include "framework/Object.h"
#include "game/AudioManager.h"
#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/CountTheMaterials/CountTheMaterialsGame.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialLoader.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = CountTheMaterialsContent;

Strata::SceneNode* PilePlace(const std::string& name)
{
    return PlayfieldNode("YSortedLayer", name);
}

MaterialData PileData(const DraggableMaterial& pile)
{
    return {pile.getMaterial(), pile.getNumber()};
}

} // namespace

CountTheMaterialsMode::CountTheMaterialsMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(CountTheMaterialsDescription(), firstRound, roundsLeft)
{
}

void CountTheMaterialsMode::Setup()
{
    MiniGameMode::Setup();
    if (Strata::SceneNode* mask = getInputMask())
        mask->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y)
                                      { forwardMaskedPress(x, y); });
}

void CountTheMaterialsMode::initializeLevel(const CountTheMaterialsLevel& level)
{
    mRound = level;

    std::vector<MaterialData> piles = mRound.piles;
    for (size_t i = piles.size(); i > 1; --i)
        std::swap(piles[i - 1], piles[static_cast<size_t>(Strata::Random::GetIntRange(static_cast<int>(i) - 1))]);
    piles.resize(std::min(piles.size(), kCountTheMaterialsMaxPiles));
    for (size_t place = 0; place < piles.size(); ++place)
    {
        const std::string name = "MaterialSources_" + std::to_string(place);
        auto* pile =
            addPlayfieldObject<DraggableMaterial>(PilePlace(name), name, piles[place].material, piles[place].number);
        mPiles.push_back(pile != nullptr ? pile->GetID() : Strata::ObjectID());
        if (pile != nullptr)
            pile->pressedSignal.connect([this, pile] { MaterialClicked(pile); });
    }

    Strata::SceneNode* layer = PlayfieldNode("YSortedLayer");
    if (auto* tipper =
            addPlayfieldObject<MaterialTarget>(layer, "YSortedLayer", mRound.requestMaterial, mRound.requestNumber))
    {
        mTipper = tipper->GetID();
        tipper->pressedSignal.connect([this] { playAudioRequest(); });
    }
    if (auto* digger = addPlayfieldObject<MaterialLoader>(layer, "YSortedLayer"))
    {
        mDigger = digger->GetID();
        digger->pressedSignal.connect([] { GetAudioManager()->playSFX(Strata::Label(Names::kDiggerAsks.name)); });
        // At a pile it will not take, the game says why.
        digger->arrivedSignal.connect([this](PlayfieldObject* at)
                                      { playIncorrectMaterialVO(dynamic_cast<DraggableMaterial*>(at)); });
    }

    playIntroAnimation();
}

DraggableMaterial* CountTheMaterialsMode::getPile(size_t place) const
{
    return place < mPiles.size() ? dynamic_cast<DraggableMaterial*>(GetObject(mPiles[place])) : nullptr;
}

MaterialTarget* CountTheMaterialsMode::getTipper() const
{
    return dynamic_cast<MaterialTarget*>(GetObject(mTipper));
}

MaterialLoader* CountTheMaterialsMode::getDigger() const
{
    return dynamic_cast<MaterialLoader*>(GetObject(mDigger));
}

void CountTheMaterialsMode::queueSpokenRequest() const
{
    const BuildingMaterial material = mRound.requestMaterial;
    if (material < 0 || material >= BuildingMaterial_Count)
        return;
    GetAudioManager()->playRequestVocal(Strata::Label(kBuildingMaterialNames[material]), mRound.requestNumber);
}

void CountTheMaterialsMode::playIntroAnimation()
{
    MaterialTarget* tipper = getTipper();
    if (tipper != nullptr)
        tipper->driveOntoScreen();
    if (MaterialLoader* digger = getDigger())
        digger->enterScreen();
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    Meet({sequence, tipper});
    QueueCall(*sequence, [this] { queueSpokenRequest(); });
    if (Strata::SceneNode* mask = getInputMask())
    {
        Meet({mask, sequence});
        mask->AddTask(std::make_unique<Strata::NodeVisibleTask>(false));
    }
}

void CountTheMaterialsMode::playAudioRequest()
{
    if (getLevel().IsNull())
        return;
    GetAudioManager()->clearVocalAudioQueues();
    queueSpokenRequest();
}

void CountTheMaterialsMode::MaterialClicked(DraggableMaterial* pile)
{
    resetHintTimer(1);
    if (mOutroStarted || pile == nullptr)
        return;
    MaterialTarget* tipper = getTipper();
    if (tipper == nullptr)
        return;
    if (mRound.IsRequested(PileData(*pile)))
    {
        playOutroAnimation(pile);
        mOutroStarted = true;
        // The round ends once the tipper has driven off with its load.
        queueEndOfRound(*tipper);
    }
    else
    {
        playWrongClickAnimation(pile);
    }
}

void CountTheMaterialsMode::playOutroAnimation(DraggableMaterial* pile)
{
    // Shown at once, so a second press in this frame cannot start another trip; it stays up until the
    // next round replaces the game.
    maskMouseInput(true);
    MaterialTarget* tipper = getTipper();
    MaterialLoader* digger = getDigger();
    Strata::Vector2<float> centre;
    if (Strata::SceneNode* node = pile->GetNode())
        centre = node->LocalToGlobalPoint(node->LocalGetLocationCenter());

    GetAudioManager()->playSFX(Strata::Label(Names::kDiggerPraise.name));
    if (tipper != nullptr)
        tipper->hideMaterialRequest(true);
    if (digger != nullptr)
    {
        digger->driveToMaterial(pile);
        digger->driveOffScreen(centre);
        digger->startLoadSequence();
    }
    if (tipper != nullptr)
    {
        Meet({tipper, digger});
        tipper->driveOffScreen();
    }
    if (digger != nullptr)
        digger->endLoadSequence();
}

void CountTheMaterialsMode::playWrongClickAnimation(DraggableMaterial* pile)
{
    Strata::SceneNode* mask = getInputMask();
    MaterialLoader* digger = getDigger();
    if (digger == nullptr || mask == nullptr)
    {
        // Nothing to drive there: the reason is all there is to play.
        playIncorrectMaterialVO(pile);
        return;
    }
    maskMouseInput(true);
    digger->driveToIncorrectMaterial(pile);
    Meet({mask, digger});
    mask->AddTask(std::make_unique<Strata::NodeVisibleTask>(false));
}

void CountTheMaterialsMode::forwardMaskedPress(int x, int y)
{
    // The mask closes the piles, not the vehicles: the tipper repeats its request and the digger
    // answers at any time, also while they drive under it.
    const Strata::Vector2<float> point(static_cast<float>(x), static_cast<float>(y));
    if (MaterialTarget* tipper = getTipper())
    {
        Strata::SceneNode* box = tipper->getRequestBox();
        Strata::SceneNode* image = tipper->getImageNode();
        if ((box != nullptr && box->GlobalIsVisible() && box->GlobalPointIntersects(point)) ||
            (image != nullptr && image->GlobalPointIntersects(point)))
        {
            tipper->pressedSignal();
            return;
        }
    }
    if (MaterialLoader* digger = getDigger())
    {
        if (Strata::SceneNode* truck = digger->getTruckImage(); truck != nullptr && truck->GlobalPointIntersects(point))
            digger->pressedSignal();
    }
}

void CountTheMaterialsMode::playIncorrectMaterialVO(DraggableMaterial* pile)
{
    if (getTipper() == nullptr || pile == nullptr)
        return;
    const char* voice = nullptr;
    switch (mRound.Judge(PileData(*pile)))
    {
    case MaterialJudgement_WrongKind:
        voice = Names::kWrongKind.name;
        break;
    case MaterialJudgement_TooFew:
        voice = Names::kTooFew.name;
        break;
    case MaterialJudgement_TooMany:
        voice = Names::kTooMany.name;
        break;
    case MaterialJudgement_Requested:
        return;
    }
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice));
}

} // namespace Yardcrew

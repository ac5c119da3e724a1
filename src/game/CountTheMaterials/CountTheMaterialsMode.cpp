#include "game/CountTheMaterials/CountTheMaterialsMode.h"

#include "core/Log.h"
#include "core/Random.h"
#include "framework/MainLoop.h"
#include "framework/Object.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialLoader.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

constexpr const char* kModeName = "CountTheMaterialsMode";
const Strata::Label kGameLabel("CountTheMaterials");
const Strata::Label kTipperName("CountTheMaterials_MaterialTarget");
const Strata::Label kDiggerName("CountTheMaterials_MaterialLoader");

// How each material is spoken: its colour word (none for the plant) and its material word.
const YardcrewColor kMaterialColors[BuildingMaterial_Count] = {
    YardcrewColor_None, YardcrewColor_Red,    YardcrewColor_Brown, YardcrewColor_Yellow, YardcrewColor_Orange,
    YardcrewColor_Red,  YardcrewColor_Yellow, YardcrewColor_Blue,  YardcrewColor_Gray,   YardcrewColor_Red,
    YardcrewColor_Red,  YardcrewColor_Gray,   YardcrewColor_Blue};
const YardcrewMaterial kMaterialWords[BuildingMaterial_Count] = {
    YardcrewMaterial_Plant,  YardcrewMaterial_Log,    YardcrewMaterial_Log,    YardcrewMaterial_Log,
    YardcrewMaterial_Cone,   YardcrewMaterial_Cone,   YardcrewMaterial_Cone,   YardcrewMaterial_Cement,
    YardcrewMaterial_Cement, YardcrewMaterial_Cement, YardcrewMaterial_Bricks, YardcrewMaterial_Bricks,
    YardcrewMaterial_Bricks};

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSortedLayer",
                                                 Strata::NodePathTerminator()};

Strata::SceneNode* ClickMask()
{
    return Strata::RootDescendent(kClickMaskPath);
}

Strata::SceneNode* PilePlace(size_t place)
{
    const std::string name = "MaterialSources_" + std::to_string(place);
    const Strata::NodePathStep path[] = {"GameScreenRoot", "Playfield", "YSortedLayer", name.c_str(),
                                         Strata::NodePathTerminator()};
    return Strata::RootDescendent(path);
}

} // namespace

CountTheMaterialsMode::CountTheMaterialsMode(bool firstRound, int roundsLeft)
    : mFirstRound(firstRound), mRoundsLeft(MiniGameRoundsLeft(roundsLeft))
{
}

CountTheMaterialsMode::~CountTheMaterialsMode()
{
    mSortConnection.disconnect();
}

void CountTheMaterialsMode::Setup()
{
    YardcrewGameMode::Setup();
    const Strata::AutoResource<Strata::SceneLayout> layout("CountTheMaterialModeLayout");
    if (layout.Get() != nullptr)
        layout->InstantiateLayout(this, GetRootNode());
    else
        Strata::Log("The layout \"CountTheMaterialModeLayout\" is missing\n");

    if (Strata::SceneNode* playfield = Strata::RootDescendent(kPlayfieldPath))
    {
        if (Strata::SceneNode* layer = playfield->GetChildByNodeName(Strata::Label("YSortedLayer")))
            mSortConnection = layer->drawSignal.connect([](Strata::SceneNode* node) { SortPlayfieldEntities(node); });
    }
    if (Strata::SceneNode* mask = ClickMask())
    {
        setupMouseInputEatingNode(mask);
        mask->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y)
                                      { forwardMaskedPress(x, y); });
    }
    GetAudioManager()->setMusicMode(MusicMode_InGame, kGameLabel);
    initializeLevel(GetLevelManager().getLevelForGameModeType(GameModeType_CountTheMaterials));
}

void CountTheMaterialsMode::Update(float dt)
{
    YardcrewGameMode::Update(dt);
    const Strata::Vector2<int> pointer = Strata::MainLoop::GetLastMousePos();
    OnMouseMove(pointer.x, pointer.y);
}

void CountTheMaterialsMode::refreshMode()
{
    auto next = std::make_unique<CountTheMaterialsMode>(false, mRoundsLeft);
    const ModeQueue& queue = GetLevelManager().getModeQueue();
    if (queue.unwindTo)
        queue.unwindTo(std::move(next));
    else
        Strata::MainLoop::UnwindToMode(next.release()); // the main loop owns its modes
}

void CountTheMaterialsMode::setupCursor()
{
    SetGameCursor("cursor_hand", "HandCursorRegPt");
}

void CountTheMaterialsMode::initializeLevel(Strata::Label level)
{
    mLevel = level;
    const Strata::AutoResource<CountTheMaterialsLevel> data(level);
    // A level that failed its checks is never filed, but one named by hand must not be played either.
    if (!level || data.Get() == nullptr || !data->Validate().empty())
    {
        ShowMissingLevelNotice(kModeName);
        return;
    }
    setupInstructionMode(kGameLabel, IntroForemanState_Default, mFirstRound);

    std::vector<MaterialData> piles = data->piles;
    for (size_t i = piles.size(); i > 1; --i)
        std::swap(piles[i - 1], piles[static_cast<size_t>(Strata::Random::GetIntRange(static_cast<int>(i) - 1))]);
    piles.resize(std::min(piles.size(), kCountTheMaterialsMaxPiles));
    for (size_t place = 0; place < piles.size(); ++place)
    {
        Strata::SceneNode* parent = PilePlace(place);
        auto* pile = new DraggableMaterial(piles[place].material, piles[place].number);
        if (parent == nullptr || !pile->AddToScene(this, parent))
        {
            Strata::Internal::LogWrite("The pile place \"MaterialSources_%zu\" is missing\n", place);
            delete pile;
            mPiles.emplace_back();
            continue;
        }
        mPiles.push_back(pile->GetID());
    }

    Strata::SceneNode* layer = Strata::RootDescendent(kSortedLayerPath);
    auto* tipper = new MaterialTarget(data->requestMaterial, data->requestNumber);
    if (tipper->AddToScene(this, layer))
        mTipper = tipper->GetID();
    else
        delete tipper;
    auto* digger = new MaterialLoader();
    if (!digger->AddToScene(this, layer))
        delete digger;

    playIntroAnimation({data->requestMaterial, data->requestNumber});
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
    return dynamic_cast<MaterialLoader*>(GetNamedObject(kDiggerName));
}

void CountTheMaterialsMode::queueSpokenRequest(const MaterialData& request) const
{
    AudioManager* audio = GetAudioManager();
    audio->playNumberVocal(request.number);
    if (request.material < 0 || request.material >= BuildingMaterial_Count)
        return;
    if (kMaterialColors[request.material] != YardcrewColor_None)
        audio->playColorVocal(kMaterialColors[request.material]);
    audio->playMaterialVocal(kMaterialWords[request.material], request.number == 1);
}

void CountTheMaterialsMode::playIntroAnimation(MaterialData request)
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
    QueueCall(*sequence, [this, request] { queueSpokenRequest(request); });
    if (Strata::SceneNode* mask = ClickMask())
    {
        Meet({mask, sequence});
        mask->AddTask(new Strata::NodeVisibleTask(false));
    }
}

void CountTheMaterialsMode::playAudioRequest()
{
    const Strata::AutoResource<CountTheMaterialsLevel> data(mLevel);
    if (data.Get() == nullptr)
        return;
    GetAudioManager()->clearVocalAudioQueues();
    queueSpokenRequest({data->requestMaterial, data->requestNumber});
}

void CountTheMaterialsMode::MaterialClicked(DraggableMaterial* pile)
{
    resetHintTimer(1);
    if (mOutroStarted || pile == nullptr)
        return;
    auto* tipper = dynamic_cast<MaterialTarget*>(GetNamedObject(kTipperName));
    if (tipper == nullptr)
        return;
    if (pile->getMaterial() == tipper->getRequestedMaterial() && pile->getNumber() == tipper->getRequestedNumber())
    {
        playOutroAnimation(pile);
        mOutroStarted = true;
        // The round ends once the tipper has driven off with its load.
        QueueEndOfRound(*tipper, *this, mRoundsLeft);
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
    if (Strata::SceneNode* mask = ClickMask())
        mask->LocalSetVisible(true);
    MaterialTarget* tipper = getTipper();
    MaterialLoader* digger = getDigger();
    Strata::Vector2<float> centre;
    if (Strata::SceneNode* node = pile->GetNode())
        centre = node->LocalToGlobalPoint(node->LocalGetLocationCenter());

    GetAudioManager()->playSFX(Strata::Label("CTM_DiggerNoProb"));
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
    Strata::SceneNode* mask = ClickMask();
    MaterialLoader* digger = getDigger();
    if (digger == nullptr || mask == nullptr)
    {
        // Nothing to drive there: the reason is all there is to play.
        playIncorrectMaterialVO(pile);
        return;
    }
    mask->LocalSetVisible(true);
    digger->driveToIncorrectMaterial(pile);
    Meet({mask, digger});
    mask->AddTask(new Strata::NodeVisibleTask(false));
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
            playAudioRequest();
            return;
        }
    }
    if (MaterialLoader* digger = getDigger())
    {
        if (Strata::SceneNode* truck = digger->getTruckImage(); truck != nullptr && truck->GlobalPointIntersects(point))
            GetAudioManager()->playSFX(Strata::Label("VO_Digger_AreWeReady"));
    }
}

void CountTheMaterialsMode::playIncorrectMaterialVO(DraggableMaterial* pile)
{
    auto* tipper = dynamic_cast<MaterialTarget*>(GetNamedObject(kTipperName));
    if (tipper == nullptr || pile == nullptr)
        return;
    const char* voice = pile->getMaterial() != tipper->getRequestedMaterial() ? "CTM_IncorrectAnswer"
                        : pile->getNumber() < tipper->getRequestedNumber()    ? "CTM_NotEnough"
                                                                              : "CTM_TooMuch";
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice));
}

} // namespace Yardcrew

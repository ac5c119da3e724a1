#include "game/CountTheMaterials/CountTheMaterialsMode.h"

#include "core/Log.h"
#include "core/Random.h"
#include "framework/MainLoop.h"
#include "framework/Object.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>
#include <string>

namespace
{

constexpr const char* kModeName = "CountTheMaterialsMode";
const Strata::Label kGameLabel("CountTheMaterials");

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

// Between the winning click and the end of the round, while the load is fetched.
constexpr float kOutroSeconds = 1.5f;

Strata::SceneNode* Playfield()
{
    const Strata::NodePathStep path[] = {"GameScreenRoot", "Playfield", Strata::NodePathTerminator()};
    return Strata::RootDescendent(path);
}

Strata::SceneNode* ClickMask()
{
    const Strata::NodePathStep path[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                         Strata::NodePathTerminator()};
    return Strata::RootDescendent(path);
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

    if (Strata::SceneNode* playfield = Playfield())
    {
        if (Strata::SceneNode* layer = playfield->GetChildByNodeName(Strata::Label("YSortedLayer")))
            mSortConnection = layer->drawSignal.connect([](Strata::SceneNode* node) { SortPlayfieldEntities(node); });
    }
    setupMouseInputEatingNode(ClickMask());
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
    // A level that failed its checks is never drawn, but a damaged one named by hand must not be
    // played either.
    if (!level || data.Get() == nullptr || !data->Validate().empty())
    {
        ShowMissingLevelNotice(kModeName);
        return;
    }
    setupInstructionMode(kGameLabel, IntroForemanState_Default, mFirstRound);

    mRequest = {data->requestMaterial, data->requestNumber};
    mPiles = data->piles;
    for (size_t i = mPiles.size(); i > 1; --i)
        std::swap(mPiles[i - 1], mPiles[static_cast<size_t>(Strata::Random::GetIntRange(static_cast<int>(i) - 1))]);

    for (size_t place = 0; place < mPiles.size(); ++place)
    {
        Strata::SceneNode* parent = PilePlace(place);
        if (parent == nullptr)
        {
            mPileNodes.push_back(nullptr);
            continue;
        }
        // The whole place answers clicks, also where the picture is thin or see-through.
        auto* pile = new Strata::SceneNode();
        pile->SetNodeName(Strata::Label("MaterialSource"));
        pile->SetWidth(parent->GetWidth());
        pile->SetHeight(parent->GetHeight());
        pile->hitTest = true;
        pile->mouseDownSignal.connect([this, place](Strata::SceneNode*, Strata::MouseButton, int, int)
                                      { MaterialClicked(place); });
        // Frame n - 1 of the variant's count list shows n items.
        auto* picture = new Strata::StaticSpriteNode();
        picture->SetNodeName(Strata::Label("imageNode"));
        picture->setImage(Strata::Label(kBuildingMaterialSpriteTypes[mPiles[place].material]),
                          mPiles[place].number - 1);
        pile->AttachChild(picture);
        parent->AttachChild(pile);
        pile->AddToDatabase(this);
        mPileNodes.push_back(pile);
    }
    playIntroAnimation();
}

Strata::SceneNode* CountTheMaterialsMode::getPileNode(size_t place) const
{
    return place < mPileNodes.size() ? mPileNodes[place] : nullptr;
}

void CountTheMaterialsMode::queueSpokenRequest()
{
    AudioManager* audio = GetAudioManager();
    audio->playNumberVocal(mRequest.number);
    if (mRequest.material >= 0 && mRequest.material < BuildingMaterial_Count)
    {
        if (kMaterialColors[mRequest.material] != YardcrewColor_None)
            audio->playColorVocal(kMaterialColors[mRequest.material]);
        audio->playMaterialVocal(kMaterialWords[mRequest.material], mRequest.number == 1);
    }
}

void CountTheMaterialsMode::playIntroAnimation()
{
    Strata::Object* sequenceObject = GetObject(mSequenceObject);
    if (sequenceObject == nullptr)
        return;
    MiniGameSequence sequence;
    sequence.Call(*sequenceObject, [this] { queueSpokenRequest(); });
    if (Strata::SceneNode* mask = ClickMask())
        MaskInput(sequence.Sync(), *mask, false);
}

void CountTheMaterialsMode::playAudioRequest()
{
    GetAudioManager()->clearVocalAudioQueues();
    queueSpokenRequest();
}

void CountTheMaterialsMode::MaterialClicked(size_t place)
{
    resetHintTimer(1);
    if (mLevelOver || place >= mPiles.size())
        return;
    if (mRequest == mPiles[place])
    {
        mLevelOver = true;
        playOutroAnimation(place);
    }
    else
    {
        playWrongClickAnimation(place);
    }
}

void CountTheMaterialsMode::playOutroAnimation(size_t)
{
    Strata::Object* sequenceObject = GetObject(mSequenceObject);
    if (Strata::SceneNode* mask = ClickMask())
        mask->LocalSetVisible(true);
    GetAudioManager()->playSFX(Strata::Label("CTM_DiggerNoProb"));
    // Praise while the load is fetched.
    GetAudioManager()->playInGameFeedbackVocal(true);
    if (sequenceObject == nullptr)
    {
        endLevel();
        return;
    }
    sequenceObject->AddTask(new Strata::TimedTask(kOutroSeconds));
    QueueEndOfRound(*sequenceObject, *this, mRoundsLeft);
}

void CountTheMaterialsMode::playWrongClickAnimation(size_t place)
{
    Strata::SceneNode* mask = ClickMask();
    Strata::Object* sequenceObject = GetObject(mSequenceObject);
    if (mask == nullptr || sequenceObject == nullptr)
    {
        playIncorrectMaterialVO(mPiles[place]);
        return;
    }
    // The playfield stays closed while the child hears why the pile is wrong.
    const MaterialData pile = mPiles[place];
    MiniGameSequence sequence;
    MaskInput(sequence, *mask, true);
    sequence.Call(*sequenceObject, [this, pile] { playIncorrectMaterialVO(pile); })
        .Then(*sequenceObject, new Strata::TimedTask(1.0f))
        .Sync();
    MaskInput(sequence, *mask, false);
}

void CountTheMaterialsMode::playIncorrectMaterialVO(const MaterialData& pile)
{
    const char* voice = pile.material != mRequest.material ? "CTM_IncorrectAnswer"
                        : pile.number < mRequest.number    ? "CTM_NotEnough"
                                                           : "CTM_TooMuch";
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice));
}

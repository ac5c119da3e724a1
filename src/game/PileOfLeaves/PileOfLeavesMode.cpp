#include "game/PileOfLeaves/PileOfLeavesMode.h"

#include "core/Log.h"
#include "core/Random.h"
#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PileOfLeaves/Leaf.h"
#include "game/PileOfLeaves/LeafCoveredTool.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "game/PileOfLeaves/PileOfLeavesGame.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "scene/NodeEffects.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = PileOfLeavesContent;

constexpr const char* kDog = "DogAnimationNode";
const Strata::NodePathStep kRequestPath[] = {"GameScreenRoot", "UI_attach", "ToolToPick", Strata::NodePathTerminator()};
const Strata::NodePathStep kHighlightBoxPath[] = {"GameScreenRoot", "UI_attach", "HighlightBox",
                                                  Strata::NodePathTerminator()};

// The field the tools and the area leaves are scattered over, both ends included.
constexpr int kFieldLeft = 10;
constexpr int kFieldRight = 790;
constexpr int kFieldTop = 250;
constexpr int kFieldBottom = 590;
constexpr int kFieldArea = (kFieldRight - kFieldLeft) * (kFieldBottom - kFieldTop);
// Random places tried before a tool is left out or an area leaf lies closer than its spacing: a level
// that crowds the field still ends its set-up.
constexpr int kPlaceTries = 400;
// How far around its tool a covering leaf may lie, each way.
constexpr int kToolCoverSpread = 80;
constexpr int kDecorationLeaves = 6;

// The tool kinds and colours the game tells apart.
constexpr int kToolColors = Names::kToolColorCount;

void ShowNode(Strata::NodePath path, bool show)
{
    if (Strata::SceneNode* node = Strata::RootDescendent(path))
        node->LocalSetVisible(show);
}

} // namespace

PileOfLeavesMode::PileOfLeavesMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(PileOfLeavesDescription(), firstRound, roundsLeft), mRequestsLeft(MiniGameRoundsLeft(roundsLeft))
{
}

std::vector<LeafCoveredTool*> PileOfLeavesMode::getTools() const
{
    return LiveObjects<LeafCoveredTool>(*this, mTools);
}

std::vector<Leaf*> PileOfLeavesMode::getLeaves() const
{
    return LiveObjects<Leaf>(*this, mLeaves);
}

void PileOfLeavesMode::initializeLevel(const PileOfLeavesLevel& level)
{
    mCursorRadius = level.cursorRadius;
    generateTools(level.ToolCount());
    hideTools(level.toolCover, level.areaCover);
    maskMouseInput(true);
    if (isFirstRound())
        playIntroAnimation();
}

void PileOfLeavesMode::generateTools(int count)
{
    count = std::clamp(count, 0, kPileOfLeavesMaxTools);
    Strata::SceneNode* layer = PlayfieldNode("ToolLayer");
    std::vector<std::pair<YardcrewColor, YardcrewTool>> made;
    while (static_cast<int>(made.size()) < count)
    {
        // Drawn among what the rules still allow, so the draw never has to be repeated.
        std::vector<std::pair<YardcrewColor, YardcrewTool>> allowed;
        for (int kind = 0; kind < YardcrewTool_Count; ++kind)
            for (int color = 0; color < kToolColors; ++color)
                if (PileOfLeavesLevel::MayAddTool(made, count, static_cast<YardcrewColor>(color),
                                                  static_cast<YardcrewTool>(kind)))
                    allowed.emplace_back(static_cast<YardcrewColor>(color), static_cast<YardcrewTool>(kind));
        if (allowed.empty())
            break;
        const auto [color, kind] = allowed[Strata::Random::GetIntRange(static_cast<int>(allowed.size()) - 1)];
        made.emplace_back(color, kind);
        auto* tool = addPlayfieldObject<LeafCoveredTool>(layer, "ToolLayer", color, kind);
        if (tool == nullptr)
            return;
        if (!placeTool(*tool))
        {
            Strata::Internal::LogWrite("PileOfLeavesMode found no free place for tool %d of %d; it is left out\n",
                                       static_cast<int>(made.size()), count);
            DestroyObject(tool->GetID());
            continue;
        }
        mTools.push_back(tool->GetID());
        tool->pressedSignal.connect([this, tool] { toolPressed(tool); });
        tool->arrivedSignal.connect([this, tool](PlayfieldObject*) { correctToolClicked(tool); });
    }
}

bool PileOfLeavesMode::placeTool(LeafCoveredTool& tool)
{
    Strata::SceneNode* node = tool.LayoutRoot();
    if (node == nullptr)
        return false;
    const std::vector<LeafCoveredTool*> others = getTools();
    for (int attempt = 0; attempt < kPlaceTries; ++attempt)
    {
        node->LocalSetLocation(static_cast<float>(Strata::Random::GetIntRange(kFieldLeft, kFieldRight)),
                               static_cast<float>(Strata::Random::GetIntRange(kFieldTop, kFieldBottom)));
        const Strata::Rect<float> bounds = node->GetCompositeBounds();
        if (bounds.x < 1.0f || bounds.x + bounds.width > 799.0f || bounds.y + bounds.height > 599.0f)
            continue;
        const bool overlaps =
            std::any_of(others.begin(), others.end(),
                        [&](LeafCoveredTool* other)
                        {
                            Strata::SceneNode* root = other->LayoutRoot();
                            if (root == nullptr)
                                return false;
                            const Strata::Rect<float> b = root->GetCompositeBounds();
                            const float w = std::min(bounds.x + bounds.width, b.x + b.width) - std::max(bounds.x, b.x);
                            const float h =
                                std::min(bounds.y + bounds.height, b.y + b.height) - std::max(bounds.y, b.y);
                            return w > 1.0f && h > 1.0f;
                        });
        if (!overlaps)
            return true;
    }
    return false;
}

void PileOfLeavesMode::hideTools(int leavesPerTool, int areaLeaves)
{
    leavesPerTool = std::clamp(leavesPerTool, 0, kPileOfLeavesMaxToolCover);
    areaLeaves = std::clamp(areaLeaves, 0, kPileOfLeavesMaxAreaCover);
    if (areaLeaves > 0)
    {
        const int spacing = static_cast<int>(static_cast<float>(kFieldArea / areaLeaves) * 0.5f);
        for (int made = 0; made < areaLeaves; ++made)
        {
            int x = 0;
            int y = 0;
            for (int attempt = 0; attempt < kPlaceTries; ++attempt)
            {
                x = Strata::Random::GetIntRange(kFieldLeft, kFieldRight);
                y = Strata::Random::GetIntRange(kFieldTop, kFieldBottom);
                const std::vector<Leaf*> leaves = getLeaves();
                if (std::none_of(leaves.begin(), leaves.end(),
                                 [&](Leaf* leaf)
                                 {
                                     const Strata::Vector2<int> rest = leaf->getRestingPoint();
                                     return (x - rest.x) * (x - rest.x) + (y - rest.y) * (y - rest.y) < spacing;
                                 }))
                    break;
            }
            createLeaf(x, y);
        }
    }
    for (LeafCoveredTool* tool : getTools())
    {
        Strata::SceneNode* root = tool->LayoutRoot();
        if (root == nullptr)
            continue;
        const Strata::Vector2<float> at = root->LocalGetLocation();
        for (int leaf = 0; leaf < leavesPerTool; ++leaf)
        {
            const int dx = Strata::Random::GetIntRange(0, 2 * kToolCoverSpread) - kToolCoverSpread;
            const int dy = Strata::Random::GetIntRange(0, 2 * kToolCoverSpread) - kToolCoverSpread;
            createLeaf(static_cast<int>(at.x) + dx, static_cast<int>(at.y) + dy);
        }
    }
}

void PileOfLeavesMode::createLeaf(int x, int y)
{
    if (auto* leaf = addPlayfieldObject<Leaf>(PlayfieldNode("LeafLayer"), "LeafLayer", x, y, mCursorRadius))
        mLeaves.push_back(leaf->GetID());
}

void PileOfLeavesMode::createAnimatedLeaf()
{
    const Strata::AutoResource<Strata::SceneLayout> layout(Names::kAnimatedLeafLayout.name);
    Strata::SceneNode* layer = PlayfieldNode("LeafLayer");
    if (layout.Get() == nullptr || layer == nullptr)
        return;
    Strata::SceneNode* leaf = layout->InstantiateLayout(this, layer);
    if (leaf == nullptr)
        return;
    const float half = GameConstant<float>(Names::kIntroTime.name) * 0.5f;
    const float extra = Strata::Random::GetFloatRange(std::max(half, 0.0f));
    const float y = static_cast<float>(Strata::Random::GetIntRange(200, 600));
    leaf->LocalSetLocation(-100.0f, y);
    leaf->AddTask(
        std::make_unique<Strata::NodeLocationTask>(Strata::Vector2<float>(900.0f, y), std::max(half + extra, 0.0f)));
}

void PileOfLeavesMode::playIntroAnimation()
{
    for (int leaf = 0; leaf < kDecorationLeaves; ++leaf)
        createAnimatedLeaf();
    GetAudioManager()->playSFX(Strata::Label(Names::kBlowLeaves.name));
    for (Leaf* leaf : getLeaves())
        leaf->flyToStablePosition();
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    sequence->AddTask(std::make_unique<Strata::TimedTask>(std::max(GameConstant<float>(Names::kIntroTime.name), 0.0f)));
    QueueCall(*sequence,
              [this]
              {
                  showInstructions();
                  setToolToFind();
                  startLeafMouseTracking();
              });
}

void PileOfLeavesMode::startLeafMouseTracking()
{
    maskMouseInput(false);
    for (Leaf* leaf : getLeaves())
        leaf->setTracking(true);
}

void PileOfLeavesMode::setToolToFind()
{
    mColorToFind = YardcrewColor_None;
    mToolToFind = YardcrewTool_None;
    const std::vector<LeafCoveredTool*> tools = getTools();
    const auto next = std::find_if(tools.begin(), tools.end(), [](LeafCoveredTool* tool) { return !tool->isFound(); });
    if (next == tools.end())
    {
        // A level with fewer tools than requests ends when it runs out.
        playOutroAnimation();
        return;
    }
    ShowNode(kHighlightBoxPath, true);
    mColorToFind = (*next)->getColor();
    mToolToFind = (*next)->getKind();
    if (Strata::Object* sequence = GetObject(mSequenceObject))
    {
        const YardcrewColor color = mColorToFind;
        const YardcrewTool kind = mToolToFind;
        QueueCall(*sequence, [color, kind] { GetAudioManager()->playColoredToolVocal(color, kind); });
    }
    if (auto* request = dynamic_cast<Strata::StaticSpriteNode*>(Strata::RootDescendent(kRequestPath)))
    {
        request->LocalSetVisible(true);
        request->setImage(Strata::Label(Names::kToolImages[mToolToFind].name), mColorToFind);
    }
    maskMouseInput(false);
}

void PileOfLeavesMode::playDogAnimation(const char* animation)
{
    auto* dog = PlayfieldNode<Strata::AnimatedSpriteNode>(kDog);
    if (dog == nullptr || dog->GetCurAnimationName() == Strata::Label(animation))
        return;
    dog->AddTask(StartAnimationTask(animation));
}

Strata::Vector2<float> PileOfLeavesMode::getCorrectClickFlyDest() const
{
    const Strata::SceneNode* request = Strata::RootDescendent(kRequestPath);
    return request != nullptr ? request->LocalGetLocation() : Strata::Vector2<float>();
}

void PileOfLeavesMode::toolPressed(LeafCoveredTool* tool)
{
    GetAudioManager()->playSFX(Strata::Label(Names::kSelect.name));
    resetHintTimer(1);
    if (tool->getKind() == mToolToFind && tool->getColor() == mColorToFind)
    {
        playDogAnimation("Correct");
        GetAudioManager()->playInGameFeedbackVocal(true);
        maskMouseInput(true);
        tool->flyToLocation(Strata::RootDescendent(kUILayerPath), getCorrectClickFlyDest(),
                            GameConstant<float>(Names::kToolSpeed.name));
        return;
    }
    tool->wobble();
    playDogAnimation("Wrong");
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongTool.name));
}

void PileOfLeavesMode::correctToolClicked(LeafCoveredTool* tool)
{
    DestroyObject(tool->GetID());
    // Without a dog or a request box in the layout the steps still run, on the sequence object.
    Strata::Object* sequence = GetObject(mSequenceObject);
    Strata::Object* dog = PlayfieldNode(kDog);
    Strata::Object* request = Strata::RootDescendent(kRequestPath);
    dog = dog != nullptr ? dog : sequence;
    request = request != nullptr ? request : sequence;
    if (dog == nullptr || request == nullptr)
        return;
    dog->AddTask(std::make_unique<Strata::TimedTask>(1.0f));
    if (request != sequence)
        request->AddTask(Strata::getNodeItemPickUpAnimTask());
    if (mRequestsLeft > 0)
    {
        --mRequestsLeft;
        QueueCall(*dog, [this] { setToolToFind(); });
        return;
    }
    request->AddTask(std::make_unique<Strata::TimedTask>(0.5f));
    QueueCall(*request, [this] { playOutroAnimation(); });
}

void PileOfLeavesMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    Strata::Object* dog = PlayfieldNode(kDog);
    dog = dog != nullptr ? dog : GetObject(mSequenceObject);
    if (dog == nullptr)
        return;
    mOutroStarted = true;
    ShowNode(kHighlightBoxPath, false);
    ShowNode(kRequestPath, false);
    dog->AddTask(std::make_unique<Strata::TimedTask>(0.5f));
    QueueCall(*dog, [] { GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name)); });
    dog->AddTask(std::make_unique<Strata::TimedTask>(3.0f));
    QueueCall(*dog, [this] { endLevel(); });
}

} // namespace Yardcrew

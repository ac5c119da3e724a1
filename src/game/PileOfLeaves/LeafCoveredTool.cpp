#include "game/PileOfLeaves/LeafCoveredTool.h"

#include "core/NumberGenerator.h"
#include "framework/Task.h"
#include "game/AudioManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "scene/NodeEffects.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <utility>

namespace Yardcrew
{

namespace
{

namespace Names = PileOfLeavesContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kHighlightPath[] = {"imageNode", "highlightNode", Strata::NodePathTerminator()};

// A quarter turn every sixteenth of the flight: four turns in all.
constexpr float kSpinStepShare = 0.0625f;
// A flight too short or too fast for quarter turns this long flies without turning.
constexpr float kShortestSpinStep = 0.001f;

} // namespace

LeafCoveredTool::LeafCoveredTool(YardcrewColor color, YardcrewTool kind)
    : PlayfieldObject(Names::kToolLayout.name), mColor(color), mKind(kind)
{
    const bool known = kind >= 0 && kind < YardcrewTool_Count;
    const Strata::Label list(known ? Names::kToolImages[kind].name : "");
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode()))
    {
        if (known)
            image->setImage(list, color);
        // The whole picture takes clicks, not only where the tool is drawn.
        image->alphaSensitivity = 0;
        image->hitTest = true;
        image->mouseDownSignal.connect(
            [this](Strata::SceneNode*, Strata::MouseButton, int, int)
            {
                if (!mFound)
                    pressedSignal();
            });
        image->mouseEnterSignal.connect(
            [this](Strata::SceneNode*)
            {
                if (mFound)
                    return;
                showHighlight(true);
                GetAudioManager()->playSFX(Strata::Label(Names::kRollover.name));
            });
        image->mouseExitSignal.connect([this](Strata::SceneNode*) { showHighlight(false); });
    }
    if (auto* highlight = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kHighlightPath)))
    {
        if (known)
            highlight->setImage(list, Names::kHighlightImage);
        highlight->LocalSetVisible(false);
    }
}

Strata::Label LeafCoveredTool::GetRole() const
{
    static const Strata::Label kRole("PileOfLeaves_Tool");
    return kRole;
}

Strata::SceneNode* LeafCoveredTool::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void LeafCoveredTool::showHighlight(bool show)
{
    if (Strata::SceneNode* highlight = LayoutNode(kHighlightPath))
        highlight->LocalSetVisible(show);
}

void LeafCoveredTool::wobble()
{
    if (Strata::SceneNode* root = LayoutRoot())
    {
        root->RemoveAllTasks();
        root->AddTask(Strata::getNodeErrorShakeTask());
    }
}

void LeafCoveredTool::flyToLocation(Strata::SceneNode* layer, const Strata::Vector2<float>& destination, float speed)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    mFound = true;
    showHighlight(false);
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = false;
    if (layer != nullptr)
    {
        // Re-attached where it stands, so the flight runs in the request box's coordinates.
        const Strata::Rect<float> bounds = root->GlobalGetBounds();
        const Strata::Rect<float> origin = layer->GlobalGetBounds();
        layer->AttachChild(root);
        root->LocalSetLocation(bounds.x - origin.x, bounds.y - origin.y);
    }
    root->RemoveAllTasks();
    const float seconds = TravelSeconds(root->LocalGetLocation(), destination, speed);
    // The spin repeats its quarter turn within an update as often as the update's time allows: a flight
    // of a sliver of a pixel (a tool lying at the box, less rounding) would clone it by the million.
    if (seconds * kSpinStepShare >= kShortestSpinStep)
    {
        auto angles = std::make_shared<Strata::IncrementNumberGenerator<Strata::Angle>>(
            Strata::Angle::FromDegrees(90.0f), Strata::Angle::FromDegrees(90.0f));
        auto spin = std::make_unique<Strata::RepeatingTask>();
        spin->AddTask(std::make_unique<Strata::NodeOrientationTask>(
            angles, std::make_shared<Strata::ConstNumberGenerator<float>>(seconds * kSpinStepShare)));
        auto flight = std::make_unique<Strata::ParallelTask>(Strata::ParallelTaskCompletion_Any);
        flight->AddTask(std::make_unique<Strata::NodeLocationTask>(destination, seconds));
        flight->AddTask(std::move(spin));
        root->AddTask(std::move(flight));
    }
    else
    {
        root->AddTask(std::make_unique<Strata::NodeLocationTask>(destination, seconds));
    }
    // Lands upright whatever the last quarter turn or a cut-off wobble left.
    root->AddTask(std::make_unique<Strata::NodeOrientationTask>(Strata::Angle()));
    QueueCall(*root, [this] { arrivedSignal(nullptr); });
}

} // namespace Yardcrew

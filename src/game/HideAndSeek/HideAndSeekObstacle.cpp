#include "game/HideAndSeek/HideAndSeekObstacle.h"

#include "core/Random.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/LevelManager.h"
#include "game/MiniGameSequence.h"
#include "graphics/ImageList.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = HideAndSeekContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"rolloverNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kTailPath[] = {"TabbyTail", Strata::NodePathTerminator()};
const Strata::NodePathStep kWrongAnimalPath[] = {"wrongAnimal", Strata::NodePathTerminator()};

// A point hits the picture only where it is more opaque than this.
constexpr int32_t kHitAlpha = 128;
constexpr float kLift = 200.0f;
constexpr float kLiftSeconds = 0.5f;
constexpr float kUpSeconds = 1.0f;

int WrongAnimalCount()
{
    const Strata::AutoResource<Strata::ImageList> list(Names::kWrongAnimals.name);
    return list.Get() != nullptr ? list->GetNumImages() : 0;
}

} // namespace

HideAndSeekObstacle::HideAndSeekObstacle(int imageID) : PlayfieldObject(Names::kObstacleLayout.name)
{
    if (auto* rollover = dynamic_cast<Strata::StaticSpriteNode*>(getRolloverNode()))
        rollover->setImage(Strata::Label(Names::kObstacleRollovers.name), imageID);
    showRollover(false);
    if (Strata::SceneNode* tail = getTailNode())
        tail->LocalSetVisible(false);
    if (Strata::SceneNode* animal = getWrongAnimalNode())
        animal->LocalSetVisible(false);
    auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode());
    if (image == nullptr)
        return;
    image->setImage(Strata::Label(Names::kObstacles.name), imageID);
    image->alphaSensitivity = kHitAlpha;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
    ConnectRollover(*image, kRolloverPath, Names::kRollover.name);
    acceptMouseInput(true);
}

Strata::Label HideAndSeekObstacle::GetRole() const
{
    static const Strata::Label kRole("HideAndSeek_Obstacle");
    return kRole;
}

Strata::SceneNode* HideAndSeekObstacle::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* HideAndSeekObstacle::getRolloverNode() const
{
    return LayoutNode(kRolloverPath);
}

Strata::SceneNode* HideAndSeekObstacle::getTailNode() const
{
    return LayoutNode(kTailPath);
}

Strata::SceneNode* HideAndSeekObstacle::getWrongAnimalNode() const
{
    return LayoutNode(kWrongAnimalPath);
}

void HideAndSeekObstacle::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

void HideAndSeekObstacle::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(show);
}

void HideAndSeekObstacle::showTail(bool show)
{
    Strata::SceneNode* tail = getTailNode();
    if (tail == nullptr)
        return;
    auto* animated = dynamic_cast<Strata::AnimatedSpriteNode*>(tail);
    if (animated != nullptr && GetLevelManager().difficulty == GameModeDifficulty_Medium)
        animated->SetAnimation(Strata::Label(Names::kTailShow), true);
    tail->LocalSetVisible(show);
}

void HideAndSeekObstacle::reveal(bool catBehind)
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* image = getImageNode();
    Strata::SceneNode* animal = getWrongAnimalNode();
    if (root == nullptr || image == nullptr || animal == nullptr)
        return;
    GetAudioManager()->playSFX(Strata::Label(Names::kSelect.name));
    showTail(false);
    showRollover(false);

    image->AddTask(std::make_unique<Strata::NodeLocationTask>(Strata::Vector2<float>(0, -kLift), kLiftSeconds));
    image->AddTask(std::make_unique<Strata::TimedTask>(kUpSeconds));
    QueueCall(*image, [this] { liftedSignal(); });
    image->AddTask(std::make_unique<Strata::NodeLocationTask>(Strata::Vector2<float>(0, 0), kLiftSeconds));
    // The other animal goes once the picture is down, and only then is the look over.
    Meet({image, root, animal});
    animal->AddTask(std::make_unique<Strata::NodeVisibleTask>(false));
    Meet({animal, root});
    QueueCall(*root, [this] { loweredSignal(); });

    const int animals = WrongAnimalCount();
    if (catBehind || animals == 0)
        return;
    if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(animal))
        sprite->setImage(Strata::Label(Names::kWrongAnimals.name),
                         std::clamp(Strata::Random::GetIntRange(animals - 1), 0, animals - 1));
    animal->LocalSetVisible(true);
}

} // namespace Yardcrew

#include "game/CountTheMaterials/MaterialTarget.h"

#include "core/Log.h"
#include "core/StringFormatter.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"
#include "scene/TextSpriteNodes.h"

#include <memory>
#include <vector>

namespace Yardcrew
{

namespace
{

namespace Names = CountTheMaterialsContent;
using Points = std::vector<Strata::Vector2<float>>;

const Strata::NodePathStep kImagePath[] = {"tipperImage", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxPath[] = {"tipperImage", "HighlightBox", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxImagePath[] = {"tipperImage", "HighlightBox", "imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxCountPath[] = {"tipperImage", "HighlightBox", "MaterialCount",
                                              Strata::NodePathTerminator()};
const Strata::NodePathStep kCartPath[] = {"MaterialsInCart", Strata::NodePathTerminator()};

} // namespace

MaterialTarget::MaterialTarget(BuildingMaterial material, int32_t number)
    : PlayfieldObject(Names::kTipperLayout.name), mNumber(number), mMaterial(material)
{
    if (LayoutRoot() == nullptr)
        return;
    if (auto* picture = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kBoxImagePath));
        picture != nullptr && material >= 0 && material < BuildingMaterial_Count)
        picture->setImage(Strata::Label(Names::kRequestItems.name), material);
    if (auto* count = dynamic_cast<Strata::TextSpriteNode*>(LayoutNode(kBoxCountPath)))
        count->SetText(Strata::StringFormatter(L"%1%").Arg(number).c_str());

    const Strata::AutoResource<Strata::SceneLayout> far(Names::kFarTipperLayout.name);
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    if (far.Get() != nullptr && db != nullptr)
    {
        if (Strata::SceneNode* background = far->InstantiateLayout(db, PlayfieldNode("YSortedLayer")))
            mBackground = background->GetID();
    }
    else
    {
        Strata::Internal::LogWrite("The layout \"%s\" is missing\n", Names::kFarTipperLayout.name);
    }

    for (Strata::SceneNode* node : {LayoutNode(kImagePath), LayoutNode(kBoxPath)})
    {
        if (node == nullptr)
            continue;
        node->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
        node->hitTest = true;
    }
    // The picture of what is asked for is the part of the box a child presses most: it asks again too,
    // rather than swallowing the press.
    if (Strata::SceneNode* picture = LayoutNode(kBoxImagePath))
        picture->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int)
                                         { pressedSignal(); });
    acceptMouseInput(true);
}

Strata::Label MaterialTarget::GetName() const
{
    static const Strata::Label kName("CountTheMaterials_MaterialTarget");
    return kName;
}

Strata::SceneNode* MaterialTarget::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* MaterialTarget::getRequestBox() const
{
    return LayoutNode(kBoxPath);
}

Strata::SceneNode* MaterialTarget::getCartNode() const
{
    return LayoutNode(kCartPath);
}

Strata::SceneNode* MaterialTarget::getBackgroundNode() const
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    return db != nullptr ? dynamic_cast<Strata::SceneNode*>(db->GetObject(mBackground)) : nullptr;
}

void MaterialTarget::hideMaterialRequest(bool hide)
{
    if (Strata::SceneNode* box = getRequestBox())
        box->LocalSetVisible(!hide);
}

void MaterialTarget::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* picture = LayoutNode(kBoxImagePath))
        picture->hitTest = accept;
}

void MaterialTarget::driveOntoScreen()
{
    Strata::SceneNode* tipper = LayoutRoot();
    Strata::SceneNode* image = getImageNode();
    if (tipper == nullptr || image == nullptr)
        return;
    const auto start = GameConstant<Strata::Vector2<float>>(Names::kTipperStart.name);
    const auto road = GameConstant<Points>(Names::kTipperRoadIn.name);
    const auto speed = GameConstant<float>(Names::kTipperSpeed.name);

    tipper->LocalSetLocation(start);
    tipper->AddTask(PlayEffectTask(Names::kTipperMove.name));
    if (!road.empty())
        tipper->AddTask(
            std::make_unique<Strata::NodeCatmullRomPathTask>(road, TravelSeconds(start, road.back(), speed)));
    Meet({tipper, this});
    Meet({this, image});
    image->AddTask(StartAnimationTask(Names::kIdleLeft));
    QueueCall(*image, [this] { hideMaterialRequest(false); });
}

void MaterialTarget::driveOffScreen()
{
    Strata::SceneNode* tipper = LayoutRoot();
    Strata::SceneNode* image = getImageNode();
    if (tipper == nullptr || image == nullptr)
        return;
    const auto roadIn = GameConstant<Points>(Names::kTipperRoadIn.name);
    const auto roadOut = GameConstant<Points>(Names::kTipperRoadOut.name);
    const auto speed = GameConstant<float>(Names::kTipperSpeed.name);

    Meet({this, image});
    image->AddTask(StartAnimationTask(Names::kDriveLeft));
    Meet({this, tipper});
    tipper->AddTask(PlayEffectTask(Names::kTipperMove.name));
    if (!roadOut.empty())
    {
        // Measured from where the road in ends, which is where the tipper waits for its load.
        const Strata::Vector2<float> from = roadIn.empty() ? tipper->LocalGetLocation() : roadIn.back();
        tipper->AddTask(
            std::make_unique<Strata::NodeCatmullRomPathTask>(roadOut, TravelSeconds(from, roadOut.back(), speed)));
    }

    Strata::SceneNode* background = getBackgroundNode();
    if (background == nullptr)
        return;
    const auto farStart = GameConstant<Strata::Vector2<float>>(Names::kFarTipperStart.name);
    const auto farRoad = GameConstant<Points>(Names::kFarTipperRoad.name);
    const auto farSpeed = GameConstant<float>(Names::kFarTipperSpeed.name);
    background->LocalSetLocation(farStart);
    Meet({tipper, background});
    auto drive = std::make_unique<Strata::ParallelTask>(Strata::ParallelTaskCompletion_All);
    if (!farRoad.empty())
        drive->AddTask(std::make_unique<Strata::NodeCatmullRomPathTask>(
            farRoad, TravelSeconds(farStart, farRoad.back(), farSpeed)));
    auto finished = std::make_unique<Strata::SerialTask>();
    finished->AddTask(std::make_unique<Strata::TimedTask>(1.0f));
    finished->AddTask(PlayEffectTask(Names::kTipperFinished.name));
    drive->AddTask(std::move(finished));
    background->AddTask(std::move(drive));
    Meet({background, this});
}

} // namespace Yardcrew

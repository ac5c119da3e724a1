#include "game/CountTheMaterials/MaterialTarget.h"

#include "core/Log.h"
#include "core/StringFormatter.h"
#include "framework/MainLoop.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"
#include "scene/TextSpriteNodes.h"

#include <vector>

namespace Yardcrew
{

namespace
{

using Points = std::vector<Strata::Vector2<float>>;

const Strata::NodePathStep kImagePath[] = {"tipperImage", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxPath[] = {"tipperImage", "HighlightBox", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxImagePath[] = {"tipperImage", "HighlightBox", "imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kBoxCountPath[] = {"tipperImage", "HighlightBox", "MaterialCount",
                                              Strata::NodePathTerminator()};
const Strata::NodePathStep kCartPath[] = {"MaterialsInCart", Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSortedLayer",
                                                 Strata::NodePathTerminator()};

} // namespace

MaterialTarget::MaterialTarget(BuildingMaterial material, int32_t number)
    : PlayfieldObject("MaterialTargetLayout"), mNumber(number), mMaterial(material)
{
    if (LayoutRoot() == nullptr)
        return;
    if (auto* picture = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kBoxImagePath));
        picture != nullptr && material >= 0 && material < BuildingMaterial_Count)
        picture->setImage(Strata::Label(kBuildingMaterialSpriteTypes[material]), 0);
    if (auto* count = dynamic_cast<Strata::TextSpriteNode*>(LayoutNode(kBoxCountPath)))
        count->SetText(Strata::StringFormatter(L"%1%").Arg(number).c_str());

    const Strata::AutoResource<Strata::SceneLayout> far("TipperBGLayout");
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    if (far.Get() != nullptr && db != nullptr)
    {
        if (Strata::SceneNode* background = far->InstantiateLayout(db, Strata::RootDescendent(kSortedLayerPath)))
            mBackground = background->GetID();
    }
    else
    {
        Strata::Log("The layout \"TipperBGLayout\" is missing\n");
    }

    if (auto* game = dynamic_cast<CountTheMaterialsMode*>(Strata::MainLoop::GetContextMode()))
    {
        for (Strata::SceneNode* node : {LayoutNode(kImagePath), LayoutNode(kBoxPath)})
        {
            if (node == nullptr)
                continue;
            node->mouseDownSignal.connect([game](Strata::SceneNode*, Strata::MouseButton, int, int)
                                          { game->playAudioRequest(); });
            node->hitTest = true;
        }
        // The picture of what is asked for is the part of the box a child presses most: it asks again
        // too, rather than swallowing the press.
        if (Strata::SceneNode* picture = LayoutNode(kBoxImagePath))
            picture->mouseDownSignal.connect([game](Strata::SceneNode*, Strata::MouseButton, int, int)
                                             { game->playAudioRequest(); });
    }
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
    const auto start = GameConstant<Strata::Vector2<float>>("TipperStartPosition");
    const auto road = GameConstant<Points>("TipperForegroundDriveOnPath");
    const auto speed = GameConstant<float>("TipperForegroundDrivingSpeed");

    tipper->LocalSetLocation(start);
    tipper->AddTask(PlayEffectTask("SFX_TipperMove"));
    if (!road.empty())
        tipper->AddTask(new Strata::NodeCatmullRomPathTask(road, TravelSeconds(start, road.back(), speed)));
    Meet({tipper, this});
    Meet({this, image});
    image->AddTask(StartAnimationTask("Idle-Left"));
    QueueCall(*image, [this] { hideMaterialRequest(false); });
}

void MaterialTarget::driveOffScreen()
{
    Strata::SceneNode* tipper = LayoutRoot();
    Strata::SceneNode* image = getImageNode();
    if (tipper == nullptr || image == nullptr)
        return;
    const auto roadIn = GameConstant<Points>("TipperForegroundDriveOnPath");
    const auto roadOut = GameConstant<Points>("TipperForegroundDriveOffPath");
    const auto speed = GameConstant<float>("TipperForegroundDrivingSpeed");

    Meet({this, image});
    image->AddTask(StartAnimationTask("Drive-Left"));
    Meet({this, tipper});
    tipper->AddTask(PlayEffectTask("SFX_TipperMove"));
    if (!roadOut.empty())
    {
        // Measured from where the road in ends, which is where the tipper waits for its load.
        const Strata::Vector2<float> from = roadIn.empty() ? tipper->LocalGetLocation() : roadIn.back();
        tipper->AddTask(new Strata::NodeCatmullRomPathTask(roadOut, TravelSeconds(from, roadOut.back(), speed)));
    }

    Strata::SceneNode* background = getBackgroundNode();
    if (background == nullptr)
        return;
    const auto farStart = GameConstant<Strata::Vector2<float>>("TipperBGStartPos");
    const auto farRoad = GameConstant<Points>("TipperBackgroundDrivePath");
    const auto farSpeed = GameConstant<float>("TipperBackgroundDrivingSpeed");
    background->LocalSetLocation(farStart);
    Meet({tipper, background});
    auto* drive = new Strata::ParallelTask(Strata::ParallelTaskCompletion_All);
    if (!farRoad.empty())
        drive->AddTask(new Strata::NodeCatmullRomPathTask(farRoad, TravelSeconds(farStart, farRoad.back(), farSpeed)));
    drive->AddTask(new Strata::SerialTask(new Strata::TimedTask(1.0f), PlayEffectTask("CTM_TipperFinished")));
    background->AddTask(drive);
    Meet({background, this});
}

} // namespace Yardcrew

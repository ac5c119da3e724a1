#include "game/HammerTheNail/HammerTheNailMode.h"

#include "framework/MainLoop.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailGame.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/TargetNail.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = HammerTheNailContent;

// The outro's pauses around the win voice.
constexpr float kPauseBeforeWin = 1.0f;
constexpr float kPauseAfterWin = 2.0f;

Strata::SceneNode* ToolSlot(size_t slot)
{
    const std::string name = "Source_" + std::to_string(slot + 1);
    return PlayfieldNode("MaterialSources", name);
}

void Say(const sContentName& voice)
{
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(voice.name));
}

} // namespace

HammerTheNailMode::HammerTheNailMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(HammerTheNailDescription(), firstRound, roundsLeft)
{
}

void HammerTheNailMode::Setup()
{
    MiniGameMode::Setup();
    maskMouseInput(false);
    if (Strata::SceneNode* drop = PlayfieldNode("DropItem_ClickMask"))
    {
        drop->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int)
                                      { cancelMaterialDragging(); });
        drop->hitTest = true;
        drop->LocalSetVisible(true);
    }
    if (Strata::SceneNode* foreman = PlayfieldNode("InGameForeman"))
        foreman->AddTask(std::make_unique<Strata::NodeVisibleTask>(true));
}

void HammerTheNailMode::initializeLevel(const HammerTheNailLevel& level)
{
    Strata::SceneNode* targets = PlayfieldNode("MaterialTargets");
    for (const NailData& nailData : level.nails)
    {
        auto* nail = addPlayfieldObject<TargetNail>(targets, "MaterialTargets", nailData.type, nailData.color,
                                                    nailData.clickCount);
        if (nail == nullptr)
            continue;
        mNails.push_back(nail->GetID());
        if (Strata::SceneNode* root = nail->LayoutRoot())
            root->LocalSetLocation(
                Strata::Vector2<float>(static_cast<float>(nailData.x), static_cast<float>(nailData.y)));
        if (Strata::SceneNode* shape = nail->getShapeNode())
            ConnectDragTarget<DraggableTool>(*nail, *shape);
        nail->struckSignal.connect([this, nail](DraggableTool* tool) { nailStruck(nail, tool); });
    }
    const std::vector<FixItTool> box = level.Tools();
    for (size_t slot = 0; slot < box.size(); ++slot)
    {
        auto* tool =
            addPlayfieldObject<DraggableTool>(ToolSlot(slot), "MaterialSources", box[slot].type, box[slot].color);
        if (tool == nullptr)
            continue;
        mTools.push_back(tool->GetID());
        if (Strata::SceneNode* shape = tool->getShapeNode())
            ConnectDragTarget<DraggableTool>(*tool, *shape);
        tool->pressedSignal.connect([this, tool] { toolPressed(tool); });
        tool->arrivedSignal.connect([this](PlayfieldObject*) { resetHintTimer(1); });
    }
}

std::vector<DraggableTool*> HammerTheNailMode::getTools() const
{
    return LiveObjects<DraggableTool>(*this, mTools);
}

std::vector<TargetNail*> HammerTheNailMode::getNails() const
{
    return LiveObjects<TargetNail>(*this, mNails);
}

void HammerTheNailMode::toolPressed(DraggableTool* tool)
{
    if (mOutroStarted)
        return;
    resetHintTimer(2);
    const Strata::Vector2<int> pointer = Strata::MainLoop::GetLastMousePos();
    tool->takeInHand(pointer.x, pointer.y);
}

void HammerTheNailMode::nailStruck(TargetNail* nail, DraggableTool* tool)
{
    resetHintTimer(2);
    if (nail->isDriven())
    {
        Say(Names::kNailComplete);
        return;
    }
    if (!nail->fits(*tool))
    {
        Say(Names::kWrongTool);
        return;
    }
    Strata::SceneNode* turning = tool->animateClickOnNail(*nail);
    if (turning == nullptr)
        return;
    // No press reaches a nail or a tool until the turn has ended.
    maskMouseInput(true);
    Say(nail->getStrokesLeft() == 1 ? Names::kNailComplete : Names::kClickAgain);
    if (Strata::SceneNode* mouth = PlayfieldNode("InGameForeman", "mouth"))
    {
        mouth->AddTask(std::make_unique<Strata::NodeVisibleTask>(true));
        mouth->AddTask(std::make_unique<Strata::TimedTask>(GameConstant<float>(Names::kSpinTime.name)));
        mouth->AddTask(std::make_unique<Strata::NodeVisibleTask>(false));
    }
    Meet({turning, tool});
    const Strata::ObjectID nailID = nail->GetID();
    QueueCall(*tool,
              [this, nailID, tool]
              {
                  if (auto* struck = dynamic_cast<TargetNail*>(GetObject(nailID)))
                      struck->decreaseNailSize();
                  tool->returnToolToCursor();
                  // A won round keeps its mask up.
                  maskMouseInput(mOutroStarted);
                  checkEndLevel();
              });
}

void HammerTheNailMode::cancelMaterialDragging()
{
    if (DragSource<DraggableTool*>* held = DragSource<DraggableTool*>::GetHeldDragSource_Mutable())
        held->Release();
}

void HammerTheNailMode::checkEndLevel()
{
    const std::vector<TargetNail*> nails = getNails();
    if (std::any_of(nails.begin(), nails.end(), [](const TargetNail* nail) { return !nail->isDriven(); }))
        return;
    playOutroAnimation();
}

void HammerTheNailMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    mOutroStarted = true;
    cancelMaterialDragging();
    maskMouseInput(true);
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseBeforeWin));
    QueueCall(*sequence, [] { Say(Names::kGameComplete); });
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseAfterWin));
    queueEndOfRound(*sequence);
}

} // namespace Yardcrew

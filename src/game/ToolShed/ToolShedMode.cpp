#include "game/ToolShed/ToolShedMode.h"

#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedGame.h"
#include "game/ToolShed/ToolShedItem.h"
#include "game/ToolShed/ToolShedToolBox.h"
#include "game/YardcrewNames.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = ToolShedContent;
using Point = Strata::Vector2<float>;

// The outro's pauses around the win voice.
constexpr float kPauseBeforeWin = 0.8f;
constexpr float kPauseAfterWin = 3.0f;

// The shelf has a row of places for each number of boxes, so a short row stands centred.
Strata::SceneNode* BoxPlace(size_t count, size_t box)
{
    const std::string row = "Boxes_" + std::to_string(count);
    const std::string name = "Box_" + std::to_string(box + 1);
    return PlayfieldNode("Shelf", row, name);
}

Strata::SceneNode* FloorSpot(int spot)
{
    const std::string name = "Spot_" + std::to_string(spot + 1);
    return PlayfieldNode("Floor", name);
}

YardcrewTool SharedTool(ToolShedToolType type)
{
    if (type < 0 || type >= ToolShedToolType_Count)
        return YardcrewTool_None;
    return static_cast<YardcrewTool>(FindName(kYardcrewToolNames, kToolShedToolTypeNames[type]));
}

} // namespace

ToolShedMode::ToolShedMode() : MiniGameModeOf(ToolShedDescription())
{
}

std::vector<ToolShedItem*> ToolShedMode::getTools() const
{
    return LiveObjects<ToolShedItem>(*this, mTools);
}

std::vector<ToolShedToolBox*> ToolShedMode::getBoxes() const
{
    return LiveObjects<ToolShedToolBox>(*this, mBoxes);
}

void ToolShedMode::initializeLevel(const ToolShedLevel& level)
{
    mSortBy = level.sortBy;
    for (size_t i = 0; i < level.boxes.size(); ++i)
    {
        auto* box =
            addPlayfieldObject<ToolShedToolBox>(BoxPlace(level.boxes.size(), i), "Shelf", level.boxes[i], mSortBy);
        if (box == nullptr)
            continue;
        mBoxes.push_back(box->GetID());
        box->dropSignal.connect([this, box](ToolShedItem* item) { toolDropped(box, item); });
    }
    // The tools land on places drawn at random, so no two games look alike.
    EnumTypeDeck<int> spots(static_cast<int>(kToolShedMaxTools));
    for (const ToolShedTool& tool : level.tools)
    {
        auto* item = addPlayfieldObject<ToolShedItem>(FloorSpot(spots.DrawCard()), "Floor", tool);
        if (item == nullptr)
            continue;
        mTools.push_back(item->GetID());
        item->pressedSignal.connect([this, item] { toolPicked(item); });
        item->arrivedSignal.connect([this](PlayfieldObject*) { resetHintTimer(1); });
    }
    playIntroAnimation();
}

void ToolShedMode::playIntroAnimation()
{
    maskMouseInput(true);
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    for (size_t i = 0; i < mTools.size(); ++i)
        throwUpToolsWithIndex(static_cast<int>(i));
    // The sequence waits for the last tool to land: every throw ends after the one before it.
    std::vector<ToolShedItem*> tools = getTools();
    Strata::Object* last = nullptr;
    if (!tools.empty())
        last = tools.back()->LayoutRoot();
    Meet({sequence, last});
    QueueCall(*sequence, [this] { landAllTools(); });
}

void ToolShedMode::throwUpToolsWithIndex(int index)
{
    auto* item = index >= 0 && static_cast<size_t>(index) < mTools.size()
                     ? dynamic_cast<ToolShedItem*>(GetObject(mTools[static_cast<size_t>(index)]))
                     : nullptr;
    if (item == nullptr)
        return;
    item->throwUp(GameConstant<Point>(Names::kThrowFrom.name),
                  static_cast<float>(index) * GameConstant<float>(Names::kThrowInterval.name),
                  GameConstant<float>(Names::kFlightTime.name));
}

void ToolShedMode::landAllTools()
{
    GetAudioManager()->playSFX(Strata::Label(Names::kLand.name));
    maskMouseInput(false);
    showInstructions();
}

void ToolShedMode::toolPicked(ToolShedItem* item)
{
    resetHintTimer(2);
    // The name of the tool in hand, and no longer what was said before.
    GetAudioManager()->clearVocalAudioQueues();
    GetAudioManager()->playToolNameVocal(SharedTool(item->getTool().type));
}

void ToolShedMode::toolDropped(ToolShedToolBox* box, ToolShedItem* item)
{
    const ToolShedLevel* level = getLevelRecord();
    if (item == nullptr || level == nullptr || mOutroStarted)
        return;
    if (!level->Fits(box->getTakes(), item->getTool()))
    {
        // The tool goes back to its place by itself once the drop is over.
        resetHintTimer(2);
        box->shake();
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongBox.name));
        return;
    }
    const auto offsets = GameConstant<std::vector<Point>>(Names::kBoxToolOffsets.name);
    const auto slot = static_cast<size_t>(box->getToolCount());
    item->putInBox(*box, offsets.empty() ? Point() : offsets[std::min(slot, offsets.size() - 1)]);
    box->addTool();
    resetHintTimer(1);
    GetAudioManager()->playInGameFeedbackVocal(true);
    checkLevelEnd();
}

void ToolShedMode::cancelToolDragging()
{
    if (DragSource<ToolShedItem*>* held = DragSource<ToolShedItem*>::GetHeldDragSource_Mutable())
        held->Release();
}

void ToolShedMode::checkLevelEnd()
{
    const std::vector<ToolShedItem*> tools = getTools();
    if (std::all_of(tools.begin(), tools.end(), [](const ToolShedItem* tool) { return tool->isInBox(); }))
        playOutroAnimation();
}

void ToolShedMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    Strata::Object* sequence = GetObject(mSequenceObject);
    if (sequence == nullptr)
        return;
    mOutroStarted = true;
    maskMouseInput(true);
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseBeforeWin));
    QueueCall(*sequence, [] { GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name)); });
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseAfterWin));
    queueEndOfRound(*sequence);
}

} // namespace Yardcrew

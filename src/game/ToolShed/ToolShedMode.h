#pragma once

// The tool-shed game: the foreman's tools are thrown up and land all over the shed's floor; the child
// carries each one into the box on the shelf that takes it, the box of its kind or of its colour as the
// level asks. Picked up, a tool's name is spoken; a right box takes it with praise, a wrong one shakes
// and the tool flies back to its place. When the floor is clear the game ends. One round.

#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/ToolShed/ToolShedLevel.h"

#include <vector>

namespace Yardcrew
{

class ToolShedItem;
class ToolShedToolBox;

class ToolShedMode final : public MiniGameModeOf<ToolShedLevel>
{
public:
    ToolShedMode();

    // Queues the throw of the tool made `index`-th: it leaves the pile after those before it.
    void throwUpToolsWithIndex(int index);
    // Every tool has landed: the instructions show and the floor opens to clicks.
    void landAllTools();
    // Sends the tool in hand back to its place; nothing when none is.
    void cancelToolDragging();
    // Ends the game once no tool is left on the floor.
    void checkLevelEnd();

    ToolShedSort getSortBy() const { return mSortBy; }
    // The tools and boxes, in the level's order.
    std::vector<ToolShedItem*> getTools() const;
    std::vector<ToolShedToolBox*> getBoxes() const;

protected:
    void initializeLevel(const ToolShedLevel& level) override;

private:
    void playIntroAnimation();
    void playOutroAnimation();
    void toolPicked(ToolShedItem* item);
    void toolDropped(ToolShedToolBox* box, ToolShedItem* item);

    ToolShedSort mSortBy = ToolShedSort_None;
    std::vector<Strata::ObjectID> mTools;
    std::vector<Strata::ObjectID> mBoxes;
};

} // namespace Yardcrew

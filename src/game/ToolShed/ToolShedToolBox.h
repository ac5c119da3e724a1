#pragma once

// A tool box on the tool shed's shelf, painted in the colour it takes or plain with a sign showing the
// kind it takes. While a tool is carried over it, it glows and is the current drop target; a tool
// dropped on it is handed to the game through dropSignal, which decides whether the box takes it.

#include "game/DragAndDrop.h"
#include "game/PlayfieldObject.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "scene/LazySignal.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class ToolShedItem;

class ToolShedToolBox final : public PlayfieldObject, public DragTarget<ToolShedItem*>
{
public:
    // Builds the box from "ToolShedToolBoxLayout": of the colour `takes.color` when the shed is sorted
    // by colour, else plain with the sign of `takes.type`.
    ToolShedToolBox(const ToolShedTool& takes, ToolShedSort sortBy);

    // "ToolShed_ToolBox".
    Strata::Label GetRole() const override;
    void Update(float) override {}
    void AddedToScene() override;
    void DropActivated(ToolShedItem* item) override;

    const ToolShedTool& getTakes() const { return mTakes; }
    // How many tools it holds.
    int getToolCount() const { return mToolCount; }
    void addTool() { ++mToolCount; }

    // The area a carried tool is dropped on; where the tools put in stand (between back and front).
    Strata::SceneNode* getDropArea() const;
    Strata::SceneNode* getContentsNode() const;
    // A wrong tool was dropped on it: it shakes.
    void shake();

    // A tool was dropped here; the game decides.
    Strata::LazySignal<void(ToolShedItem* item)> dropSignal;

private:
    void showRollover(bool show);

    ToolShedTool mTakes;
    int mToolCount = 0;
};

} // namespace Yardcrew

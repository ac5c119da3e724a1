#pragma once

// A nail (a bolt or a screw) on the hammering game's playfield: it needs one tool in one colour and a
// number of strokes, and shows how far it still stands out. A press on it with a tool in hand is
// reported through struckSignal; the tool stays in hand whatever the game decides.

#include "game/DragAndDrop.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/PlayfieldObject.h"

#include <cstdint>

namespace Yardcrew
{

class DraggableTool;

class TargetNail final : public PlayfieldObject, public DragTarget<DraggableTool*>
{
public:
    // Builds the nail's nodes from "NailLayout"; the game then adds it under "MaterialTargets".
    TargetNail(FixItToolType type, FixItToolColor color, int32_t clickCount);

    // "HammerTheNail_Nail".
    Strata::Label GetRole() const override;

    FixItToolType getType() const { return mType; }
    FixItToolColor getColor() const { return mColor; }
    int32_t getStrokesLeft() const { return mStrokesLeft; }
    bool isDriven() const { return mStrokesLeft <= 0; }
    bool fits(const DraggableTool& tool) const;
    Strata::SceneNode* getShapeNode() const;

    // One stroke off; the picture steps down with it.
    void decreaseNailSize();

    bool UseInPlace(DraggableTool* tool) override;

    // A press with `tool` in hand.
    Strata::LazySignal<void(DraggableTool* tool)> struckSignal;

private:
    void showStrokes();

    FixItToolType mType;
    FixItToolColor mColor;
    int32_t mStrokesLeft;
};

} // namespace Yardcrew

#pragma once

// A caged animal at the delivery game's loading area. Its cage shows the mark of its house. A press on
// it is reported through its pressed signal; the game then sends the truck and makes the animal the
// held one of the drag-and-drop record, which is what the houses check. It does not follow the pointer.

#include "game/DragAndDrop.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

// The image list of a shape (one frame per colour); null for a shape outside the table.
const char* HereToThereShapeImage(HereToThereObjectShape shape);
// Shows the mark on a static sprite: the shape's list at the colour's frame. Nothing for a null node or
// a mark outside the tables.
void ShowHereToThereMark(Strata::SceneNode* node, const HereToThereMark& mark);

class HereToThereObject final : public DragSource<HereToThereObject*>, public PlayfieldObject
{
public:
    // Builds the animal from "HereToThereObjectLayout" with a picture drawn at random.
    explicit HereToThereObject(const HereToThereMark& mark);

    // "HereToThere_Object": the game ends when none is left.
    Strata::Label GetRole() const override;
    void Update(float) override {}

    const HereToThereMark& getMark() const { return mMark; }
    void acceptMouseInput(bool accept);
    // Delivered: the cage and everything on it vanish.
    void hideCage();

    // The click area, the cage and its hover highlight; null when the layout lacks them.
    Strata::SceneNode* getClickNode() const;
    Strata::SceneNode* getCageNode() const;
    Strata::SceneNode* getRolloverNode() const;

protected:
    void DoOnStartDragging() override;

private:
    void handleMouseEnter();

    HereToThereMark mMark;
};

} // namespace Yardcrew

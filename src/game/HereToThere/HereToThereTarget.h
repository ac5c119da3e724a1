#pragma once

// A real house on the delivery game's street, its flag showing a mark. A press on it is reported
// through its pressed signal; while the pointer is over it, it is the current drop target, and an
// animal put down on it is handed over through its drop signal.

#include "core/Vector2.h"
#include "game/DragAndDrop.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/PlayfieldObject.h"
#include "scene/LazySignal.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class HereToThereObject;

class HereToThereTarget final : public DragTarget<HereToThereObject*>, public PlayfieldObject
{
public:
    // Builds the house from "HereToThereTargetLayout" with a picture drawn at random; `road` (0 to 2) is
    // the row of its plot.
    HereToThereTarget(const HereToThereMark& mark, int road);

    // "HereToThere_Target".
    Strata::Label GetRole() const override;
    void Update(float) override {}
    void DropActivated(HereToThereObject* animal) override;
    void AddedToScene() override;

    const HereToThereMark& getMark() const { return mMark; }
    int getRoad() const { return mRoad; }
    void acceptMouseInput(bool accept);
    // Where the truck stops for this house: below its centre, on its road's line ("RoadEnd_Right").
    Strata::Vector2<float> getCarPosition() const;

    // The picture and click area; where a delivered animal is set down.
    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getCageAttach() const;

    // An animal was put down here.
    Strata::LazySignal<void(HereToThereObject* animal)> dropSignal;

private:
    HereToThereMark mMark;
    int mRoad;
};

} // namespace Yardcrew

#pragma once

// A step picture the child carries to the blueprint in the job-order game. A press picks it up: it
// disappears from where it lay and a copy follows the pointer. The next press (or the release of a drag)
// drops it on the place under the pointer when that place takes it, or sends it back; a press on
// another picture takes that one instead. Sent back, the picture travels from where it was let go to
// where it lay.

#include "core/Vector2.h"
#include "game/HeldItem.h"
#include "game/PlayfieldObject.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class JobSequenceItem final : public PlayfieldObject,
                              public HeldDragSource<JobSequenceItem*>,
                              public DragTarget<JobSequenceItem*>
{
public:
    // Shows frame `step` of the image list; the game then adds it under an arrangement's place.
    JobSequenceItem(std::string imageList, int32_t step);

    // "PlanAJob_DropItem".
    Strata::Label GetRole() const override;

    int32_t getStep() const { return mStep; }
    Strata::SceneNode* getImageNode() const;
    // The copy that follows the pointer; null while the picture lies in its place.
    Strata::SceneNode* getCarriedCopy() const;
    bool isHeld() const { return GetHeldDragSource() == this; }

    void acceptMouseInput(bool accept);
    // Picks the picture up where it was pressed; a picture held before goes back.
    void pickUp();
    // A refused drop: the picture wobbles where it was let go and goes back to where it lay, so
    // nothing looks placed. Nothing unless it is carried.
    void startErrorShake();

    // A press on this picture while another is carried: this one is taken instead.
    bool UseInPlace(JobSequenceItem* held) override;

    // pressedSignal asks the game to pick the picture up; arrivedSignal (null) tells it the picture
    // went back or was placed.

private:
    void DoOnStartDragging() override;
    void DoOnCancel() override;
    void DoOnReleased() override;
    // `from`: the global corner of the carried copy, where the way back starts; none appears at home.
    void putBack(std::optional<Strata::Vector2<float>> from);
    void showRollover(bool show);

    std::string mImageList;
    int32_t mStep;
    Strata::Vector2<int> mPressedAt;
    std::optional<Strata::Vector2<float>> mHome; // the layout root's own location, noted at the first pick-up
    bool mShakeOnReturn = false;
};

} // namespace Yardcrew

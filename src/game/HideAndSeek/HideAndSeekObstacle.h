#pragma once

// One obstacle of the hide-and-seek game: a picture the cat can hide behind, its highlight under the
// pointer, the cat's tail that may peek out from it, and an animal that shows behind it when the child
// looks and the cat is elsewhere. A press on the picture is reported through the pressed signal; the
// game answers with reveal.

#include "game/PlayfieldObject.h"
#include "scene/LazySignal.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class HideAndSeekObstacle final : public PlayfieldObject
{
public:
    // Builds the obstacle from "HideAndSeekObstacleLayout" showing frame `imageID` of the obstacle
    // pictures; clicks and hovers count only on the picture's opaque pixels.
    explicit HideAndSeekObstacle(int imageID);

    // "HideAndSeek_Obstacle".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    void acceptMouseInput(bool accept);
    // Shows or hides the cat's tail; at "Medium" it shows for a while only.
    void showTail(bool show);
    // Lifts the picture for a look behind it: the cat stands there when `catBehind` (the game shows
    // it), else a random other animal shows. liftedSignal fires while the picture is up, loweredSignal
    // once it is down again and the other animal gone.
    void reveal(bool catBehind);

    // The picture, its highlight, the tail and the other animal; null when the layout lacks them.
    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getRolloverNode() const;
    Strata::SceneNode* getTailNode() const;
    Strata::SceneNode* getWrongAnimalNode() const;

    Strata::LazySignal<void()> liftedSignal;
    Strata::LazySignal<void()> loweredSignal;

private:
    void showRollover(bool show);
};

} // namespace Yardcrew

#pragma once

// The cat Tabby of the hide-and-seek game. In a hiding sequence it runs to obstacles drawn at random,
// one after the other in straight lines at the level's speed, never to the one it is at, and vanishes
// behind the last, whose tail then peeks out if the level says so. It tells the game where it hid
// through its arrived signal. Its own serial queue carries the end of the game too: what the game
// appends waits for its last run.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/PlayfieldObject.h"

#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class HideAndSeekObstacle;

class HideAndSeekCharacter final : public PlayfieldObject
{
public:
    // Stands at "TabbyStartLocation" with its first hiding sequence among `obstacles` queued.
    HideAndSeekCharacter(std::vector<Strata::ObjectID> obstacles, int numPreviewHides, float runSpeed, bool showTail);

    // "HideAndSeek_Character".
    Strata::Label GetName() const override;

    // Queues a sequence of numPreviewHides runs from where the cat stands.
    void setupNewHideSequence();
    // Found: it stands, in view, where it hid.
    void getFound();
    // Runs to "TabbyEndLocation"; what is queued on the cat after this waits for it to arrive.
    void runOffScreen();

    // The obstacle it is heading for or hiding behind; the invalid ID before its first run.
    Strata::ObjectID getCurrentObstacle() const { return mCurrentObstacle; }
    // Whether it has hidden at the end of its sequence and not yet been found.
    bool isHidden() const { return mHidden; }
    // The points of the present sequence, its start first, in the layer's coordinates.
    const std::vector<Strata::Vector2<float>>& getPath() const { return mPath; }
    Strata::SceneNode* getImageNode() const;

private:
    void selectNewObstacle();
    void animateToObstacle(HideAndSeekObstacle& obstacle);
    void hideComplete();
    void setAnimation(const char* animation);

    std::vector<Strata::ObjectID> mObstacles;
    float mRunSpeed;
    bool mShowTail;
    int mNumPreviewHides;
    Strata::ObjectID mCurrentObstacle;
    int mHideCount = 0;
    bool mHidden = false;
    std::vector<Strata::Vector2<float>> mPath;
};

} // namespace Yardcrew

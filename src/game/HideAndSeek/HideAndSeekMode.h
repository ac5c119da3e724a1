#pragma once

// The hide-and-seek game: obstacles stand in the slots of the difficulty's arrangement and the cat
// Tabby runs among them while the playfield ignores clicks, then hides behind the last. Every click
// lifts the clicked obstacle: behind the right one the cat stands and is praised, behind a wrong one
// another animal shows. After a find the cat hides anew, until it has been found the level's number of
// times; then it runs off and the level ends. One round.

#include "framework/ObjectID.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/MiniGameMode.h"

#include <vector>

namespace Yardcrew
{

class HideAndSeekCharacter;
class HideAndSeekObstacle;

class HideAndSeekMode final : public MiniGameModeOf<HideAndSeekLevel>
{
public:
    HideAndSeekMode();

    // The base's set-up with the playfield blocked until the cat has hidden.
    void Setup() override;

    // Shows (true) or hides the click mask; while it shows no obstacle takes clicks or hovers.
    void maskClickInput(bool mask) { maskMouseInput(mask); }
    // Counts a find of the cat behind `obstacle` (nothing for another one) and hides the cat anew or,
    // at the last find, ends the game.
    void obstacleClicked(HideAndSeekObstacle* obstacle);
    // The end of the level 2 s after the cat's last run; once.
    void startOutroAnimation();

    HideAndSeekCharacter* getCharacter() const;
    // The placed obstacles, in slot order.
    std::vector<HideAndSeekObstacle*> getObstacles() const;
    int getNumHides() const { return mNumHides; }
    int getNumFound() const { return mNumFound; }

protected:
    void initializeLevel(const HideAndSeekLevel& level) override;

private:
    void obstaclePressed(HideAndSeekObstacle* obstacle);

    int mNumHides = 0;
    int mNumFound = 0;
    bool mOutroStarted = false;
    Strata::ObjectID mCharacter;
    std::vector<Strata::ObjectID> mObstacles;
};

} // namespace Yardcrew

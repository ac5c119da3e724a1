#pragma once

// The delivery game: caged animals wait at the loading area, each marked with the shape and colour of
// its house on the street. The child clicks an animal and the truck fetches it, then a house and the
// truck drives there; the right house takes the animal in, a wrong one is said to be wrong and the truck
// waits there. When no animal is left the game ends. One round.

#include "framework/ObjectID.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/MiniGameMode.h"

#include <vector>

namespace Yardcrew
{

class HereToThereCart;
class HereToThereObject;
class HereToThereTarget;
class PlayfieldObject;

class HereToThereMode final : public MiniGameModeOf<HereToThereLevel>
{
public:
    HereToThereMode();

    // The base's set-up, then the playfield opens: this game has no introduction but its pop-up.
    void Setup() override;

    // Ends the game once the last animal is gone.
    void checkLevelEnd();
    // The win voice, then the end of the level; once.
    void playOutroAnimation();

    HereToThereCart* getCart() const;
    // The animals and houses still there, in the order they were made (animals by spot, houses the
    // animals' own first).
    std::vector<HereToThereObject*> getAnimals() const;
    std::vector<HereToThereTarget*> getHouses() const;
    bool getMatchColor() const { return mMatchColor; }

protected:
    void initializeLevel(const HereToThereLevel& level) override;

private:
    void initializeTargetBuildings(const HereToThereLevel& level);
    void initializeObjects(const HereToThereLevel& level);
    void addHouse(const HereToThereMark& mark, int plot);
    void animalPressed(HereToThereObject* animal);
    void housePressed(HereToThereTarget* house);
    void cartArrived(PlayfieldObject* at);
    void performDeliveryCheck(HereToThereTarget* house);

    bool mMatchColor = false;
    Strata::ObjectID mCart;
    std::vector<Strata::ObjectID> mAnimals;
    std::vector<Strata::ObjectID> mHouses;
};

} // namespace Yardcrew

#pragma once

// The counting game: a tipper drives in and asks for a number of items of one material; the child
// clicks the pile that holds exactly that. The digger fetches the right pile round to the tipper, which
// drives off and ends the round; for a wrong pile it drives there while the game says what is wrong.

#include "framework/ObjectID.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/MiniGameMode.h"

#include <vector>

namespace Yardcrew
{

class DraggableMaterial;
class MaterialLoader;
class MaterialTarget;

class CountTheMaterialsMode final : public MiniGameModeOf<CountTheMaterialsLevel>
{
public:
    // A run starts with (true, -1); each next round is made with (false, the rounds left).
    CountTheMaterialsMode(bool firstRound, int roundsLeft);

    // The base's set-up; then a press on the mask still reaches the vehicles under it.
    void Setup() override;

    // Judges a press on a pile.
    void MaterialClicked(DraggableMaterial* pile);
    // Says why the pile is not the one asked for: the kind first, then too few or too many.
    void playIncorrectMaterialVO(DraggableMaterial* pile);
    // Speaks the request again, cutting off whatever voice is playing.
    void playAudioRequest();

    // The pile in that place (0 to 4); null for an empty place.
    DraggableMaterial* getPile(size_t place) const;
    MaterialTarget* getTipper() const;
    MaterialLoader* getDigger() const;

protected:
    void initializeLevel(const CountTheMaterialsLevel& level) override;

private:
    void playIntroAnimation();
    void playOutroAnimation(DraggableMaterial* pile);
    void playWrongClickAnimation(DraggableMaterial* pile);
    void queueSpokenRequest() const;
    void forwardMaskedPress(int x, int y);

    // The round's level, copied when it is built.
    CountTheMaterialsLevel mRound;
    Strata::ObjectID mTipper;
    Strata::ObjectID mDigger;
    std::vector<Strata::ObjectID> mPiles;
};

} // namespace Yardcrew

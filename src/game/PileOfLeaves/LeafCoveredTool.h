#pragma once

// One tool lying under the leaves: a picture of its kind in its colour that lights up under the pointer
// and reports a press through its pressed signal; the game judges it. Found, it takes no more clicks and
// flies spinning to the request box, then says so through its arrived signal.

#include "core/Vector2.h"
#include "game/PlayfieldObject.h"
#include "game/YardcrewNames.h"

namespace Yardcrew
{

class LeafCoveredTool final : public PlayfieldObject
{
public:
    // Builds the tool from "LeafCoveredToolLayout" with the kind's picture in the colour.
    LeafCoveredTool(YardcrewColor color, YardcrewTool kind);

    // "PileOfLeaves_Tool".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    YardcrewColor getColor() const { return mColor; }
    YardcrewTool getKind() const { return mKind; }
    bool isFound() const { return mFound; }
    Strata::SceneNode* getImageNode() const;

    // The wrong one: it wobbles, from the start when it already did.
    void wobble();
    // The right one: it stops taking clicks and hovering, moves to `layer` where it stands and flies to
    // `destination` (in the layer's coordinates) at `speed` pixels a second, turning a quarter turn each
    // sixteenth of the way, and lands upright. A flight of no length or no speed lands at once, and one too
    // short for a quarter turn of a millisecond does not turn.
    void flyToLocation(Strata::SceneNode* layer, const Strata::Vector2<float>& destination, float speed);

private:
    void showHighlight(bool show);

    YardcrewColor mColor;
    YardcrewTool mKind;
    bool mFound = false;
};

} // namespace Yardcrew

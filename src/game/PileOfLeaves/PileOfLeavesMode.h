#pragma once

// The tool-finding game: tools of four colours lie under a pile of leaves that slide away from the
// pointer. The request box shows one tool and the voice names its colour and kind; the right tool flies
// spinning into the box, a wrong one wobbles. After "RepeatedGameNumLoops" + 1 finds (or when no tool
// is left to ask for) the game ends. All requests are played by one instance.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/YardcrewNames.h"

#include <vector>

namespace Yardcrew
{

class Leaf;
class LeafCoveredTool;

class PileOfLeavesMode final : public MiniGameModeOf<PileOfLeavesLevel>
{
public:
    explicit PileOfLeavesMode(bool firstRound = true, int roundsLeft = -1);

    // Makes `count` tools (at most kPileOfLeavesMaxTools) and places them on the field without
    // overlapping; a tool that finds no place after a bounded number of tries is left out and logged.
    void generateTools(int count);
    // Scatters `areaLeaves` leaves over the field, spaced apart, then `leavesPerTool` around each tool.
    void hideTools(int leavesPerTool, int areaLeaves);
    void createLeaf(int x, int y);
    void createAnimatedLeaf();
    void playIntroAnimation();
    // The win voice, then the end of the level; once.
    void playOutroAnimation();
    void startLeafMouseTracking();
    // Asks for the first tool not found yet; with none left the game ends.
    void setToolToFind();
    void playDogAnimation(const char* animation);
    Strata::Vector2<float> getCorrectClickFlyDest() const;
    // The found tool has landed in the request box.
    void correctToolClicked(LeafCoveredTool* tool);

    YardcrewColor getColorToFind() const { return mColorToFind; }
    YardcrewTool getToolToFind() const { return mToolToFind; }
    int getRequestsLeft() const { return mRequestsLeft; }
    int getCursorRadius() const { return mCursorRadius; }
    // The tools still there, in the order they were made, and every pile leaf.
    std::vector<LeafCoveredTool*> getTools() const;
    std::vector<Leaf*> getLeaves() const;

protected:
    void initializeLevel(const PileOfLeavesLevel& level) override;

private:
    void toolPressed(LeafCoveredTool* tool);
    bool placeTool(LeafCoveredTool& tool);

    YardcrewColor mColorToFind = YardcrewColor_None;
    YardcrewTool mToolToFind = YardcrewTool_None;
    int mCursorRadius = 0;
    int mRequestsLeft;
    std::vector<Strata::ObjectID> mTools;
    std::vector<Strata::ObjectID> mLeaves;
};

} // namespace Yardcrew

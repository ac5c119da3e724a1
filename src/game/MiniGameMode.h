#pragma once

// The part of a mini-game mode that every game repeats, read from a small description the game gives
// once: its layout, cursor, input mask, depth-sorted layer, music, level and rounds. A game derives
// from MiniGameModeOf<its level record>, builds its round from the checked record in initializeLevel,
// makes its playfield objects with addPlayfieldObject and connects their signals.

#include "core/Label.h"
#include "framework/ObjectID.h"
#include "framework/ResourceDescriptor.h"
#include "game/GameModeTypes.h"
#include "game/IntroForemanState.h"
#include "game/YardcrewGameMode.h"
#include "scene/NodePath.h"
#include "scene/SceneLayoutController.h"

#include <boost/signals2/connection.hpp>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace Strata
{
class Object;
class SceneNode;
} // namespace Strata

namespace Yardcrew
{

class PlayfieldObject;

struct sMiniGameDescription
{
    GameModeType type = GameModeType_Count;
    // The mode's class name, which the missing-level notice names.
    const char* modeName = nullptr;
    // The game Label: hints, music and instructions.
    const char* label = nullptr;
    // The scene layout instantiated under the mode's root.
    const char* layout = nullptr;
    const char* cursor = nullptr;
    const char* cursorHotSpot = nullptr;
    // The playfield's child that swallows clicks while shown; null for none.
    const char* inputMask = nullptr;
    // The playfield's child whose children are depth-sorted before each draw; null for none.
    const char* sortedLayer = nullptr;
    // The default pose is replaced by the game's own (IntroForemanStateFor its type) when described.
    IntroForemanState introState = IntroForemanState_Default;
    // Rounds counted by "RepeatedGameNumLoops" (the pop-up shows in the first only); else one round.
    bool repeating = false;
    // The game plays an introduction first and opens the instruction pop-up itself (showInstructions).
    bool instructionsAfterIntro = false;
    // With no playable level the notice shows and the playfield stays empty; a game may still open its
    // instruction pop-up (and play its introduction in startWithoutLevel), or keep its music off.
    bool instructionsWithoutLevel = false;
    bool musicWithoutLevel = true;
    // Whether a filed level can be played (the level record is there and sound); null: every one.
    bool (*isPlayable)(Strata::Label level) = nullptr;
    // The next round's mode, given the rounds left after this one.
    std::unique_ptr<YardcrewGameMode> (*nextRound)(int roundsLeft) = nullptr;
};

class MiniGameMode : public YardcrewGameMode
{
public:
    ~MiniGameMode() override;

    // Instantiates the layout, hooks the depth sort, makes the mask swallow clicks, starts the game's
    // music and draws a level of the current difficulty. A missing or unplayable level shows the
    // missing-level notice and leaves an empty playfield with the back button (and the pop-up, music
    // and introduction the description asks for then); otherwise the instruction pop-up is set up and
    // startLevel builds the round.
    void Setup() override;
    // With no playable level the back button leaves at once (leaveGame), there being nothing to lose.
    void ReceiveMessage(const Strata::ObjectMessage& message) override;
    // With no playable level F5 reads the game's levels again from its manifest and starts the game
    // afresh, as the notice says; an unregistered game stays as it is, with a log line.
    Strata::MessageResult OnKeyDown(int key) override;
    // Replays the still pointer, so hover states follow nodes that move under it.
    void Update(float dt) override;
    // Replaces the game with its next round through the level manager's queue.
    void refreshMode() override;
    void setupCursor() override;

    // Shows (true) or hides the input mask at once; games bind it into their chains.
    void maskMouseInput(bool mask);
    // The mask node; null when the game has none or its layout lacks it.
    Strata::SceneNode* getInputMask() const;
    // Appends to the chain the end of the round, which runs once everything queued before has played:
    // the next round while rounds are left, else the end of the level.
    void queueEndOfRound(Strata::Object& chain);

    // The playfield objects made with addPlayfieldObject that are still alive, in the order made.
    std::vector<PlayfieldObject*> getPlayfieldObjects() const;

    int getRoundsLeft() const { return mRoundsLeft; }
    bool isFirstRound() const { return mFirstRound; }
    Strata::Label getLevel() const { return mLevel; }

protected:
    // `description` must outlive the mode (a static of the game). A repeating game passes the round
    // arguments it was made with.
    explicit MiniGameMode(const sMiniGameDescription& description, bool firstRound = true, int roundsLeft = -1);

    // Whether the chosen level can be played: the description's check (none: every level).
    virtual bool acceptLevel(Strata::Label level);
    // Builds the round from the level acceptLevel took.
    virtual void startLevel() = 0;
    // What the game still plays on an empty playfield when no playable level was found.
    virtual void startWithoutLevel() {}
    // The level to play: by default one drawn from the level manager at the current difficulty; a game
    // told its level from outside names it here. The null label when there is none.
    virtual Strata::Label chooseLevel();
    // The instruction pop-up and the Help and Quit buttons, for a game whose introduction comes first.
    void showInstructions();

    // Makes a playfield object and adds it with its nodes under `parent`; the mode's database owns it
    // from then on. A null parent, or an object that cannot be added, is logged under `place` and
    // gives null.
    template <class T, class... Args>
    T* addPlayfieldObject(Strata::SceneNode* parent, std::string_view place, Args&&... args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        if (parent == nullptr || !object->AddToScene(this, parent))
        {
            reportMissingPlace(place);
            return nullptr;
        }
        mPlayfieldObjects.push_back(object->GetID());
        return object.release();
    }

private:
    void reportMissingPlace(std::string_view place) const;

    const sMiniGameDescription& mDescription;
    bool mFirstRound;
    int mRoundsLeft;
    Strata::Label mLevel;
    bool mWithoutLevel = false;
    std::vector<Strata::ObjectID> mPlayfieldObjects;
    boost::signals2::scoped_connection mSortConnection;
};

// The mode of a game whose levels are `Level` records (game/GameLevelReaders.h): the base finds the
// chosen level's record once and hands it, checked, to initializeLevel. A level filed without such a
// record counts as missing.
template <class Level>
class MiniGameModeOf : public MiniGameMode
{
protected:
    using MiniGameMode::MiniGameMode;

    // Builds the round from the checked level; the record stays valid while the mode lives.
    virtual void initializeLevel(const Level& level) = 0;
    // The level being played; null when none was playable.
    const Level* getLevelRecord() const { return mRecord.Get(); }

private:
    bool acceptLevel(Strata::Label level) final
    {
        mRecord = Strata::AutoResource<Level>(level);
        if (mRecord.Get() != nullptr && MiniGameMode::acceptLevel(level))
            return true;
        mRecord = Strata::AutoResource<Level>(Strata::Label());
        return false;
    }
    void startLevel() final { initializeLevel(*mRecord.Get()); }

    Strata::AutoResource<Level> mRecord{Strata::Label()};
};

// The playable check of a game whose levels are `Level` records (game/GameLevelReaders.h): the record
// exists and its own check finds nothing wrong.
template <class Level>
bool IsPlayableLevel(Strata::Label level)
{
    const Strata::AutoResource<Level> data(level);
    return data.Get() != nullptr && data->Validate().empty();
}

} // namespace Yardcrew

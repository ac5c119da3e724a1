#pragma once

#include "core/Label.h"
#include "framework/ObjectID.h"
#include "game/IntroForemanState.h"
#include "game/LevelManager.h"
#include "scene/SceneApplicationMode.h"

#include <cstdint>
#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

// The base of every mini-game mode: the spoken hint that repeats while the child does nothing useful,
// the Help and Quit buttons below "GameScreenRoot"/"UI_attach", the instruction pop-up, nodes that
// swallow mouse input, the default cursor on leaving, and the end of the level (a sticker, then the
// reward, the story's next step or the free-play chooser), which runs once per game however often it
// is asked for.
//
// A mini-game builds its scene in Setup, calls setupMouseInputEatingNode on its input masks, binds
// setupInstructionMode into a task after its intro, calls resetHintTimer as the child works and
// endLevel after its outro.
class YardcrewGameMode : public Strata::SceneApplicationMode
{
public:
    YardcrewGameMode();
    ~YardcrewGameMode() override;

    // Help opens the instruction pop-up; Quit asks for the quit confirmation.
    void ReceiveMessage(const Strata::ObjectMessage& message) override;
    // The database's own key routing (focus, then input targets), not the scene's.
    Strata::MessageResult OnKeyDown(int key) override;
    // Silences effects and voice.
    void Destroy() override;
    // Arms hint 1 and sets the game's cursor; runs again each time a pop-up above closes.
    void Enter() override;
    // Puts the default cursor back ("cursor_default" at "DefaultCursorRegPt").
    void Exit() override;

    // Replaces the game with a fresh instance of itself, which draws its level again.
    virtual void refreshMode() = 0;
    // Sets the game's own cursor.
    virtual void setupCursor() = 0;
    // Keeps the game and pose for the Help button, pushes the pop-up when asked, shows Help and Quit.
    virtual void setupInstructionMode(Strata::Label game, IntroForemanState state, bool showPopUp);

    // Re-arms the hint timer: hint n after 30 seconds (n <= 1) or 25 seconds, and again at that
    // interval until the next call. A hint about to be due is cancelled.
    void resetHintTimer(int n);
    // Plays the current hint and re-arms the timer with it.
    void playHint();
    // Makes "HelpButton" and "QuitButton" below the UI layer visible; missing nodes are skipped.
    void showUIButtons();
    // Makes "QuitButton" alone visible: the way out of a game with nothing to play.
    void showQuitButton();
    // Makes the node take every click and hover that reaches it, so nothing beneath gets them; a press
    // on it while an item is carried leaves the item in hand (HeldItem).
    void setupMouseInputEatingNode(Strata::SceneNode* node);
    // Whether `node` is one of those (null is not).
    bool eatsMouseInput(const Strata::SceneNode* node) const;
    void eatMouseInput() {}
    // Unlocks a sticker and moves on: the reward when one was drawn (or the book is newly complete),
    // else the story's next step, else (free play) back to the chooser. Only the first call acts.
    void endLevel();
    // Leaves without a sticker for where the game was started from: the free-play chooser in free
    // play, else the main menu. Acts once, as endLevel does (and not after it).
    void leaveGame();

    int getHintNumber() const { return mHintNumber; }
    Strata::Label getGame() const { return mGame; }
    IntroForemanState getIntroState() const { return mIntroState; }
    bool hasLevelEnded() const { return mLevelEnded; }
    Strata::ObjectID getSequenceObjectID() const { return mSequenceObject; }

protected:
    // True for the first way out of the mode (endLevel, leaveGame or the game's own), so that a double
    // click or a click racing an outro moves the player on once.
    bool leaveOnce();

    int32_t mHintNumber = 0;
    // The derived games queue their intro, outro and other timed steps on it.
    Strata::ObjectID mSequenceObject;
    // Holds nothing but the hint timer's wait and call.
    Strata::ObjectID mHintTimerObject;
    // Set by the derived games when their outro begins, so it never starts twice.
    bool mOutroStarted = false;
    Strata::Label mGame;
    IntroForemanState mIntroState = IntroForemanState_Default;

private:
    bool mLevelEnded = false;
    StoryStepGuard mStoryStep;
    std::vector<Strata::ObjectID> mInputEaters;
};

} // namespace Yardcrew

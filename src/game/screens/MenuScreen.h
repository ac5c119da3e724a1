#pragma once

#include "core/Label.h"
#include "game/ContentNames.h"
#include "game/StoryStepGuard.h"
#include "scene/SceneApplicationMode.h"

#include <functional>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace Strata
{
class ApplicationMode;
}

namespace Yardcrew
{

enum MusicMode : int;

// A picture or button of a screen that shows words in the profile's language: the node `node` below the
// layout's root (or its child `child`) wears `words` followed by "_EN" or "_SP".
struct sScreenWords
{
    // A localized image list for a button, a localized image for a picture.
    sContentName words;
    const char* node;
    const char* child = nullptr;
};

// One image per button state, at most five: a button takes a list of six or more for a stretched strip.
constexpr sScreenWords ButtonWords(const char* button, const char* images)
{
    return {{ContentKind_LocalizedImageList, images, 1, 5}, button};
}

constexpr sScreenWords PictureWords(const char* image, const char* node, const char* child = nullptr)
{
    return {{ContentKind_LocalizedImage, image}, node, child};
}

// What a menu screen is made of. Every name a screen's code asks for is here, so the content check
// reads the same names the screen uses (ScreenContentNames).
struct sMenuScreen
{
    // Names the screen in the log line of a missing layout.
    const char* screen;
    // The scene layout instantiated under the scene root.
    const char* layout;
    // Shown on entry, and again after a change of language.
    std::span<const sScreenWords> words = {};
    // Set on entry; 0 (MusicMode_None) leaves the music that plays.
    MusicMode music = {};
    // A voice spoken on entry; none when null.
    const char* prompt = nullptr;
    // The other names the screen's own code asks for.
    std::span<const sContentName> more = {};
};

// Every name of the description, for the content check.
std::vector<sContentName> ScreenContentNames(const sMenuScreen& screen);

// The skeleton of the menus and pop-ups: the layout with its missing-layout log line, words in the
// profile's language, music and a spoken prompt on entry, a table from widget name to action instead of
// a chain of name comparisons, and one once-only guard for every way of leaving. Once the screen has
// left (closed, unwound, moved the story on) it takes no more clicks, so a double click, or a click in
// the frame a timer fires, acts once.
class MenuScreen : public Strata::SceneApplicationMode
{
public:
    // The description is copied; the names it points to are static tables.
    explicit MenuScreen(const sMenuScreen& screen);

    // Instantiates the layout; a missing layout is logged and leaves the screen empty (its music, voice
    // and timers still work).
    void Setup() override;
    // Words, music and prompt; a screen that left by pushing one over itself takes clicks again.
    void Enter() override;
    // Calls the action of the widget that sent the message, unless the screen has left; messages from
    // widgets without an action, or from objects that are gone, are ignored.
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

    bool HasLeft() const { return mLeaving.IsTaken(); }

protected:
    // `action` runs when the widget of that object name sends `message`.
    void OnWidget(const char* message, const char* widget, std::function<void()> action);
    void OnButton(const char* button, std::function<void()> action)
    {
        OnWidget("ButtonClick", button, std::move(action));
    }

    // The instantiated layout's root (owned by the scene root); null when the layout is missing.
    Strata::SceneNode* Screen() const { return mScreen; }
    // Shows the words of the description in the profile's language.
    void ShowWords();

    // Each way of leaving takes the one guard and is refused (false, nothing done) once it is taken.
    // Takes the guard with nothing more, for a screen that leaves in its own way.
    bool Leave() { return mLeaving.Take(); }
    // Pops this screen.
    bool Close();
    // Unwinds to `mode`; a null mode is logged and leaves the guard untaken.
    bool UnwindTo(std::unique_ptr<Strata::ApplicationMode> mode);
    // Pushes `mode` over this screen; the guard is given back when this screen is entered again.
    bool PushOver(std::unique_ptr<Strata::ApplicationMode> mode);
    // Starts the story's next step.
    bool BeginNextStep() { return mLeaving.beginNextStep(); }

private:
    struct sWidgetAction
    {
        Strata::Label message;
        Strata::Label widget;
        std::function<void()> action;
    };

    sMenuScreen mDescription;
    Strata::SceneNode* mScreen = nullptr;
    std::vector<sWidgetAction> mActions;
    StoryStepGuard mLeaving;
    bool mCovered = false;
};

} // namespace Yardcrew

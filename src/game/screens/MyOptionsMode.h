#pragma once

#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// The options pop-up: language ("EnglishRadio", "SpanishRadio"), sound on or off ("SoundCheck"),
// the music and effects volumes ("MusicSlider", "EffectsSlider") and the window ("WindowedRadio",
// "FullScreenRadio"). Changes apply at once; "DoneButton" saves them into the account and closes.
class MyOptionsMode : public Strata::SceneApplicationMode
{
public:
    // Instantiates "MyOptionsLayout" and shows the current settings.
    void Setup() override;
    void Enter() override;
    bool IsOpaque() override { return false; }
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

private:
    void showSettings();

    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    bool mClosing = false;
};

// Switches the profile's language: stores "EnglishLanguage", then, when it changed, empties the voice
// queue, unloads the old voice manifest and loads the new one. Returns false when the new voices could
// not be loaded (logged; the choice stays stored, so the next start loads them).
bool SetProfileLanguage(bool english);

} // namespace Yardcrew

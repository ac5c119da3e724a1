#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The options pop-up: language ("EnglishRadio", "SpanishRadio"), sound on or off ("SoundCheck"),
// the music and effects volumes ("MusicSlider", "EffectsSlider") and the window ("WindowedRadio",
// "FullScreenRadio"). Changes apply at once; "DoneButton" saves them into the account and closes.
class MyOptionsMode : public MenuScreen
{
public:
    MyOptionsMode();

    // Instantiates "MyOptionsLayout" and shows the current settings.
    void Setup() override;
    bool IsOpaque() override { return false; }
    // Keeps the window radios showing the window's mode, whatever changed it.
    void Update(float dt) override;

    static const sMenuScreen kScreen;

private:
    void showSettings();
    void showWindowMode();
    void ChooseLanguage(bool english);
    void ChooseWindow(bool windowed);
    void SwitchSound();
    void ApplyVolume(const char* slider, bool music);
    void SaveAndClose();
};

// Switches the profile's language: stores "EnglishLanguage", then, when it changed, empties the voice
// queue, unloads the old voice manifest and loads the new one. Returns false when the new voices could
// not be loaded (logged; the choice stays stored, so the next start loads them).
bool SetProfileLanguage(bool english);
// After a change of account: the voices loaded become those of the new account's language (nothing is
// loaded before the start-up has loaded voices). Returns false when they could not be loaded (logged).
bool LoadAccountLanguageVoices();

} // namespace Yardcrew

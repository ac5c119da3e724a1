#pragma once

// The mini-game kit: what every game's folder fills in the same way from its mode and level reader
// types, so the game's own file gives only its names and settings.

#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/MiniGameMode.h"

#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

namespace Yardcrew
{

// The next round of a game: a later round, Mode(false, roundsLeft), of a mode made with its round
// arguments (the pop-up stays shut); a fresh mode of any other.
template <class Mode>
std::unique_ptr<YardcrewGameMode> MakeNextRound(int roundsLeft)
{
    if constexpr (std::is_constructible_v<Mode, bool, int>)
        return std::make_unique<Mode>(false, roundsLeft);
    else
        return std::make_unique<Mode>();
}

// A game's one record: its type and Label, and only what differs from what follows from those and from
// the names its content header declares. By default the mode name and the manifest are "<Label>Mode",
// the level tag "<Label>Level", the story name the Label; the layout, cursor, hot spot, music and hints
// are the content header's conventional names (a later hint defaults to the first), and the content
// list is every name the header declares.
struct sMiniGameRecord
{
    GameModeType type = GameModeType_Count;
    const char* label = nullptr;
    // The content namespace's List(), for a game that builds names besides those it declares.
    std::span<const sContentName> (*content)() = nullptr;
    const char* modeName = nullptr;
    const char* storyName = nullptr;
    const wchar_t* levelTag = nullptr;
    // The mode's own settings (input mask, sorted layer, rounds, pop-up, checks); the kit fills the rest.
    sMiniGameDescription mode{};
};

// What a game's folder fills in from its mode and level reader types (a GameLevelResourceFactory) and
// its content namespace's Declared().
template <class Mode, class LevelReader, const sDeclaredContent& (*Declared)()>
struct MiniGameKit
{
    // The game's description, made once from its record (a kit serves one game): the record's settings
    // and names, with what it left null filled in: the playable check of its level record, the next
    // round of its mode and the introduction pose of its type.
    static const sMiniGameDescription& Describe(const sMiniGameRecord& record)
    {
        static const sMiniGameDescription description = [&]
        {
            const Spelling& spelled = Spell(record);
            const sDeclaredContent& names = Declared();
            sMiniGameDescription made = record.mode;
            made.type = record.type;
            made.modeName = spelled.modeName.c_str();
            made.label = record.label;
            made.layout = NameOf(names.layout);
            made.cursor = NameOf(names.cursor);
            made.cursorHotSpot = NameOf(names.cursorHotSpot);
            if (made.isPlayable == nullptr)
                made.isPlayable = IsPlayableLevel<typename LevelReader::LevelType>;
            if (made.nextRound == nullptr)
                made.nextRound = MakeNextRound<Mode>;
            if (made.introState == IntroForemanState_Default)
                made.introState = IntroForemanStateFor(made.type);
            return made;
        }();
        return description;
    }

    // Registers the game of that record, with its level reader and mode constructor. Fails as
    // RegisterGame does.
    static bool Register(const sMiniGameRecord& record)
    {
        static_assert(std::is_base_of_v<MiniGameModeOf<typename LevelReader::LevelType>, Mode>,
                      "the mode plays the records its level reader makes");
        const sMiniGameDescription& mode = Describe(record);
        const Spelling& spelled = Spell(record);
        const sDeclaredContent& names = Declared();
        const char* firstHint = NameOf(names.firstHint);
        return RegisterGame({.type = mode.type,
                             .label = mode.label,
                             .storyName = record.storyName != nullptr ? record.storyName : mode.label,
                             .manifest = spelled.manifest.c_str(),
                             .levelTag = spelled.levelTag.c_str(),
                             .makeLevelReader = [] { return std::make_unique<LevelReader>(); },
                             .makeMode = MakeGameModeConstructor<Mode>(),
                             .firstHint = firstHint,
                             .laterHint = names.laterHint != nullptr ? names.laterHint->name : firstHint,
                             .music = NameOf(names.music),
                             .content = record.content != nullptr ? record.content() : names.names,
                             .description = &mode});
    }

private:
    // The names that follow from the Label, kept for the life of the program.
    struct Spelling
    {
        std::string modeName;
        std::wstring manifest;
        std::wstring levelTag;
    };

    static const Spelling& Spell(const sMiniGameRecord& record)
    {
        static const Spelling spelled = [&]
        {
            const std::string label = record.label != nullptr ? record.label : "";
            const std::string modeName = record.modeName != nullptr ? record.modeName : label + "Mode";
            const std::string levelTag = label + "Level";
            // Labels and mode names are plain ASCII.
            return Spelling{modeName, std::wstring(modeName.begin(), modeName.end()),
                            record.levelTag != nullptr ? record.levelTag
                                                       : std::wstring(levelTag.begin(), levelTag.end())};
        }();
        return spelled;
    }

    static const char* NameOf(const sContentName* name) { return name != nullptr ? name->name : nullptr; }
};

} // namespace Yardcrew

// Defines a game's two entry points from the kit `Kit` and the record `kRecord` of the file that uses it:
// <Game>Description(), which its mode hands the base, and Register<Game>(), which the list of games calls.
#define YARDCREW_MINI_GAME_ENTRY_POINTS(Game)                                                                          \
    const sMiniGameDescription& Game##Description()                                                                    \
    {                                                                                                                  \
        return Kit::Describe(kRecord);                                                                                 \
    }                                                                                                                  \
    void Register##Game()                                                                                              \
    {                                                                                                                  \
        Kit::Register(kRecord);                                                                                        \
    }

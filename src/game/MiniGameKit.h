#pragma once

// The mini-game kit: what every game's folder fills in the same way from its mode and level reader
// types, so the game's own file gives only its names and settings.

#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/MiniGameMode.h"

#include <memory>
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

// What a game's folder fills in from its mode and level reader types (a GameLevelResourceFactory).
template <class Mode, class LevelReader>
struct MiniGameKit
{
    // The game's description with what it left null filled in: the playable check of its level record
    // and the next round of its mode.
    static sMiniGameDescription Describe(sMiniGameDescription description)
    {
        if (description.isPlayable == nullptr)
            description.isPlayable = IsPlayableLevel<typename LevelReader::LevelType>;
        if (description.nextRound == nullptr)
            description.nextRound = MakeNextRound<Mode>;
        if (description.introState == IntroForemanState_Default)
            description.introState = IntroForemanStateFor(description.type);
        return description;
    }

    // Registers the game `mode` describes under its type and label, with its level reader and mode
    // constructor; a null story name is the label, a null later hint the first. Fails as RegisterGame
    // does.
    static bool Register(const sMiniGameDescription& mode, sGameRegistration game)
    {
        static_assert(std::is_base_of_v<MiniGameModeOf<typename LevelReader::LevelType>, Mode>,
                      "the mode plays the records its level reader makes");
        game.type = mode.type;
        game.label = mode.label;
        if (game.storyName == nullptr)
            game.storyName = mode.label;
        if (game.laterHint == nullptr)
            game.laterHint = game.firstHint;
        game.makeLevelReader = [] { return std::make_unique<LevelReader>(); };
        game.makeMode = MakeGameModeConstructor<Mode>();
        return RegisterGame(std::move(game));
    }
};

} // namespace Yardcrew

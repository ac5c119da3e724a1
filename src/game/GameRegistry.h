#pragma once

// One registration per mini-game. A game's folder says once what the rest of the program needs of it
// and registers it with one call from the list of games; the level manager's game-type names, the level
// readers, the mode constructors, the start-up manifests and the audio manager's hint and music rows
// are all read from here. The registry names no game: adding one is its folder, its GameModeType value
// and one line in the list of games (src/game/CMakeLists.txt).

#include "core/Label.h"
#include "game/ContentNames.h"
#include "game/GameModeTypes.h"
#include "game/LevelManager.h"

#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace Strata
{
class IResourceFactory;
class ResourceManager;
} // namespace Strata

namespace Yardcrew
{

struct sMiniGameDescription;

struct sGameRegistration
{
    GameModeType type = GameModeType_Count;
    // The game Label: the key of its hints, its music and its instruction pop-up.
    const char* label = nullptr;
    // What the story's steps call the game (not always its label).
    const char* storyName = nullptr;
    // The manifest of its resources, loaded at start-up in registration order.
    const wchar_t* manifest = nullptr;
    // The manifest element of its levels and the reader that files them.
    const wchar_t* levelTag = nullptr;
    std::function<std::unique_ptr<Strata::IResourceFactory>()> makeLevelReader{};
    // Empty while the game is not built: the story passes it over and free play greys it out.
    GameModeConstructor makeMode{};
    // Hint 1 and every later hint; null for a game without spoken hints.
    const char* firstHint = nullptr;
    const char* laterHint = nullptr;
    // The in-game track; null for none.
    const char* music = nullptr;
    // The names the game's code asks for, for the content check.
    std::span<const sContentName> content{};
    // What its mode is made from (game/MiniGameMode.h); null for a game registered without the kit.
    const sMiniGameDescription* description = nullptr;
};

// Adds a game. Refused with a log line, changing nothing, for a type out of range, a type, label or
// story name already registered, or a description without label, story name, manifest, level tag or
// level reader.
bool RegisterGame(sGameRegistration game);
// Registers every game, in start-up manifest order, with its content list and the game base's shared
// list. Only the first call does anything.
void RegisterGames();
// Calls each listed game's registration, in start-up manifest order. Written by the build from the
// list of games, outside the core; RegisterGames calls it.
void RegisterGameList();

// The registered games in registration order (RegisterGames has run).
const std::vector<sGameRegistration>& GetRegisteredGames();
// The game of that type or Label; null when none is registered.
const sGameRegistration* FindRegisteredGame(GameModeType type);
const sGameRegistration* FindRegisteredGame(Strata::Label label);
// The story names of the registered games, in registration order.
const std::vector<LevelManager::GameTypeName>& GetRegisteredGameTypeNames();

// Every registered game's level reader into the resource manager (under its level tag) and every
// built game's constructor into the level manager.
void InstallRegisteredGames(Strata::ResourceManager& resources, LevelManager& levels);

} // namespace Yardcrew

#include "game/GameRegistry.h"

#include "core/Log.h"
#include "framework/ResourceManager.h"
#include "game/MiniGameContent.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace Yardcrew
{

namespace
{

struct Registry
{
    std::vector<sGameRegistration> games;
    std::vector<LevelManager::GameTypeName> storyNames;
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}

bool SameName(const char* a, const char* b)
{
    return Strata::Label(a) == Strata::Label(b);
}

void RegisterEveryGame()
{
    RegisterGameList();
    RegisterMiniGameBaseContent(GetRegistry().games);
}

} // namespace

bool RegisterGame(sGameRegistration game)
{
    Registry& registry = GetRegistry();
    const char* problem = nullptr;
    if (game.type < 0 || game.type >= GameModeType_Count)
        problem = "its type is out of range";
    else if (game.label == nullptr || game.storyName == nullptr || game.manifest == nullptr ||
             game.levelTag == nullptr || !game.makeLevelReader)
        problem = "its description is incomplete";
    else if (std::any_of(registry.games.begin(), registry.games.end(),
                         [&](const sGameRegistration& known) {
                             return known.type == game.type || SameName(known.label, game.label) ||
                                    SameName(known.storyName, game.storyName);
                         }))
        problem = "it is registered already";
    if (problem != nullptr)
    {
        Strata::Internal::LogWrite("The game \"%s\" (type %d) is not registered: %s\n",
                                   game.label != nullptr ? game.label : "", static_cast<int>(game.type), problem);
        return false;
    }
    if (!game.content.empty())
        RegisterContentList({game.label, game.content});
    registry.storyNames.push_back({game.storyName, game.type});
    registry.games.push_back(std::move(game));
    return true;
}

void RegisterGames()
{
    static std::once_flag once;
    std::call_once(once, RegisterEveryGame);
}

const std::vector<sGameRegistration>& GetRegisteredGames()
{
    RegisterGames();
    return GetRegistry().games;
}

const sGameRegistration* FindRegisteredGame(GameModeType type)
{
    const std::vector<sGameRegistration>& games = GetRegisteredGames();
    const auto found =
        std::find_if(games.begin(), games.end(), [type](const sGameRegistration& game) { return game.type == type; });
    return found != games.end() ? &*found : nullptr;
}

const sGameRegistration* FindRegisteredGame(Strata::Label label)
{
    const std::vector<sGameRegistration>& games = GetRegisteredGames();
    const auto found =
        std::find_if(games.begin(), games.end(),
                     [label](const sGameRegistration& game) { return Strata::Label(game.label) == label; });
    return found != games.end() && !label.IsNull() ? &*found : nullptr;
}

const std::vector<LevelManager::GameTypeName>& GetRegisteredGameTypeNames()
{
    RegisterGames();
    return GetRegistry().storyNames;
}

void InstallRegisteredGames(Strata::ResourceManager& resources, LevelManager& levels)
{
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        resources.AddResourceFactory(game.levelTag, game.makeLevelReader().release());
        if (game.makeMode)
            levels.setGameModeConstructor(game.type, game.makeMode);
    }
}

} // namespace Yardcrew

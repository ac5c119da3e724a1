#pragma once

// What the level-reader fuzz targets share: arbitrary bytes read as one level element by a game's
// level reader and, when the reader files the level, played through the game's own mode over the
// committed data/ (game/LevelPlayer.h), so a level the reader accepts but the mode cannot play is found.

#include "FuzzSupport.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "game/GameModeTypes.h"
#include "game/LevelPlayer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Strata::Fuzzing
{

// The level record the game's reader made of the first element of the bytes (null when there is no
// element), after its mode has played it when it was filed. The player is made at the first call.
template <class Level>
std::shared_ptr<const ResourceWrapper<Level>> ReadAndPlayLevel(Yardcrew::GameModeType type, const uint8_t* data,
                                                               size_t size)
{
    static GameTesting::LevelPlayer* const player = [type]
    {
        auto* made = new GameTesting::LevelPlayer(type, STRATA_FUZZ_DATA_DIR);
        Check(made->IsLoaded());
        return made;
    }();
    Check(player->GetType() == type);
    // What the reader and the mode log is kept off the terminal: it would slow every run.
    std::string log;
    const Internal::ScopedLogCapture quiet(log);
    const std::shared_ptr<IResourceDescriptor> made = player->Read(data, size);
    if (!made)
        return nullptr;
    auto level = std::dynamic_pointer_cast<const ResourceWrapper<Level>>(made);
    Check(level != nullptr);
    return level;
}

} // namespace Strata::Fuzzing

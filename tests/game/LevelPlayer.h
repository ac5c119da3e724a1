#pragma once

// Plays a level through its game's own mode, over the committed data/ read by the engine's own loaders
// (no window, no sound card): the mode is made for the level, set up, entered, stepped as the main loop
// steps it, drawn once on the software canvas, then left and destroyed. The level fuzz targets and the
// shipped-level test share it. Holds the engine's singletons: one at a time per process.

#include "core/Label.h"
#include "framework/ResourceManager.h"
#include "game/GameModeTypes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace GameShots
{
class Session;
} // namespace GameShots

namespace Strata
{
class ApplicationMode;
} // namespace Strata

namespace GameTesting
{

class LevelPlayer
{
public:
    // The shared manifests and the game's own (its shipped levels filed), with the game's level reader
    // under its tag and a fixed random seed.
    LevelPlayer(Yardcrew::GameModeType type, const std::filesystem::path& data);
    ~LevelPlayer();
    LevelPlayer(const LevelPlayer&) = delete;
    LevelPlayer& operator=(const LevelPlayer&) = delete;

    // Every manifest loaded and the game registered with a mode.
    bool IsLoaded() const { return mLoaded; }
    Yardcrew::GameModeType GetType() const { return mType; }

    // The first element of `data` read by the game's level reader as the level "FuzzLevel", filed
    // alone, and played when the reader filed it. The record the reader made stays with the caller (null
    // when there is no element); `played` says whether the mode ran.
    std::shared_ptr<Strata::IResourceDescriptor> Read(const uint8_t* data, size_t size, bool* played = nullptr);

    // The level already loaded under that name, filed alone at `difficulty` and played.
    void Play(Strata::Label level, Yardcrew::GameModeDifficulty difficulty);

    // What a run does with the mode once it is set up and entered; by default kSteps steps.
    using Play_t = std::function<void(Strata::ApplicationMode& mode)>;

    // The game's mode made for that level ID, as a story step hands it over (the null label: as free
    // play starts it), and played whatever is filed.
    void Run(Strata::Label level, const Play_t& play = nullptr);

    // Steps of 20 ms each mode runs: past its opening tasks, well under a second of play.
    static constexpr int kSteps = 25;

private:
    Yardcrew::GameModeType mType;
    std::unique_ptr<Strata::IResourceFactory> mReader;
    std::unique_ptr<GameShots::Session> mSession;
    bool mLoaded = true;
};

} // namespace GameTesting

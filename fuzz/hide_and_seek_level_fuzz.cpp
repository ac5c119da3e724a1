// Feeds arbitrary bytes to the hide-and-seek game's level reader as one level element: whatever it
// reads, a level that passes its checks is one the game can play (the cat hides at least once per
// sequence, runs fast enough to hide within seconds, has two obstacles to run between and every picture is in its
// list) and no number in it is larger than the playfield shows or a child watches.

#include "FuzzLevel.h"

#include "game/HideAndSeek/HideAndSeekLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<HideAndSeekLevel>(GameModeType_HideAndSeek, data, size);
    if (!level)
        return 0;
    Check(level->obstacles.size() <= kHideAndSeekMaxObstacles + 1);
    if (level->Validate().empty())
    {
        Check(level->numHides <= kHideAndSeekMaxHides);
        Check(level->numPreviewHides >= 1 && level->numPreviewHides <= kHideAndSeekMaxPreviewHides);
        Check(level->runSpeed >= kHideAndSeekMinRunSpeed && level->runSpeed <= kHideAndSeekMaxRunSpeed);
        Check(level->obstacles.size() >= 2 && level->obstacles.size() <= kHideAndSeekMaxObstacles);
        for (const HideAndSeekObstacleData& obstacle : level->obstacles)
            Check(obstacle.imageID >= 0 && obstacle.imageID < kHideAndSeekObstacleImages);
    }
    return 0;
}

#pragma once

// A level of the hide-and-seek game: the obstacles on the playfield, each by its picture, how often the
// child must find the cat, how many obstacles the cat runs to in one hiding sequence (it hides behind
// the last), how fast it runs and whether its tail peeks out where it hides.
//
//   <HideAndSeekLevel name="..." difficulty="Easy" numHides="2" numPreviewHides="3" runSpeed="300"
//                     showTail="true">
//     <Obstacle imageID="0"/>   (two or more; those past the difficulty's slots are left out)
//   </HideAndSeekLevel>
//
// "numHides" (default 0) of 1 or less ends the game at the first find. "numPreviewHides" (default 0)
// must be at least 1 and "runSpeed" (pixels a second, default 0) finite and above 0. "showTail" defaults to true.
// "imageID" (default 0) is a frame of the image lists "HideAndSeekObstacle" and
// "HideAndSeekObstacle_Rollover", which hold kHideAndSeekObstacleImages frames.

#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
class IAttributeContainer;
} // namespace Strata

namespace Yardcrew
{

constexpr int32_t kHideAndSeekObstacleImages = 6;

struct HideAndSeekObstacleData
{
    int32_t imageID = 0;

    bool operator==(const HideAndSeekObstacleData&) const = default;
};

struct HideAndSeekLevel
{
    std::vector<HideAndSeekObstacleData> obstacles;
    int32_t numHides = 0;
    int32_t numPreviewHides = 0;
    float runSpeed = 0.0f;
    bool showTail = true;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    // "Obstacle" appends an obstacle; any other tag is ignored.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
};

using HideAndSeekLevelResourceFactory = GameLevelReader<HideAndSeekLevel, GameModeType_HideAndSeek>;

} // namespace Yardcrew

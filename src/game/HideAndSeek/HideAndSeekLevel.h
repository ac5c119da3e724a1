#pragma once

// A level of the hide-and-seek game: the obstacles on the playfield, each by its picture, how often the
// child must find the cat, how many obstacles the cat runs to in one hiding sequence (it hides behind
// the last), how fast it runs and whether its tail peeks out where it hides.
//
//   <HideAndSeekLevel name="..." difficulty="Easy" numHides="2" numPreviewHides="3" runSpeed="300"
//                     showTail="true">
//     <Obstacle imageID="0"/>   (two to kHideAndSeekMaxObstacles; those past the difficulty's slots are
//                               left out)
//   </HideAndSeekLevel>
//
// "numHides" (default 0) of 1 or less ends the game at the first find; above kHideAndSeekMaxHides the
// level is refused. "numPreviewHides" (default 0) is 1 to kHideAndSeekMaxPreviewHides and "runSpeed"
// (pixels a second, default 0) kHideAndSeekMinRunSpeed to kHideAndSeekMaxRunSpeed. "showTail"
// defaults to true. "imageID" (default 0) is a frame of the image lists "HideAndSeekObstacle" and
// "HideAndSeekObstacle_Rollover", which hold kHideAndSeekObstacleImages frames.

#include "game/GameLevelReaders.h"

#include <cstddef>
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
// The hard playfield's six slots, the most of any difficulty. A longer list only varies which pictures
// stand; each slot has two to choose from at most, so the reader keeps no more than that.
constexpr size_t kHideAndSeekMaxSlots = 6;
constexpr size_t kHideAndSeekMaxObstacles = 2 * kHideAndSeekMaxSlots;
// The finds of one game: each is a whole hiding sequence, so ten of the longest sequences already take
// some four minutes.
constexpr int32_t kHideAndSeekMaxHides = 10;
// The runs of one hiding sequence, which the child watches with clicks masked: at the shipped speeds a
// run between slots lasts half a second to two and a half, so ten keep the child waiting up to half a
// minute. The runs are queued when the sequence starts.
constexpr int32_t kHideAndSeekMaxPreviewHides = 10;
// At this speed the nearest slots (195 pixels apart) are 0.13 s apart, one frame of the eight-a-second run
// cycle; any faster and the cat reaches the next slot without a step of its run showing, as if it jumped.
constexpr float kHideAndSeekMaxRunSpeed = 1500.0f;
// The child watches every run with clicks masked, so even the longest run the playfield holds, its
// diagonal, ends within a few seconds; slower, a round stretches on or seems frozen.
constexpr float kHideAndSeekLongestRun = 1000.0f; // pixels, corner to corner of the 800 by 600 playfield
constexpr float kHideAndSeekLongestRunSeconds = 5.0f;
constexpr float kHideAndSeekMinRunSpeed = kHideAndSeekLongestRun / kHideAndSeekLongestRunSeconds;

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

#pragma once

#include "core/Label.h"
#include "framework/ResourceManager.h"

#include <cstdint>
#include <vector>

namespace Yardcrew
{

enum LevelProgressionEntryType : int32_t
{
    LevelProgressionEntry_Level = 0,
    LevelProgressionEntry_Cutscene = 1,
    LevelProgressionEntry_Video = 2,
};

// One story step: a mini-game (by its game-type name, optionally with a level), a cut-scene or a video.
struct LevelProgressionEntry
{
    int32_t type = LevelProgressionEntry_Level;
    Strata::Label name;
    Strata::Label levelID;
};

// A story: its steps in document order.
struct LevelProgressionData
{
    virtual ~LevelProgressionData() = default;
    std::vector<LevelProgressionEntry> entries;
};

// Reads "LevelProg" elements: every "Level", "Cutscene" and "Video" start element below the resource
// element, at any depth, becomes a step; anything else is skipped.
class LevelProgressionResourceFactory : public Strata::IResourceFactory
{
public:
    Strata::IResourceDescriptor* CreateResource(const std::wstring& manifest, Strata::Label name,
                                                const Strata::IAttributeContainer& attributes,
                                                Strata::IXMLReader& element) const override;
};

} // namespace Yardcrew

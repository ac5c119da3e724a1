#include "game/CountTheMaterials/CountTheMaterialsContent.h"

#include "game/AudioContent.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace Yardcrew::CountTheMaterialsContent
{

std::span<const sContentName> List()
{
    // A request for one says the singular words alone, so the numbers run from 2.
    static const std::span<const char* const> numberEntries = []
    {
        std::vector<std::string> entries;
        for (int n = 2; n <= kCountTheMaterialsMaxItems; ++n)
            entries.push_back(AudioContent::NumberEntry(n));
        return KeepContentNames(std::move(entries));
    }();
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        list.push_back({ContentKind_Voice, AudioContent::kNumberWords, 0, kAnyContentCount, numberEntries});
        // A pile of n items shows frame n - 1, up to the largest pile a level may hold.
        for (const auto* table : {kBuildingMaterialSpriteTypes, kBuildingMaterialRolloverSpriteTypes})
            for (int i = 0; i < BuildingMaterial_Count; ++i)
                if (std::none_of(list.begin(), list.end(),
                                 [&](const sContentName& known) { return std::strcmp(known.name, table[i]) == 0; }))
                    list.push_back({ContentKind_ImageList, table[i], kCountTheMaterialsMaxItems});
        return list;
    }();
    return names;
}

} // namespace Yardcrew::CountTheMaterialsContent

#include "game/ToolShed/ToolShedContent.h"

#include <vector>

namespace Yardcrew::ToolShedContent
{

std::span<const sContentName> List()
{
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        // The table's Labels are interned for the life of the program.
        for (const Strata::Label& sprite : kToolShedToolSpriteTypes)
            list.push_back({ContentKind_SpriteType, sprite.c_str(), 0, kAnyContentCount, kToolShedToolColorNames});
        return list;
    }();
    return names;
}

} // namespace Yardcrew::ToolShedContent

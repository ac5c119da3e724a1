#include "game/PileOfLeaves/PileOfLeavesContent.h"

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace Yardcrew::PileOfLeavesContent
{

std::span<const sContentName> List()
{
    static const std::span<const char* const> requestEntries = []
    {
        std::vector<std::string> entries;
        for (int color = 0; color < kToolColorCount; ++color)
            for (int tool = 0; tool < YardcrewTool_Count; ++tool)
                entries.push_back(
                    AudioContent::ColoredToolEntry(static_cast<YardcrewColor>(color), static_cast<YardcrewTool>(tool)));
        return KeepContentNames(std::move(entries));
    }();
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        list.push_back({ContentKind_Voice, AudioContent::kColoredToolWords, 0, kAnyContentCount, requestEntries});
        list.insert(list.end(), std::begin(kToolImages), std::end(kToolImages));
        return list;
    }();
    return names;
}

} // namespace Yardcrew::PileOfLeavesContent

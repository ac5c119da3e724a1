#include "game/PileOfLeaves/PileOfLeavesContent.h"

#include <iterator>
#include <string>
#include <vector>

namespace Yardcrew::PileOfLeavesContent
{

std::span<const sContentName> List()
{
    static const std::vector<std::string> requests = []
    {
        std::vector<std::string> entries;
        for (int color = 0; color < kToolColorCount; ++color)
            for (int tool = 0; tool < YardcrewTool_Count; ++tool)
                entries.push_back(
                    AudioContent::ColoredToolEntry(static_cast<YardcrewColor>(color), static_cast<YardcrewTool>(tool)));
        return entries;
    }();
    static const std::vector<const char*> requestEntries = []
    {
        std::vector<const char*> entries;
        for (const std::string& request : requests)
            entries.push_back(request.c_str());
        return entries;
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

#include "game/ContentNames.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>

namespace Yardcrew
{

namespace
{

std::vector<sContentList>& Lists()
{
    static std::vector<sContentList> lists;
    return lists;
}

} // namespace

std::span<const char* const> KeepContentNames(std::vector<std::string> names)
{
    // Each kept table's strings and pointers stay where they are while later ones are added.
    struct Kept
    {
        std::vector<std::string> names;
        std::vector<const char*> table;
    };
    static std::mutex mutex;
    static std::deque<Kept> kept;
    const std::lock_guard<std::mutex> lock(mutex);
    Kept& added = kept.emplace_back(Kept{std::move(names), {}});
    for (const std::string& name : added.names)
        added.table.push_back(name.c_str());
    return added.table;
}

void RegisterContentList(const sContentList& list)
{
    std::vector<sContentList>& lists = Lists();
    const auto same =
        std::find_if(lists.begin(), lists.end(),
                     [&](const sContentList& known) { return std::strcmp(known.owner, list.owner) == 0; });
    if (same != lists.end())
        *same = list;
    else
        lists.push_back(list);
}

const std::vector<sContentList>& GetContentLists()
{
    return Lists();
}

} // namespace Yardcrew

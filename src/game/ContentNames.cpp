#include "game/ContentNames.h"

#include <algorithm>
#include <cstring>

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

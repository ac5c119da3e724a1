#include "game/HammerTheNail/HammerTheNailContent.h"

#include <string>
#include <vector>

namespace Yardcrew::HammerTheNailContent
{

std::span<const sContentName> List()
{
    // The built names live as long as the list, which lives until exit.
    static const std::vector<std::string> built = []
    {
        std::vector<std::string> names;
        for (const char* tool : kFixItToolTypeNames)
        {
            names.push_back(std::string(kToolInBoxPrefix) + tool);
            for (const char* color : kFixItToolColorNames)
                names.push_back(std::string(kNailPrefix) + tool + "_" + color);
        }
        for (const char* tool :
             {kFixItToolTypeNames[FixItToolType_DriverPlus], kFixItToolTypeNames[FixItToolType_DriverMinus]})
            for (const char* color : kFixItToolColorNames)
                names.push_back(std::string(kDriverSpritePrefix) + tool + "_" + color);
        return names;
    }();
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        for (const std::string& name : built)
        {
            if (name.rfind(kDriverSpritePrefix, 0) == 0)
                list.push_back({ContentKind_SpriteType, name.c_str(), 0, kAnyContentCount, kDriverAnimations});
            else
                list.push_back({ContentKind_ImageList, name.c_str(),
                                name.rfind(kNailPrefix, 0) == 0 ? kHammerTheNailMaxStrokes + 1 : FixItToolColor_Count});
        }
        return list;
    }();
    return names;
}

} // namespace Yardcrew::HammerTheNailContent

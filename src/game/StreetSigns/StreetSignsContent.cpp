#include "game/StreetSigns/StreetSignsContent.h"

#include <vector>

namespace Yardcrew::StreetSignsContent
{

std::string AskVoice(const sStreetSignAsk& ask)
{
    if (ask.trait == StreetSignTrait_Color && ask.value >= 0 && ask.value < StreetSignColor_Count)
        return std::string(kAskPrefix) + kStreetSignColorNames[ask.value];
    if (ask.trait == StreetSignTrait_Shape && ask.value >= 0 && ask.value < StreetSignShape_Count)
        return std::string(kAskPrefix) + kStreetSignShapeNames[ask.value];
    return std::string();
}

int AskPicture(const sStreetSignAsk& ask)
{
    if (ask.trait == StreetSignTrait_Color && ask.value >= 0 && ask.value < StreetSignColor_Count)
        return ask.value;
    if (ask.trait == StreetSignTrait_Shape && ask.value >= 0 && ask.value < StreetSignShape_Count)
        return int{StreetSignColor_Count} + ask.value;
    return -1;
}

std::span<const sContentName> List()
{
    // The built names live as long as the list, which lives until exit.
    static const std::vector<std::string> asks = []
    {
        std::vector<std::string> names;
        for (int c = 0; c < StreetSignColor_Count; ++c)
            names.push_back(AskVoice({StreetSignTrait_Color, c}));
        for (int s = 0; s < StreetSignShape_Count; ++s)
            names.push_back(AskVoice({StreetSignTrait_Shape, s}));
        return names;
    }();
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        for (const Strata::Label& sprite : kStreetSignSpriteTypes)
            list.push_back({ContentKind_SpriteType, sprite.c_str(), 0, kAnyContentCount, kStreetSignColorNames});
        for (const std::string& ask : asks)
            list.push_back({ContentKind_Voice, ask.c_str()});
        return list;
    }();
    return names;
}

} // namespace Yardcrew::StreetSignsContent

#include "game/HaulersDelivery/HaulersDeliveryLevel.h"

#include "core/XMLElement.h"

namespace Yardcrew
{

namespace
{

const YardcrewMaterial kMaterials[HaulersDeliveryType_Count] = {
    YardcrewMaterial_Plant,  YardcrewMaterial_Cone,   YardcrewMaterial_Cone,   YardcrewMaterial_Cone,
    YardcrewMaterial_Log,    YardcrewMaterial_Log,    YardcrewMaterial_Log,    YardcrewMaterial_Cement,
    YardcrewMaterial_Cement, YardcrewMaterial_Cement, YardcrewMaterial_Bricks, YardcrewMaterial_Bricks,
    YardcrewMaterial_Bricks};
const YardcrewColor kColors[HaulersDeliveryType_Count] = {
    YardcrewColor_None, YardcrewColor_Red,  YardcrewColor_Orange, YardcrewColor_Yellow, YardcrewColor_Yellow,
    YardcrewColor_Red,  YardcrewColor_None, YardcrewColor_Blue,   YardcrewColor_Red,    YardcrewColor_None,
    YardcrewColor_None, YardcrewColor_Blue, YardcrewColor_Red};

bool IsCargo(HaulersDeliveryType type)
{
    return type >= 0 && type < HaulersDeliveryType_Count;
}

} // namespace

YardcrewMaterial HaulersDeliveryMaterial(HaulersDeliveryType type)
{
    return IsCargo(type) ? kMaterials[type] : YardcrewMaterial_None;
}

YardcrewColor HaulersDeliveryColor(HaulersDeliveryType type)
{
    return IsCargo(type) ? kColors[type] : YardcrewColor_None;
}

eCargoMismatch CompareCargo(HaulersDeliveryType wanted, HaulersDeliveryType given)
{
    if (wanted == given)
        return CargoMismatch_None;
    if (HaulersDeliveryMaterial(wanted) == HaulersDeliveryMaterial(given))
        return CargoMismatch_Color;
    if (HaulersDeliveryColor(wanted) == HaulersDeliveryColor(given))
        return CargoMismatch_Type;
    return CargoMismatch_Both;
}

void HaulersDeliveryLevel::ReadChild(const Strata::XMLElement& element)
{
    if (element.GetName() != L"Pattern")
        return;
    // One pattern past the cap is kept, so an overlong level is refused as a whole.
    if (patterns.size() > kHaulersDeliveryMaxPatterns)
        return;
    std::vector<int32_t> letters;
    for (wchar_t c : element.GetAttribute(L"order"))
    {
        const int32_t letter = (c >= L'A' && c <= L'C') ? c - L'A' : (c >= L'a' && c <= L'c') ? c - L'a' : -1;
        if (letter < 0)
            continue;
        letters.push_back(letter);
        if (letters.size() > kHaulersDeliveryMaxLetters)
            break;
    }
    patterns.push_back(std::move(letters));
}

std::string HaulersDeliveryLevel::Validate() const
{
    if (patterns.empty())
        return "has no \"Pattern\"";
    if (patterns.size() > kHaulersDeliveryMaxPatterns)
        return "has more than " + std::to_string(kHaulersDeliveryMaxPatterns) + " patterns";
    for (size_t i = 0; i < patterns.size(); ++i)
    {
        if (patterns[i].empty())
            return "has an empty pattern (number " + std::to_string(i + 1) + ")";
        if (patterns[i].size() > kHaulersDeliveryMaxLetters)
            return "has a pattern of more than " + std::to_string(kHaulersDeliveryMaxLetters) + " letters";
    }
    return std::string();
}

int32_t HaulersDeliveryLevel::LetterOfCart(const std::vector<int32_t>& pattern, size_t cart)
{
    return pattern.empty() ? -1 : pattern[cart % pattern.size()];
}

} // namespace Yardcrew

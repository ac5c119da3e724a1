#include "game/StreetSigns/StreetSignLevel.h"

#include "core/AttributeContainer.h"
#include "core/XMLElement.h"
#include "game/EnumTypeDeck.h"
#include "game/YardcrewNames.h"

#include <algorithm>
#include <cwctype>

namespace Yardcrew
{

const char* const kStreetSignColorNames[StreetSignColor_Count] = {"Red", "Green", "Blue", "Orange", "Yellow"};
const char* const kStreetSignShapeNames[StreetSignShape_Count] = {"Rectangle", "Square", "Octagon", "Triangle",
                                                                  "Circle"};
const Strata::Label kStreetSignSpriteTypes[StreetSignShape_Count] = {
    "StreetSigns_SignRectangle", "StreetSigns_SignSquare", "StreetSigns_SignOctagon", "StreetSigns_SignTriangle",
    "StreetSigns_SignCircle"};

namespace
{

StreetSignTrait ParseTrait(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    if (text == L"color")
        return StreetSignTrait_Color;
    if (text == L"shape")
        return StreetSignTrait_Shape;
    return StreetSignTrait_None;
}

} // namespace

bool sStreetSignAsk::Matches(const sStreetSign& sign) const
{
    switch (trait)
    {
    case StreetSignTrait_Color:
        return value >= 0 && value == sign.color;
    case StreetSignTrait_Shape:
        return value >= 0 && value == sign.shape;
    default:
        return false;
    }
}

sStreetSignAsk sStreetSignAsk::Of(const sStreetSign& sign, StreetSignTrait trait)
{
    if (trait == StreetSignTrait_Color)
        return {trait, sign.color};
    if (trait == StreetSignTrait_Shape)
        return {trait, sign.shape};
    return {};
}

void StreetSignLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    signs = attributes.GetAttribute(L"signs", 0);
}

void StreetSignLevel::ReadChild(const Strata::XMLElement& element)
{
    // One ask past the cap is kept, so an overlong level is refused as a whole.
    if (element.GetName() != L"Ask" || asks.size() >= static_cast<size_t>(kStreetSignMaxSigns))
        return;
    asks.push_back(ParseTrait(element.GetAttribute(L"trait")));
}

std::string StreetSignLevel::Validate() const
{
    if (signs < 2 || signs > kStreetSignMaxSigns)
        return "has \"signs\" " + std::to_string(signs) + ", not 2 to " + std::to_string(kStreetSignMaxSigns);
    if (asks.empty())
        return "has no \"Ask\"";
    if (asks.size() >= static_cast<size_t>(signs))
        return "has " + std::to_string(asks.size()) + " \"Ask\" for \"signs\" " + std::to_string(signs) +
               ", so the last ask has no choice";
    for (size_t i = 0; i < asks.size(); ++i)
        if (asks[i] == StreetSignTrait_None)
            return "has an ask of no known trait (number " + std::to_string(i + 1) + ", not \"Color\" or \"Shape\")";
    return std::string();
}

sStreetSignRound StreetSignLevel::MakeRound() const
{
    sStreetSignRound round;
    if (!Validate().empty())
        return round;
    EnumTypeDeck<StreetSignColor> colors(StreetSignColor_Count);
    EnumTypeDeck<StreetSignShape> shapes(StreetSignShape_Count);
    for (int32_t i = 0; i < signs; ++i)
        round.signs.push_back({colors.DrawCard(), shapes.DrawCard()});
    EnumTypeDeck<int> unasked(signs);
    for (StreetSignTrait trait : asks)
        round.asks.push_back(sStreetSignAsk::Of(round.signs[static_cast<size_t>(unasked.DrawCard())], trait));
    return round;
}

} // namespace Yardcrew

#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include "core/AttributeContainer.h"
#include "game/YardcrewNames.h"

#include <algorithm>

namespace Yardcrew
{

void SproutPuzzleLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    picture = FindName(kSproutPuzzlePictureNames, attributes.GetAttribute(L"picture"));
    columns = attributes.GetAttribute(L"columns", 0);
    rows = attributes.GetAttribute(L"rows", 0);
}

std::string SproutPuzzleLevel::Validate() const
{
    if (picture < 0)
        return "has no \"picture\" of the menagerie that the pieces are drawn for";
    if (std::none_of(kSproutPuzzleCuts.begin(), kSproutPuzzleCuts.end(),
                     [this](const sSproutPuzzleCut& cut) { return cut.columns == columns && cut.rows == rows; }))
        return "is cut \"columns\" " + std::to_string(columns) + " by \"rows\" " + std::to_string(rows) +
               ", not 2 by 2, 3 by 2 or 3 by 3 as the pieces are drawn";
    return std::string();
}

std::string SproutPuzzleLevel::PictureName() const
{
    return picture >= 0 && static_cast<size_t>(picture) < kSproutPuzzlePictureNames.size()
               ? kSproutPuzzlePictureNames[static_cast<size_t>(picture)]
               : std::string();
}

std::string SproutPuzzleLevel::CutName() const
{
    return std::to_string(columns) + "x" + std::to_string(rows);
}

} // namespace Yardcrew

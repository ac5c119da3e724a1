#pragma once

#include "controls/ControlObject.h"
#include "core/AttributeContainer.h"
#include "core/Color.h"

#include <optional>

namespace Strata
{

// The layout attributes of the controls that show a column of selectable items (list, tree): "images"
// (an image list resource), "textColor" (the control's colour), "selectedTextColor" and
// "selectedBackgroundColor". Each is read only when present, so an absent one keeps the control's own
// default; a name that finds no image list leaves none.
template <class Control>
void ApplyItemControlAttributes(Control& control, const IAttributeContainer& attributes)
{
    if (attributes.HasAttribute(L"images"))
        control.SetImages(FindImageListAttribute(attributes, L"images"));
    // Empty when the attribute is absent.
    const auto readColor = [&attributes](const wchar_t* name) -> std::optional<ColorF>
    {
        if (!attributes.HasAttribute(name))
            return std::nullopt;
        return ColorF::FromString(attributes.GetAttribute(name));
    };
    if (const std::optional<ColorF> color = readColor(L"textColor"))
        control.SetColor(*color);
    if (const std::optional<ColorF> color = readColor(L"selectedTextColor"))
        control.SetSelectedTextColor(*color);
    if (const std::optional<ColorF> color = readColor(L"selectedBackgroundColor"))
        control.SetSelectedBackgroundColor(*color);
}

} // namespace Strata

#include "framework/TextComponent.h"

#include "core/WideString.h"
#include "framework/ValueResources.h"

namespace Strata
{

void TextComponent::SetTextFromResource(Label name)
{
    const Constant<std::wstring> text(name);
    if (text.IsValid())
        SetText(text.GetValue());
    else
        SetText(L"Missing: \"" + ConvertStringASCIIToWide(name.c_str()) + L"\"");
}

} // namespace Strata

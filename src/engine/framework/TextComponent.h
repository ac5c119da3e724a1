#pragma once

#include "core/Label.h"

#include <string>

namespace Strata
{

// The text of a control or a widget node.
class IText
{
public:
    virtual ~IText() = default;
    virtual const std::wstring& GetText() = 0;
    virtual void SetText(const std::wstring& text) = 0;
    // The wide-string value resource of that name through SetText; when there is none, the text
    // `Missing: "<name>"`, so the gap shows on screen instead of an empty label.
    virtual void SetTextFromResource(Label name) = 0;
};

// Stores the text; owners override SetText to refit themselves.
class TextComponent : public IText
{
public:
    TextComponent() = default;
    explicit TextComponent(const std::wstring& text) : mText(text) {}
    const std::wstring& GetText() override { return mText; }
    void SetText(const std::wstring& text) override { mText = text; }
    void SetTextFromResource(Label name) override;

protected:
    std::wstring mText;
};

} // namespace Strata

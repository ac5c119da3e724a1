#pragma once

#include "graphics/DrawState.h"

namespace Strata
{

class Font;

class IFontComponent
{
public:
    virtual ~IFontComponent() = default;
    virtual bool HasFont() = 0;
    virtual const Font* GetFont() = 0;
    virtual void SetFont(const Font* font) = 0;
};

class ITextModeComponent
{
public:
    virtual ~ITextModeComponent() = default;
    virtual TextMode GetTextMode() = 0;
    virtual void SetTextMode(TextMode mode) = 0;
};

// The font mix-in of controls and scene nodes. The font is not owned: fonts are resources.
class FontComponent : public IFontComponent, public ITextModeComponent
{
public:
    explicit FontComponent(const Font* font = nullptr) : mFont(font) {}
    bool HasFont() override { return mFont != nullptr; }
    const Font* GetFont() override { return mFont; }
    void SetFont(const Font* font) override { mFont = font; }
    TextMode GetTextMode() override { return mTextMode; }
    void SetTextMode(TextMode mode) override { mTextMode = mode; }

protected:
    const Font* mFont;
    TextMode mTextMode = TextMode_Normal;
};

} // namespace Strata

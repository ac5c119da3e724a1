#pragma once

#include "graphics/DrawState.h"

#include <memory>
#include <utility>

namespace Strata
{

class Font;
class IResourceDescriptor;

class IFontComponent
{
public:
    virtual ~IFontComponent() = default;
    virtual bool HasFont() = 0;
    virtual const Font* GetFont() = 0;
    // `holder` is the font's resource descriptor when the font was found as a resource: held, it keeps
    // the font alive after its manifest is unloaded. Without one the font must outlive its use here.
    virtual void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) = 0;
};

class ITextModeComponent
{
public:
    virtual ~ITextModeComponent() = default;
    virtual TextMode GetTextMode() = 0;
    virtual void SetTextMode(TextMode mode) = 0;
};

// The font mix-in of controls and scene nodes. The font is owned by its holder, when it has one.
class FontComponent : public IFontComponent, public ITextModeComponent
{
public:
    explicit FontComponent(const Font* font = nullptr, std::shared_ptr<IResourceDescriptor> holder = nullptr)
        : mFont(font), mFontHolder(font ? std::move(holder) : nullptr)
    {
    }
    bool HasFont() override { return mFont != nullptr; }
    const Font* GetFont() override { return mFont; }
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) override
    {
        mFont = font;
        mFontHolder = font ? std::move(holder) : nullptr;
    }
    TextMode GetTextMode() override { return mTextMode; }
    void SetTextMode(TextMode mode) override { mTextMode = mode; }

protected:
    const Font* mFont;
    TextMode mTextMode = TextMode_Normal;

private:
    std::shared_ptr<IResourceDescriptor> mFontHolder;
};

} // namespace Strata

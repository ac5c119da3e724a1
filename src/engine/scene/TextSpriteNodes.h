#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "graphics/DrawState.h"
#include "graphics/FontComponent.h"
#include "graphics/StyledText.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class Font;
class IResourceDescriptor;

// The text of a text sprite, its wrap width and its justification.
class ITextSprite
{
public:
    virtual ~ITextSprite() = default;
    virtual const std::wstring& GetText() = 0;
    virtual void SetText(const std::wstring& text) = 0;
    // The wide-string value resource of that name through SetText; when there is none, the text
    // `Missing: "<name>"`.
    virtual void SetTextFromResource(Label name) = 0;
    // 0 draws one unwrapped line.
    virtual void SetTextWidth(float width) = 0;
    virtual float GetTextWidth() = 0;
    virtual void SetTextJustification(HAlignment justification) = 0;
    virtual HAlignment GetTextJustification() = 0;
};

// Holds what ITextSprite names; SetTextWidth and SetTextJustification only store.
class TextSpriteComponent : public ITextSprite
{
public:
    const std::wstring& GetText() override { return mText; }
    void SetText(const std::wstring& text) override { mText = text; }
    void SetTextFromResource(Label name) override;
    void SetTextWidth(float width) override { mTextWidth = width; }
    float GetTextWidth() override { return mTextWidth; }
    void SetTextJustification(HAlignment justification) override { mJustification = justification; }
    HAlignment GetTextJustification() override { return mJustification; }

protected:
    std::wstring mText;
    float mTextWidth = 0.0f;
    HAlignment mJustification = HAlignment_Left;
};

// The text with "&", '"', "<" and ">" written as XML entities, so none of it acts as style markup.
std::wstring encodeForXML(const wchar_t* text);

// One string in one bitmap font, on one line or wrapped at the text width, plain, outlined or over a
// shadow. The node's size is the measured text (0 by 0 without a font or text).
class TextSpriteNode : public SceneNode, public FontComponent, public TextSpriteComponent
{
public:
    TextSpriteNode(const Vector2<float>& position, const std::wstring& text, const Font* font, const ColorF& color,
                   float width);

    // Each stores, then measures again.
    void SetText(const std::wstring& text) override;
    void SetTextWidth(float width) override;
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) override;

    void DrawAt(const Vector2<float>& offset) override;

    bool noBlur = false;
    // The outline or shadow colour.
    ColorF bgColor{1.0f, 1.0f, 1.0f, 1.0f};

private:
    void UpdateTextData();
};

// Text with inline style markup, wrapped at the text width. Text given to the constructor (the layout's
// "text") is markup; text given to SetText is shown literally.
class StyledTextSpriteNode : public SceneNode, public TextSpriteComponent
{
public:
    StyledTextSpriteNode(const Vector2<float>& position, const std::wstring& text, const Graphics::TextStyle& style,
                         float width);

    // Escapes the text, then measures again.
    void SetText(const std::wstring& text) override;
    // Measures again only when the width changes.
    void SetTextWidth(float width) override;

    const Graphics::TextStyle& GetStyle() const { return mStyle; }
    const Graphics::LineDimensionList& GetLines() const { return mLines; }

    void DrawAt(const Vector2<float>& offset) override;

    bool noBlur = false;

private:
    void UpdateTextData();

    Graphics::TextStyle mStyle;
    std::vector<Graphics::StyleRun> mRuns;
    Graphics::LineDimensionList mLines;
};

class TextSpriteNodeDescriptor : public SceneNodeDescriptor
{
public:
    std::wstring text;
    Label font;
    float width = 0.0f;
    HAlignment justification = HAlignment_Left;
    // Null when not given.
    Label textResource;
    bool noBlur = false;
    TextMode textMode = TextMode_Normal;
    ColorF bgColor{1.0f, 1.0f, 1.0f, 1.0f};
};

class StyledTextSpriteNodeDescriptor : public SceneNodeDescriptor
{
public:
    std::wstring text;
    float width = 0.0f;
    Graphics::TextStyle style;
    HAlignment justification = HAlignment_Left;
    Label textResource;
    bool noBlur = false;
};

// "textspritenode": "text", "textResource", "font", "width", "textJustify", "noBlur", "textMode",
// "bgColor".
class TextSpriteNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "styledtextspritenode": "text" (markup), "textResource", "font", "color", "bgColor", "textMode",
// "width", "textJustify", "noBlur".
class StyledTextSpriteNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata

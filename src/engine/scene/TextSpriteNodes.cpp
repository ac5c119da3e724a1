#include "scene/TextSpriteNodes.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "core/XMLWriter.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"

#include <climits>
#include <cmath>

namespace Strata
{

namespace
{

// A wrap width of 0 or less, or one that is not finite, wraps nothing.
int WrapWidth(float width)
{
    return (std::isfinite(width) && width > 0.0f) ? Graphics::TruncateToInt(width) : 0;
}

TextMode TextModeAttribute(const std::wstring& word)
{
    if (word == L"outline")
        return TextMode_Outline;
    return word == L"dropShadow" ? TextMode_DropShadow : TextMode_Normal;
}

// Where the text's anchor lies on the node: its left edge, centre or right edge.
float JustifiedX(float x, float width, HAlignment justification)
{
    if (justification == HAlignment_Center)
        return std::floor(x + width * 0.5f);
    return justification == HAlignment_Right ? std::floor(x + width) : x;
}

// The draw state and the text's position shared by both text nodes.
Graphics::sDrawState TextState(SceneNode& node, HAlignment justification, bool noBlur, const Vector2<float>& offset,
                               Vector2<float>* position)
{
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.hAlign = justification;
    if (node.clipEnabled)
        state.clipRect = node.clipRect;
    const Rect<float>& bounds = node.GlobalGetBounds();
    float x = JustifiedX(bounds.x + offset.x, node.GetWidth(), justification);
    float y = bounds.y + offset.y;
    if (noBlur)
    {
        x = std::floor(x + 0.5f);
        y = std::floor(y + 0.5f);
    }
    *position = Vector2<float>(x, y);
    return state;
}

} // namespace

void TextSpriteComponent::SetTextFromResource(Label name)
{
    const Constant<std::wstring> text(name);
    if (text.IsValid())
        SetText(text.GetValue());
    else
        SetText(L"Missing: \"" + ConvertStringASCIIToWide(name.c_str()) + L"\"");
}

std::wstring encodeForXML(const wchar_t* text)
{
    return text != nullptr ? EscapeXML(text, XMLEscape_Markup) : std::wstring();
}

TextSpriteNode::TextSpriteNode(const Vector2<float>& position, const std::wstring& text, const Font* font,
                               const ColorF& color, float width)
    : SceneNode(Label()), FontComponent(font)
{
    LocalSetLocation(position);
    LocalSetColor(color);
    mText = text;
    mTextWidth = width;
    UpdateTextData();
}

void TextSpriteNode::SetText(const std::wstring& text)
{
    mText = text;
    UpdateTextData();
}

void TextSpriteNode::SetTextWidth(float width)
{
    mTextWidth = width;
    UpdateTextData();
}

void TextSpriteNode::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    FontComponent::SetFont(font, std::move(holder));
    UpdateTextData();
}

void TextSpriteNode::UpdateTextData()
{
    if (mFont == nullptr || mText.empty())
    {
        SetWidth(0.0f);
        SetHeight(0.0f);
        return;
    }
    const int wrap = WrapWidth(mTextWidth);
    if (wrap == 0)
    {
        SetWidth(static_cast<float>(mFont->GetStringWidth(mText.c_str())));
        SetHeight(static_cast<float>(mFont->GetGlyphHeight()));
        return;
    }
    const Vector2<int> size = mFont->GetWrappedStringDimensions(mText.c_str(), wrap);
    SetWidth(static_cast<float>(size.x));
    SetHeight(static_cast<float>(size.y));
}

void TextSpriteNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    Vector2<float> position;
    Graphics::sDrawState state = TextState(*this, mJustification, noBlur, offset, &position);
    state.font = mFont;
    state.color = GlobalGetColor();
    state.effectColor = bgColor;
    state.textMode = GetTextMode();
    const int wrap = WrapWidth(mTextWidth);
    if (wrap == 0)
    {
        Graphics::DrawText(mText.c_str(), position.x, position.y, state, Graphics::GetCanvas());
    }
    else
    {
        Graphics::DrawWrappedText(mText.c_str(), position.x, position.y, static_cast<float>(wrap), state,
                                  Graphics::GetCanvas());
    }
}

StyledTextSpriteNode::StyledTextSpriteNode(const Vector2<float>& position, const std::wstring& text,
                                           const Graphics::TextStyle& style, float width)
    : SceneNode(Label()), mStyle(style)
{
    LocalSetLocation(position);
    mText = text;
    mTextWidth = width;
    UpdateTextData();
}

void StyledTextSpriteNode::SetText(const std::wstring& text)
{
    mText = encodeForXML(text.c_str());
    UpdateTextData();
}

void StyledTextSpriteNode::SetTextWidth(float width)
{
    if (width == mTextWidth)
        return;
    mTextWidth = width;
    UpdateTextData();
}

void StyledTextSpriteNode::UpdateTextData()
{
    mRuns = Graphics::ComputeStyleRuns(mText, mStyle);
    const int wrap = WrapWidth(mTextWidth);
    mLines = Graphics::ComputeStyledTextLineDimensions(mRuns, wrap > 0 ? wrap : INT_MAX, nullptr);
    SetWidth(static_cast<float>(mLines.widest));
    SetHeight(static_cast<float>(mLines.totalHeight));
}

void StyledTextSpriteNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    Vector2<float> position;
    Graphics::sDrawState state = TextState(*this, mJustification, noBlur, offset, &position);
    // The runs bring their own colours; the node gives them its alpha.
    const float alpha = GlobalGetColor().a;
    state.color.a = alpha;
    state.effectColor.a = alpha;
    Graphics::DrawWrappedStyledText(mRuns, mLines, position.x, position.y, state, Graphics::GetCanvas());
}

std::unique_ptr<SceneNodeDescriptor> TextSpriteNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<TextSpriteNodeDescriptor>();
    descriptor->text = element.GetAttribute(L"text");
    if (element.HasAttribute(L"textResource"))
        descriptor->textResource = Label::FromString(element.GetAttribute(L"textResource"));
    descriptor->font = Label::FromString(element.GetAttribute(L"font"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->justification = StringToHAlignment(element.GetAttribute(L"textJustify"), HAlignment_Left);
    descriptor->noBlur = element.GetAttribute(L"noBlur", false);
    descriptor->textMode = TextModeAttribute(element.GetAttribute(L"textMode"));
    if (element.HasAttribute(L"bgColor"))
        descriptor->bgColor = ColorF::FromString(element.GetAttribute(L"bgColor"));
    return descriptor;
}

SceneTreePtr TextSpriteNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const TextSpriteNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<Font> font = FindNodeResource<Font>("textspritenode", "font", own->font);
    auto node = std::make_unique<TextSpriteNode>(Vector2<float>(0.0f, 0.0f), own->text, nullptr,
                                                 ColorF(1.0f, 1.0f, 1.0f, 1.0f), own->width);
    node->SetFont(font.resource, std::move(font.holder));
    node->SetTextJustification(own->justification);
    if (!own->textResource.IsNull())
        node->SetTextFromResource(own->textResource);
    node->noBlur = own->noBlur;
    node->SetTextMode(own->textMode);
    node->bgColor = own->bgColor;
    return SceneTreePtr(node.release());
}

std::unique_ptr<SceneNodeDescriptor>
StyledTextSpriteNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<StyledTextSpriteNodeDescriptor>();
    descriptor->text = element.GetAttribute(L"text");
    if (element.HasAttribute(L"textResource"))
        descriptor->textResource = Label::FromString(element.GetAttribute(L"textResource"));
    if (element.HasAttribute(L"font"))
        descriptor->style.font = Label::FromString(element.GetAttribute(L"font"));
    if (element.HasAttribute(L"color"))
        descriptor->style.color = ColorF::FromString(element.GetAttribute(L"color"));
    if (element.HasAttribute(L"bgColor"))
        descriptor->style.bgColor = ColorF::FromString(element.GetAttribute(L"bgColor"));
    if (element.HasAttribute(L"textMode"))
        descriptor->style.textMode = TextModeAttribute(element.GetAttribute(L"textMode"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->justification = StringToHAlignment(element.GetAttribute(L"textJustify"), HAlignment_Left);
    descriptor->noBlur = element.GetAttribute(L"noBlur", false);
    return descriptor;
}

SceneTreePtr StyledTextSpriteNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const StyledTextSpriteNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    // The runs find their fonts themselves; a missing base font is only reported here.
    FindNodeResource<Font>("styledtextspritenode", "font", own->style.font);
    auto node = std::make_unique<StyledTextSpriteNode>(Vector2<float>(0.0f, 0.0f), own->text, own->style, own->width);
    node->SetTextJustification(own->justification);
    if (!own->textResource.IsNull())
        node->SetTextFromResource(own->textResource);
    node->noBlur = own->noBlur;
    return SceneTreePtr(node.release());
}

} // namespace Strata

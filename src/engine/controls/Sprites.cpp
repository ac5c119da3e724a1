#include "controls/Sprites.h"

#include "core/AttributeContainer.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/PixelMath.h"

#include <cmath>

namespace Strata
{

using namespace Graphics;

float SizeToScale(float requested, int actual)
{
    if (!(std::isfinite(requested) && requested > 0.0f) || actual <= 0)
        return 1.0f;
    const float scale = requested / static_cast<float>(actual);
    return std::isfinite(scale) ? scale : 1.0f;
}

namespace
{

// The scale for optional "width" and "height" over a thing of the given size.
Vector2<float> ScaleFromAttributes(const IAttributeContainer& attributes, int width, int height)
{
    return Vector2<float>(SizeToScale(attributes.GetAttribute(L"width", 0.0f), width),
                          SizeToScale(attributes.GetAttribute(L"height", 0.0f), height));
}

bool HasSizeAttribute(const IAttributeContainer& attributes)
{
    return attributes.HasAttribute(L"width") || attributes.HasAttribute(L"height");
}

} // namespace

SpriteObject::SpriteObject(Label name, float layer) : DrawableComponent(layer), mName(name)
{
}

sDrawState SpriteObject::MakeImageState() const
{
    sDrawState state = GetDrawState();
    state.imageColor = mColor;
    state.hAlign = mHAlignment;
    state.vAlign = mVAlignment;
    state.flags &= ~static_cast<uint32_t>(DrawFlag_FlipH | DrawFlag_FlipV);
    if ((mFlipState & 1u) != 0)
        state.flags |= DrawFlag_FlipH;
    if ((mFlipState & 2u) != 0)
        state.flags |= DrawFlag_FlipV;
    return state;
}

TextSpriteObject::TextSpriteObject(Label name, float layer) : SpriteObject(name, layer)
{
}

TextSpriteObject::TextSpriteObject(float layer, const Vector2<float>& location, const wchar_t* text, const Font* font,
                                   const ColorF& color, float width)
    : SpriteObject(Label(), layer), FontComponent(font), TextComponent(text ? std::wstring(text) : std::wstring())
{
    mFrame.location = location;
    mColor = color;
    SetWidth(width);
}

void TextSpriteObject::SetWidth(float width)
{
    mWidth = std::isfinite(width) && width > 0.0f ? width : 0.0f;
}

void TextSpriteObject::Draw()
{
    if (!mVisible)
        return;
    sDrawState state = GetDrawState();
    state.font = mFont;
    state.color = mColor;
    state.effectColor = mEffectColor;
    state.effectOffset = mEffectOffset;
    state.hAlign = mHAlignment;
    state.vAlign = mVAlignment;
    state.textMode = mTextMode;
    const Vector2<float> at = GetScreenLocation();
    if (mWidth == 0.0f)
        DrawText(mText.c_str(), at.x, at.y, state, GetCanvas());
    else
        DrawWrappedText(mText.c_str(), at.x, at.y, mWidth, state, GetCanvas());
}

ImageSpriteObject::ImageSpriteObject(Label name, float layer) : SpriteObject(name, layer)
{
}

void ImageSpriteObject::SetImage(IImage* image, std::shared_ptr<IResourceDescriptor> keepAlive)
{
    mImage = image;
    mImageResource = std::move(keepAlive);
}

void ImageSpriteObject::SetSourceRect(bool use, const Rect<int>& rect)
{
    mUseSourceRect = use;
    mSourceRect = rect;
}

void ImageSpriteObject::SetClipRect(bool use, const Rect<int>& rect)
{
    mUseClipRect = use;
    mClipRect = rect;
}

void ImageSpriteObject::Draw()
{
    if (!mVisible || mImage == nullptr)
        return;
    sDrawState state = MakeImageState();
    if (mUseSourceRect)
    {
        state.sourceRect = mSourceRect;
        state.flags |= DrawFlag_SourceRect;
    }
    if (mUseClipRect)
        state.clipRect = mClipRect;
    const Vector2<float> at = GetScreenLocation();
    if (mScale.x == 1.0f && mScale.y == 1.0f)
    {
        DrawImage(mImage, at.x, at.y, state, GetCanvas());
        return;
    }
    const Rect<int> rect(TruncateToInt(at.x), TruncateToInt(at.y),
                         TruncateToInt(static_cast<float>(mImage->GetWidth()) * mScale.x),
                         TruncateToInt(static_cast<float>(mImage->GetHeight()) * mScale.y));
    DrawStretchedImage(mImage, rect, state, GetCanvas());
}

AnimationSpriteObject::AnimationSpriteObject(Label name, float layer) : SpriteObject(name, layer)
{
}

void AnimationSpriteObject::SetAnimation(const Animation& animation, std::shared_ptr<IResourceDescriptor> keepAlive)
{
    mAnimation = animation;
    mAnimationResource = std::move(keepAlive);
}

void AnimationSpriteObject::Update(float dt)
{
    mTime += dt;
}

void AnimationSpriteObject::Draw()
{
    if (!mVisible || mAnimation.GetImageList() == nullptr)
        return;
    const sDrawState state = MakeImageState();
    const Vector2<float> at = GetScreenLocation();
    if (mScale.x == 1.0f && mScale.y == 1.0f)
    {
        DrawAnimation(&mAnimation, mTime, at.x, at.y, state, GetCanvas());
        return;
    }
    const Rect<float> rect(at.x, at.y, static_cast<float>(mAnimation.GetWidth()) * mScale.x,
                           static_cast<float>(mAnimation.GetHeight()) * mScale.y);
    DrawStretchedAnimation(&mAnimation, mTime, rect, state, GetCanvas());
}

Object* TextSpriteObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto* sprite = new TextSpriteObject(name);
    sprite->SetWidth(attributes.GetAttribute(L"width", 0.0f));
    if (attributes.HasAttribute(L"bgcolor"))
        sprite->SetEffectColor(ColorF::FromString(attributes.GetAttribute(L"bgcolor")));
    if (attributes.HasAttribute(L"dropOffset"))
        sprite->SetEffectOffset(Vector2<int>::FromString(attributes.GetAttribute(L"dropOffset")));
    if (attributes.HasAttribute(L"textFormat"))
        sprite->SetTextFormat(attributes.GetAttribute(L"textFormat"));
    return sprite;
}

Object* ImageSpriteObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto* sprite = new ImageSpriteObject(name);
    const AutoResource<IImage> resource(Label::FromString(attributes.GetAttribute(L"src")));
    IImage* image = resource.Get();
    sprite->SetImage(image, image ? resource.GetDescriptor() : nullptr);
    if (image != nullptr && HasSizeAttribute(attributes))
        sprite->SetScale(ScaleFromAttributes(attributes, image->GetWidth(), image->GetHeight()));
    return sprite;
}

Object* AnimationSpriteObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto* sprite = new AnimationSpriteObject(name);
    const Label source = Label::FromString(attributes.GetAttribute(L"src"));
    // Looked up first and held, so the list the animation points to lives as long as the sprite.
    const AutoResource<IImageList> resource(source);
    sprite->SetAnimation(CreateAnimation(source, AnimationMode_Once, 10.0f), resource.GetDescriptor());
    const Animation& animation = sprite->GetAnimation();
    if (animation.GetImageList() != nullptr && HasSizeAttribute(attributes))
        sprite->SetScale(ScaleFromAttributes(attributes, animation.GetWidth(), animation.GetHeight()));
    return sprite;
}

} // namespace Strata

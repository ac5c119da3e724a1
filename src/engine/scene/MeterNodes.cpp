#include "scene/MeterNodes.h"

#include "core/AttributeContainer.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"
#include "scene/TextSpriteNodes.h"

#include <algorithm>
#include <cmath>

namespace Strata
{

namespace
{

bool IsHorizontal(MeterBarNode::MeterDirection direction)
{
    return direction == MeterBarNode::LeftToRight || direction == MeterBarNode::RightToLeft;
}

// The share of `units` that value / max fills, cut toward zero and kept within [0, units]. A maximum
// of 0 fills nothing.
int FilledUnits(float value, float max, int units)
{
    if (!(max > 0.0f))
        return 0;
    const int filled = Graphics::TruncateToInt(value / max * static_cast<float>(units));
    return std::clamp(filled, 0, units);
}

// The state both bars draw with: the node's global colour, and its clip when it clips.
Graphics::sDrawState BarState(SceneNode& node)
{
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor = node.GlobalGetColor();
    if (node.clipEnabled)
        state.clipRect = node.clipRect;
    return state;
}

// The drawing calls take images as changeable (a canvas may cache textures); the images stay.
IImage* Mutable(const IImage* image)
{
    return const_cast<IImage*>(image);
}

} // namespace

void MeterComponent::SetMeterValue(float value)
{
    if (!std::isfinite(value) || value < 0.0f)
        value = 0.0f;
    mValue = std::min(value, mMax);
}

void MeterComponent::SetMeterMax(float max)
{
    mMax = std::isfinite(max) && max > 0.0f ? max : 0.0f;
    SetMeterValue(mValue);
}

MeterBarNode::MeterBarNode(MeterDirection direction, int size, const ImageList* images, Label name,
                           std::shared_ptr<IResourceDescriptor> holder)
    : SceneNode(name), mImages(images), mHolder(images ? std::move(holder) : nullptr), mDirection(direction),
      mSize(size)
{
    updateBounds();
}

void MeterBarNode::updateBounds()
{
    mLength = 0;
    if (mImages == nullptr || mImages->GetNumImages() == 0)
    {
        SetWidth(0.0f);
        SetHeight(0.0f);
        return;
    }
    const int imageWidth = mImages->GetImageWidth(0);
    const int imageHeight = mImages->GetImageHeight(0);
    if (IsHorizontal(mDirection))
    {
        mLength = std::min(mSize > 0 ? mSize : imageWidth, kMaxMeterLength);
        SetWidth(static_cast<float>(mLength));
        SetHeight(static_cast<float>(imageHeight));
    }
    else
    {
        mLength = std::min(mSize > 0 ? mSize : imageHeight, kMaxMeterLength);
        SetWidth(static_cast<float>(imageWidth));
        SetHeight(static_cast<float>(mLength));
    }
}

int MeterBarNode::GetFilledLength() const
{
    return FilledUnits(mValue, mMax, mLength);
}

void MeterBarNode::DrawAt(const Vector2<float>& offset)
{
    if (mImages == nullptr || mImages->GetNumImages() == 0 || !GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    const float x = bounds.x + offset.x;
    const float y = bounds.y + offset.y;
    const Graphics::sDrawState state = BarState(*this);
    ICanvas* canvas = Graphics::GetCanvas();
    const bool horizontal = IsHorizontal(mDirection);
    const float length = static_cast<float>(mLength);

    if (const IImage* track = mImages->GetImage(1))
    {
        if (horizontal)
            Graphics::DrawTiledImageH(Mutable(track), x, y, length, 0, state, canvas);
        else
            Graphics::DrawTiledImageV(Mutable(track), x, y, length, state, canvas);
    }

    const int filled = GetFilledLength();
    IImage* fill = Mutable(mImages->GetImage(0));
    if (filled <= 0 || fill == nullptr)
        return;
    const int rest = mLength - filled;
    switch (mDirection)
    {
    case LeftToRight:
        Graphics::DrawTiledImageH(fill, x, y, static_cast<float>(filled), 0, state, canvas);
        break;
    case RightToLeft:
        Graphics::DrawTiledImageH(fill, x + static_cast<float>(rest), y, static_cast<float>(filled), rest, state,
                                  canvas);
        break;
    case TopToBottom:
        Graphics::DrawTiledImageV(fill, x, y, static_cast<float>(filled), 0, state, canvas);
        break;
    case BottomToTop:
        Graphics::DrawTiledImageV(fill, x, y + static_cast<float>(rest), static_cast<float>(filled), rest, state,
                                  canvas);
        break;
    }
}

DiscreteMeterBarNode::DiscreteMeterBarNode(MeterDirection direction, int cellCount, int cellSpacing,
                                           const ImageList* images, Label name,
                                           std::shared_ptr<IResourceDescriptor> holder)
    : SceneNode(name), mImages(images), mHolder(images ? std::move(holder) : nullptr), mDirection(direction),
      mCellCount(std::clamp(cellCount, 0, kMaxMeterCells)), mCellSpacing(std::clamp(cellSpacing, 0, kMaxMeterLength))
{
    UpdateBounds();
}

void DiscreteMeterBarNode::UpdateBounds()
{
    if (mImages == nullptr || mImages->GetNumImages() == 0)
    {
        SetWidth(0.0f);
        SetHeight(0.0f);
        return;
    }
    const int width = mImages->GetImageWidth(0);
    const int height = mImages->GetImageHeight(0);
    const int n = mCellCount;
    // No cells take no room, not a negative spacing's worth.
    const auto along = [this, n](int cell)
    { return n == 0 ? 0.0f : static_cast<float>(cell * n + (n - 1) * mCellSpacing); };
    if (IsHorizontal(mDirection))
    {
        SetWidth(along(width));
        SetHeight(static_cast<float>(height));
    }
    else
    {
        SetWidth(static_cast<float>(width));
        SetHeight(along(height));
    }
}

int DiscreteMeterBarNode::GetFullCells() const
{
    return FilledUnits(mValue, mMax, mCellCount);
}

void DiscreteMeterBarNode::DrawAt(const Vector2<float>& offset)
{
    if (mImages == nullptr || mImages->GetNumImages() == 0 || !GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    Vector2<float> at(bounds.x + offset.x, bounds.y + offset.y);
    const Graphics::sDrawState state = BarState(*this);
    ICanvas* canvas = Graphics::GetCanvas();
    const bool horizontal = IsHorizontal(mDirection);
    const Vector2<float> pitch =
        horizontal ? Vector2<float>(static_cast<float>(mImages->GetImageWidth(0) + mCellSpacing), 0.0f)
                   : Vector2<float>(0.0f, static_cast<float>(mImages->GetImageHeight(0) + mCellSpacing));
    const int full = GetFullCells();
    const int empty = mCellCount - full;
    IImage* fullImage = Mutable(mImages->GetImage(0));
    IImage* emptyImage = Mutable(mImages->GetImage(1));
    const auto drawCells = [&](IImage* image, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            if (image != nullptr)
                Graphics::DrawImage(image, at.x, at.y, state, canvas);
            at = Vector2<float>(at.x + pitch.x, at.y + pitch.y);
        }
    };
    if (mDirection == MeterBarNode::LeftToRight || mDirection == MeterBarNode::TopToBottom)
    {
        drawCells(fullImage, full);
        drawCells(emptyImage, empty);
    }
    else
    {
        drawCells(emptyImage, empty);
        drawCells(fullImage, full);
    }
}

FractionTextMeterNode::FractionTextMeterNode(const Font* font, const ColorF& color, HAlignment justification,
                                             Label name, std::shared_ptr<IResourceDescriptor> holder)
    : SceneNode(name)
{
    auto text = std::make_unique<TextSpriteNode>(Vector2<float>(0.0f, 0.0f), std::wstring(), nullptr, color, 0.0f);
    text->SetFont(font, std::move(holder));
    text->SetTextJustification(justification);
    mText = text.get();
    AttachChild(text.release());
    UpdateText();
}

void FractionTextMeterNode::SetMeterValue(float value)
{
    MeterComponent::SetMeterValue(value);
    UpdateText();
}

void FractionTextMeterNode::SetMeterMax(float max)
{
    MeterComponent::SetMeterMax(max);
    UpdateText();
}

void FractionTextMeterNode::UpdateText()
{
    // Both are finite and at least 0, so the integer parts print as plain digits.
    const auto whole = [](float v) { return std::to_wstring(static_cast<long long>(std::trunc(v))); };
    mText->SetText(whole(mValue) + L"/" + whole(mMax));
    SetWidth(mText->GetWidth());
    SetHeight(mText->GetHeight());
}

MeterBarNode::MeterDirection StringToMeterDirection(const std::wstring& text)
{
    if (text == L"rightToLeft")
        return MeterBarNode::RightToLeft;
    if (text == L"topToBottom")
        return MeterBarNode::TopToBottom;
    if (text == L"bottomToTop")
        return MeterBarNode::BottomToTop;
    return MeterBarNode::LeftToRight;
}

std::unique_ptr<SceneNodeDescriptor> MeterBarNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<MeterBarNodeDescriptor>();
    descriptor->direction = StringToMeterDirection(element.GetAttribute(L"direction"));
    descriptor->size = element.GetAttribute(L"size", 0);
    descriptor->images = Label::FromString(element.GetAttribute(L"images"));
    descriptor->max = FiniteLayoutAttribute(element, L"max", 0.0f);
    descriptor->start = FiniteLayoutAttribute(element, L"start", 0.0f);
    return descriptor;
}

SceneTreePtr MeterBarNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const MeterBarNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<ImageList> images = FindNodeResource<ImageList>("meterbarnode", "image list", own->images);
    auto* node = new MeterBarNode(own->direction, own->size, images.resource, Label(), std::move(images.holder));
    node->SetMeterMax(own->max);
    node->SetMeterValue(own->start);
    return SceneTreePtr(node);
}

std::unique_ptr<SceneNodeDescriptor>
DiscreteMeterBarNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<DiscreteMeterBarNodeDescriptor>();
    descriptor->direction = StringToMeterDirection(element.GetAttribute(L"direction"));
    descriptor->images = Label::FromString(element.GetAttribute(L"images"));
    descriptor->size = std::max(0, element.GetAttribute(L"size", 0));
    descriptor->offset = std::max(0, element.GetAttribute(L"offset", 0));
    descriptor->max = FiniteLayoutAttribute(element, L"max", 0.0f);
    descriptor->start = FiniteLayoutAttribute(element, L"start", 0.0f);
    return descriptor;
}

SceneTreePtr DiscreteMeterBarNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const DiscreteMeterBarNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<ImageList> images = FindNodeResource<ImageList>("discretemeterbarnode", "image list", own->images);
    auto* node = new DiscreteMeterBarNode(own->direction, own->size, own->offset, images.resource, Label(),
                                          std::move(images.holder));
    node->SetMeterMax(own->max);
    node->SetMeterValue(own->start);
    return SceneTreePtr(node);
}

std::unique_ptr<SceneNodeDescriptor>
FractionTextMeterNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<FractionTextMeterNodeDescriptor>();
    descriptor->font = Label::FromString(element.GetAttribute(L"font"));
    descriptor->color = ColorF::FromString(element.GetAttribute(L"color"));
    descriptor->textJustify = StringToHAlignment(element.GetAttribute(L"textJustify"), HAlignment_Left);
    descriptor->max = FiniteLayoutAttribute(element, L"max", 0.0f);
    descriptor->start = FiniteLayoutAttribute(element, L"start", 0.0f);
    return descriptor;
}

SceneTreePtr FractionTextMeterNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const FractionTextMeterNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<Font> font = FindNodeResource<Font>("fractiontextmeternode", "font", own->font);
    auto* node =
        new FractionTextMeterNode(font.resource, own->color, own->textJustify, Label(), std::move(font.holder));
    SceneTreePtr tree(node);
    node->SetMeterMax(own->max);
    node->SetMeterValue(own->start);
    return tree;
}

} // namespace Strata

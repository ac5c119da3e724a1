#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "graphics/DrawState.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>
#include <string>

namespace Strata
{

class Font;
class ImageList;
class IResourceDescriptor;
class TextSpriteNode;

// A value between 0 and a maximum, as the meter nodes show it.
class IMeter
{
public:
    virtual ~IMeter() = default;
    virtual float GetMeterValue() = 0;
    virtual void SetMeterValue(float value) = 0;
    virtual float GetMeterMax() = 0;
    virtual void SetMeterMax(float max) = 0;
};

// Keeps 0 <= value <= max. A value or maximum that is not a finite number counts as 0, so no NaN ever
// reaches a drawing loop.
class MeterComponent : public IMeter
{
public:
    float GetMeterValue() override { return mValue; }
    void SetMeterValue(float value) override;
    float GetMeterMax() override { return mMax; }
    // Then SetMeterValue with the current value, so the value follows a lower maximum.
    void SetMeterMax(float max) override;

protected:
    float mValue = 0.0f;
    float mMax = 0.0f;
};

// Longest bar and most cells a meter draws: a layout's typo cannot make a drawing loop run for long.
constexpr int kMaxMeterLength = 8192;
constexpr int kMaxMeterCells = 256;

// A bar tiled with image 0 (the fill) over image 1 (the empty track, optional) in one of four
// directions; its length is `size`, or the fill image's length along the axis when size <= 0.
class MeterBarNode : public SceneNode, public MeterComponent
{
public:
    enum MeterDirection
    {
        LeftToRight = 0,
        RightToLeft = 1,
        TopToBottom = 2,
        BottomToTop = 3
    };

    // The list must outlive its use here unless `holder` keeps it alive; null draws nothing.
    MeterBarNode(MeterDirection direction, int size, const ImageList* images, Label name,
                 std::shared_ptr<IResourceDescriptor> holder = nullptr);

    MeterDirection GetDirection() const { return mDirection; }
    int GetLength() const { return mLength; }
    // The pixels of the fill for the current value: 0 with a maximum of 0.
    int GetFilledLength() const;

    void DrawAt(const Vector2<float>& offset) override;

private:
    void updateBounds();

    const ImageList* mImages;
    std::shared_ptr<IResourceDescriptor> mHolder;
    MeterDirection mDirection;
    int mSize;
    int mLength = 0;
};

// A row or column of cells, the first ones full (image 0) and the rest empty (image 1); directions 1
// and 3 put the full cells at the right or bottom end.
class DiscreteMeterBarNode : public SceneNode, public MeterComponent
{
public:
    using MeterDirection = MeterBarNode::MeterDirection;

    // Counts and spacing below 0 count as 0; counts above kMaxMeterCells as that.
    DiscreteMeterBarNode(MeterDirection direction, int cellCount, int cellSpacing, const ImageList* images, Label name,
                         std::shared_ptr<IResourceDescriptor> holder = nullptr);

    int GetCellCount() const { return mCellCount; }
    // The cells shown full for the current value: none with a maximum of 0.
    int GetFullCells() const;

    void DrawAt(const Vector2<float>& offset) override;

private:
    void UpdateBounds();

    const ImageList* mImages;
    std::shared_ptr<IResourceDescriptor> mHolder;
    MeterDirection mDirection;
    int mCellCount;
    int mCellSpacing;
};

// "value/max" as whole numbers in a bitmap font, drawn by a text sprite child; the node takes the
// child's size.
class FractionTextMeterNode : public SceneNode, public MeterComponent
{
public:
    // The font must outlive its use here unless `holder` keeps it alive.
    FractionTextMeterNode(const Font* font, const ColorF& color, HAlignment justification, Label name,
                          std::shared_ptr<IResourceDescriptor> holder = nullptr);

    // Each as in MeterComponent, then shows the new text.
    void SetMeterValue(float value) override;
    void SetMeterMax(float max) override;

    TextSpriteNode* GetTextNode() const { return mText; }

private:
    void UpdateText();

    // Owned through the tree as the node's only own child.
    TextSpriteNode* mText;
};

// The word of a meter direction ("leftToRight", "rightToLeft", "topToBottom", "bottomToTop", exact
// case); any other text gives left to right.
MeterBarNode::MeterDirection StringToMeterDirection(const std::wstring& text);

class MeterBarNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label images;
    MeterBarNode::MeterDirection direction = MeterBarNode::LeftToRight;
    int size = 0;
    float max = 0.0f;
    float start = 0.0f;
};

class DiscreteMeterBarNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label images;
    MeterBarNode::MeterDirection direction = MeterBarNode::LeftToRight;
    int size = 0;
    int offset = 0;
    float max = 0.0f;
    float start = 0.0f;
};

class FractionTextMeterNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label font;
    ColorF color{0.0f, 0.0f, 0.0f, 1.0f};
    HAlignment textJustify = HAlignment_Left;
    float max = 0.0f;
    float start = 0.0f;
};

// "meterbarnode": "direction", "size", "images", "max", "start".
class MeterBarNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "discretemeterbarnode": "direction", "images", "size" (cells), "offset" (spacing), "max", "start".
class DiscreteMeterBarNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "fractiontextmeternode": "font", "color" (opaque black by default), "textJustify", "max", "start".
class FractionTextMeterNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata

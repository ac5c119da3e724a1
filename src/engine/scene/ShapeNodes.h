#pragma once

#include "core/Label.h"
#include "core/Vector2.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>

namespace Strata
{

class IImageList;
class IResourceDescriptor;

// A rectangle of the node's own size in the node's colour, filled or as an outline. Scale and rotation
// do not apply.
class RectNode : public SceneNode
{
public:
    RectNode(float width, float height, bool filled);
    void DrawAt(const Vector2<float>& offset) override;

    bool filled = true;
};

// The ellipse inscribed in the node's own box, in the node's colour, filled or as an outline.
class EllipseNode : public SceneNode
{
public:
    EllipseNode(float width, float height, bool filled);
    void DrawAt(const Vector2<float>& offset) override;

    bool filled = true;
};

// A panel of the node's own size drawn from a nine-slice image list (images 0 to 8), faded by the
// node's alpha. Never takes the keyboard focus.
class BackgroundNode : public SceneNode
{
public:
    // The list must outlive its use here unless `holder` keeps it alive; null draws nothing.
    BackgroundNode(Label name, const Vector2<float>& position, const IImageList* images, float width, float height,
                   std::shared_ptr<IResourceDescriptor> holder = nullptr);

    const IImageList* GetImages() const { return mImages; }
    bool CanFocus() override;
    void DrawAt(const Vector2<float>& offset) override;

private:
    const IImageList* mImages;
    std::shared_ptr<IResourceDescriptor> mHolder;
};

class RectNodeDescriptor : public SceneNodeDescriptor
{
public:
    float width = 0.0f;
    float height = 0.0f;
    bool filled = true;
};

class EllipseNodeDescriptor : public SceneNodeDescriptor
{
public:
    float width = 0.0f;
    float height = 0.0f;
    bool filled = true;
};

class BackgroundNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label images;
    float width = 0.0f;
    float height = 0.0f;
};

// "rectnode": "width", "height", "filled" (default true).
class RectNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "ellipsenode": "width", "height", "filled" (default true).
class EllipseNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "backgroundnode": "images" (an image-list resource), "width", "height".
class BackgroundNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata

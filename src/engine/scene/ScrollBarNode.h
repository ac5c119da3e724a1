#pragma once

#include "core/Label.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>
#include <vector>

namespace Strata
{

class IImageList;
class IResourceDescriptor;

// A vertical channel (images 0 to 2: top cap, middle, bottom cap) with an up arrow button at its top
// and a down arrow button at its bottom, named after the scroll bar with "ScrollUp" and "ScrollDown".
// It has no value of its own: the arrows send "ButtonClick" like any button. The arrows are children
// and join a database with the scroll bar's tree.
class ScrollBarNode : public SceneNode
{
public:
    // The lists are not owned: they must outlive their use here.
    ScrollBarNode(Label name, const Vector2<float>& location, const IImageList* channelImages,
                  const IImageList* thumbImages, const IImageList* upArrowImages, const IImageList* downArrowImages,
                  float height);

    // Keeps the lists alive while the node holds them.
    void HoldResources(std::vector<std::shared_ptr<IResourceDescriptor>> holders) { mHolders = std::move(holders); }

    const IImageList* GetChannelImages() const { return mChannelImages; }
    const IImageList* GetThumbImages() const { return mThumbImages; }
    const Vector2<float>& GetLocation() const { return mLocation; }

    void DrawAt(const Vector2<float>& offset) override;

private:
    const IImageList* mChannelImages;
    Vector2<float> mLocation;
    const IImageList* mThumbImages;
    std::vector<std::shared_ptr<IResourceDescriptor>> mHolders;
};

class ScrollBarNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label channelImages;
    Label thumbImages;
    Label upArrowImages;
    Label downArrowImages;
    float height = 0.0f;
};

// "scrollbarnode": "channelImages", "thumbImages", "upArrowImages", "downArrowImages", "height".
class ScrollBarNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata

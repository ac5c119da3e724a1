#pragma once

#include "core/Label.h"
#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <cstdint>
#include <memory>

namespace Strata
{

class AnimationController;
class IImage;
class IResourceDescriptor;
class ImageList;
class SpriteType;

// Shows one image at its natural size.
class StaticSpriteNode : public SceneNode
{
public:
    explicit StaticSpriteNode(const IImage* image = nullptr);

    // The node takes the image's size (0 by 0 for null). The image must outlive its use here unless
    // `holder` keeps it alive.
    void setImage(const IImage* image, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    // The list's image at index; null when the list is null or the index is outside it.
    void setImage(const ImageList* list, int index, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    // The image resource of that name (none, reported once, when missing).
    void setImage(Label name);
    // The image at index of the image-list resource of that name.
    void setImage(Label listName, int index);
    const IImage* GetImage() const { return mImage; }

    void DrawAt(const Vector2<float>& offset) override;
    bool GlobalPointIntersects(const Vector2<float>& point) override;

    // 0 hits anywhere inside the bounds; otherwise a point hits where the alpha is greater.
    int32_t alphaSensitivity = 0;
    // Draw at whole-pixel positions.
    bool noBlur = false;

private:
    const IImage* mImage = nullptr;
    std::shared_ptr<IResourceDescriptor> mHolder;
};

// Shows the current frame of a sprite type's animation and takes that frame's size. The node owns an
// AnimationController in its database (kept by the node until the node joins one), which the database
// advances every frame.
class AnimatedSpriteNode : public SceneNode
{
public:
    explicit AnimatedSpriteNode(Label spriteType = Label());
    ~AnimatedSpriteNode() override;

    // The "spritetype" resource of that name; none, reported once, when missing.
    void SetSpriteType(Label name);
    // Another type drops the running animation: a new idle controller shows image 0. The same type
    // changes nothing. The type must outlive its use here unless `holder` keeps it alive.
    void SetSpriteType(const SpriteType* type, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    const SpriteType* GetSpriteType() const { return mSpriteType; }
    const ImageList* GetImageList() const { return mImageList; }

    // Starts the type's animation of that name (an unknown name stops a playing animation and shows
    // image 0), then refits the size. Nothing without a type.
    void SetAnimation(Label name, bool restart);
    // Shows that image as a still frame, then refits the size.
    void SetFrameIndex(int index);
    // Null without a type or when idle.
    Label GetCurAnimationName();
    bool IsAnimationPlaying(Label name);
    // Null without a type.
    AnimationController* GetAnimationController();
    // The current frame's size, or 0 by 0 when there is no frame to show.
    void UpdateDimensionsForCurrentFrame();

    // Hands the controller to the database the node joins.
    void ReceiveMessage(const ObjectMessage& message) override;
    void Update(float dt) override;
    void NodeDestroyed() override;
    // Refits first, so the size always matches the frame drawn.
    void DrawAt(const Vector2<float>& offset) override;
    bool GlobalPointIntersects(const Vector2<float>& point) override;

    int32_t alphaSensitivity = 0;
    bool noBlur = false;

private:
    void DropController();
    // The frame shown, or -1 when nothing can be shown.
    int CurrentFrame();

    const SpriteType* mSpriteType = nullptr;
    std::shared_ptr<IResourceDescriptor> mTypeHolder;
    const ImageList* mImageList = nullptr;
    std::shared_ptr<IResourceDescriptor> mListHolder;
    ObjectID mController;
    // The controller until the node is in a database (or after it left it).
    std::unique_ptr<AnimationController> mOwnController;
    bool mDestroyed = false;
};

// Fills its own rectangle with a repeated image, from a source offset. Scale and rotation do not apply.
class TiledSpriteNode : public SceneNode
{
public:
    explicit TiledSpriteNode(const IImage* image = nullptr, const Vector2<float>& size = Vector2<float>(0.0f, 0.0f));

    // The node keeps its size whatever image it is given.
    void SetImage(const IImage* image, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    void SetImage(const ImageList* list, int index, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    void SetImage(Label name);
    void SetImage(Label listName, int index);
    const IImage* GetImage() const { return mImage; }

    void DrawAt(const Vector2<float>& offset) override;
    bool GlobalPointIntersects(const Vector2<float>& point) override;

    // The image pixel shown at the node's top-left corner.
    Vector2<int> srcOffset{0, 0};
    int32_t alphaSensitivity = 0;

private:
    const IImage* mImage = nullptr;
    std::shared_ptr<IResourceDescriptor> mHolder;
};

class StaticSpriteNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label src;
    int32_t alphaSensitivity = 0;
    bool noBlur = false;
};

class AnimatedSpriteNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label spriteType;
    // Null when not given.
    Label initialAnimation;
    int32_t alphaSensitivity = 0;
    bool noBlur = false;
};

class TiledSpriteNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label src;
    Vector2<float> size{0.0f, 0.0f};
    Vector2<int> srcOffset{0, 0};
    int32_t alphaSensitivity = 0;
};

// "staticspritenode": "src" (an image), "alphaSensitivity", "noBlur".
class StaticSpriteNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "animatedspritenode": "spriteType", "initialAnimation" (started without restart), "alphaSensitivity",
// "noBlur".
class AnimatedSpriteNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "tiledspritenode": "src" (an image), "width", "height", "srcOffsetX", "srcOffsetY", "alphaSensitivity".
class TiledSpriteNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata

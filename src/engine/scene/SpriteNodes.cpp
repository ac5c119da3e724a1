#include "scene/SpriteNodes.h"

#include "core/AttributeContainer.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/AnimationController.h"
#include "scene/NodeResources.h"
#include "scene/SpriteType.h"

#include <cmath>

namespace Strata
{

namespace
{

const IImage* ListImage(const ImageList* list, int index)
{
    return (list != nullptr && index >= 0 && index < list->GetNumImages()) ? list->GetImage(index) : nullptr;
}

// The pixel of the node's image under a global point: whole pixels from the bounds' corner, each
// coordinate truncated on its own.
Vector2<int> PixelUnder(const Vector2<float>& point, const Rect<float>& bounds)
{
    return Vector2<int>(Graphics::TruncateToInt(point.x) - Graphics::TruncateToInt(bounds.x),
                        Graphics::TruncateToInt(point.y) - Graphics::TruncateToInt(bounds.y));
}

uint8_t ImageAlpha(const IImage* image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image->GetWidth() || y >= image->GetHeight())
        return 0;
    return image->GetPixel(x, y).a;
}

ObjectDatabase* DatabaseOf(const SceneNode* node)
{
    ObjectDatabase* database = node->GetDatabase();
    return database ? database : GetObjectDatabase();
}

} // namespace

StaticSpriteNode::StaticSpriteNode(const IImage* image) : SceneNode(Label())
{
    setImage(image);
}

void StaticSpriteNode::setImage(const IImage* image, std::shared_ptr<IResourceDescriptor> holder)
{
    mImage = image;
    mHolder = image ? std::move(holder) : nullptr;
    SetWidth(image ? static_cast<float>(image->GetWidth()) : 0.0f);
    SetHeight(image ? static_cast<float>(image->GetHeight()) : 0.0f);
}

void StaticSpriteNode::setImage(const ImageList* list, int index, std::shared_ptr<IResourceDescriptor> holder)
{
    setImage(ListImage(list, index), std::move(holder));
}

void StaticSpriteNode::setImage(Label name)
{
    HeldResource<IImage> image = FindNodeResource<IImage>("staticspritenode", "image", name);
    setImage(image.resource, std::move(image.holder));
}

void StaticSpriteNode::setImage(Label listName, int index)
{
    HeldResource<ImageList> list = FindNodeResource<ImageList>("staticspritenode", "image list", listName);
    setImage(list.resource, index, std::move(list.holder));
}

void StaticSpriteNode::DrawAt(const Vector2<float>& offset)
{
    if (mImage == nullptr || !GlobalIsVisible())
        return;
    DrawImage(mImage, offset, noBlur);
}

bool StaticSpriteNode::GlobalPointIntersects(const Vector2<float>& point)
{
    if (mImage == nullptr || !GlobalBoundsContains(point.x, point.y))
        return false;
    if (alphaSensitivity == 0)
        return true;
    const Vector2<int> pixel = PixelUnder(point, GlobalGetBounds());
    return ImageAlpha(mImage, pixel.x, pixel.y) > alphaSensitivity;
}

AnimatedSpriteNode::AnimatedSpriteNode(Label spriteType) : SceneNode(Label())
{
    SetSpriteType(spriteType);
}

AnimatedSpriteNode::~AnimatedSpriteNode() = default;

void AnimatedSpriteNode::SetSpriteType(Label name)
{
    HeldResource<SpriteType> type = FindNodeResource<SpriteType>("animatedspritenode", "sprite type", name);
    SetSpriteType(type.resource, std::move(type.holder));
}

void AnimatedSpriteNode::SetSpriteType(const SpriteType* type, std::shared_ptr<IResourceDescriptor> holder)
{
    if (type == mSpriteType)
        return;
    DropController();
    mSpriteType = type;
    mTypeHolder = type ? std::move(holder) : nullptr;
    mImageList = nullptr;
    mListHolder.reset();
    if (type != nullptr)
    {
        auto controller = std::make_unique<AnimationController>();
        // The controller points into the type: it keeps the type alive as long as it lives.
        controller->HoldResource(mTypeHolder);
        // A node already removed keeps its controller itself, so nothing outlives it in the database.
        ObjectDatabase* database = mDestroyed ? nullptr : GetDatabase();
        if (database)
        {
            mController = database->AddObject(controller.get());
            controller.release();
        }
        else
        {
            mOwnController = std::move(controller);
        }
        HeldResource<ImageList> list = FindNodeResource<ImageList>("animatedspritenode", "image list", type->images);
        mImageList = list.resource;
        mListHolder = std::move(list.holder);
    }
    UpdateDimensionsForCurrentFrame();
}

void AnimatedSpriteNode::DropController()
{
    mOwnController.reset();
    if (!mController.IsInvalid())
    {
        if (ObjectDatabase* database = DatabaseOf(this))
            database->DestroyObject(mController);
        mController = ObjectID();
    }
}

AnimationController* AnimatedSpriteNode::GetAnimationController()
{
    if (mSpriteType == nullptr)
        return nullptr;
    if (mOwnController)
        return mOwnController.get();
    ObjectDatabase* database = DatabaseOf(this);
    return database ? dynamic_cast<AnimationController*>(database->GetObject(mController)) : nullptr;
}

void AnimatedSpriteNode::ReceiveMessage(const ObjectMessage& message)
{
    SceneNode::ReceiveMessage(message);
    ObjectDatabase* database = GetDatabase();
    if (message.GetName() == GetAddMessageName() && mOwnController && database && !mDestroyed)
    {
        mController = database->AddObject(mOwnController.get());
        mOwnController.release();
    }
}

void AnimatedSpriteNode::SetAnimation(Label name, bool restart)
{
    if (mSpriteType == nullptr)
        return;
    if (AnimationController* controller = GetAnimationController())
        controller->SetAnimation(mSpriteType->GetAnimation(name), restart);
    UpdateDimensionsForCurrentFrame();
}

void AnimatedSpriteNode::SetFrameIndex(int index)
{
    AnimationController* controller = GetAnimationController();
    if (controller == nullptr)
        return;
    controller->SetFrameIndex(index);
    UpdateDimensionsForCurrentFrame();
}

Label AnimatedSpriteNode::GetCurAnimationName()
{
    AnimationController* controller = GetAnimationController();
    return controller ? controller->GetCurAnimationName() : Label();
}

bool AnimatedSpriteNode::IsAnimationPlaying(Label name)
{
    return !name.IsNull() && mSpriteType != nullptr && GetCurAnimationName() == name;
}

int AnimatedSpriteNode::CurrentFrame()
{
    AnimationController* controller = GetAnimationController();
    if (mImageList == nullptr || controller == nullptr)
        return -1;
    const int index = controller->GetFrameIndex();
    return (index >= 0 && index < mImageList->GetNumImages()) ? index : -1;
}

void AnimatedSpriteNode::UpdateDimensionsForCurrentFrame()
{
    const int frame = CurrentFrame();
    const float width = frame >= 0 ? static_cast<float>(mImageList->GetImageWidth(frame)) : 0.0f;
    const float height = frame >= 0 ? static_cast<float>(mImageList->GetImageHeight(frame)) : 0.0f;
    // Only a real change marks the placement dirty, so a still frame costs no refresh.
    if (width != GetWidth())
        SetWidth(width);
    if (height != GetHeight())
        SetHeight(height);
}

void AnimatedSpriteNode::Update(float dt)
{
    SceneNode::Update(dt);
    UpdateDimensionsForCurrentFrame();
}

void AnimatedSpriteNode::NodeDestroyed()
{
    mDestroyed = true;
    DropController();
    SceneNode::NodeDestroyed();
}

void AnimatedSpriteNode::DrawAt(const Vector2<float>& offset)
{
    UpdateDimensionsForCurrentFrame();
    if (mSpriteType == nullptr || !GlobalIsVisible())
        return;
    const int frame = CurrentFrame();
    if (frame >= 0)
        DrawImage(mImageList->GetImage(frame), offset, noBlur);
}

bool AnimatedSpriteNode::GlobalPointIntersects(const Vector2<float>& point)
{
    if (mImageList == nullptr || mSpriteType == nullptr || !GlobalBoundsContains(point.x, point.y))
        return false;
    if (alphaSensitivity == 0)
        return true;
    const int frame = CurrentFrame();
    if (frame < 0)
        return false;
    const Vector2<int> pixel = PixelUnder(point, GlobalGetBounds());
    return mImageList->GetImagePixelAlpha(frame, pixel.x, pixel.y) > alphaSensitivity;
}

TiledSpriteNode::TiledSpriteNode(const IImage* image, const Vector2<float>& size) : SceneNode(Label()), mImage(image)
{
    SetWidth(size.x);
    SetHeight(size.y);
}

void TiledSpriteNode::SetImage(const IImage* image, std::shared_ptr<IResourceDescriptor> holder)
{
    mImage = image;
    mHolder = image ? std::move(holder) : nullptr;
}

void TiledSpriteNode::SetImage(const ImageList* list, int index, std::shared_ptr<IResourceDescriptor> holder)
{
    SetImage(ListImage(list, index), std::move(holder));
}

void TiledSpriteNode::SetImage(Label name)
{
    HeldResource<IImage> image = FindNodeResource<IImage>("tiledspritenode", "image", name);
    SetImage(image.resource, std::move(image.holder));
}

void TiledSpriteNode::SetImage(Label listName, int index)
{
    HeldResource<ImageList> list = FindNodeResource<ImageList>("tiledspritenode", "image list", listName);
    SetImage(list.resource, index, std::move(list.holder));
}

void TiledSpriteNode::DrawAt(const Vector2<float>& offset)
{
    if (mImage == nullptr || !GlobalIsVisible())
        return;
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor = GlobalGetColor();
    if (clipEnabled)
        state.clipRect = clipRect;
    const Rect<float>& bounds = GlobalGetBounds();
    const Rect<float> area(bounds.x + offset.x, bounds.y + offset.y, bounds.width, bounds.height);
    // The drawing calls take images as changeable (a canvas may cache a texture); the pixels stay.
    Graphics::DrawTiledImageHV(const_cast<IImage*>(mImage), area, srcOffset, state, Graphics::GetCanvas());
}

bool TiledSpriteNode::GlobalPointIntersects(const Vector2<float>& point)
{
    if (mImage == nullptr || alphaSensitivity > 254 || !GlobalBoundsContains(point.x, point.y))
        return false;
    if (alphaSensitivity == 0)
        return true;
    const Vector2<int> pixel = PixelUnder(point, GlobalGetBounds());
    const uint8_t alpha =
        Graphics::GetTiledImageHVAlpha(mImage, Vector2<float>(GetWidth(), GetHeight()), srcOffset, pixel.x, pixel.y);
    return alpha > alphaSensitivity;
}

std::unique_ptr<SceneNodeDescriptor> StaticSpriteNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<StaticSpriteNodeDescriptor>();
    descriptor->src = Label::FromString(element.GetAttribute(L"src"));
    descriptor->alphaSensitivity = element.GetAttribute(L"alphaSensitivity", 0);
    descriptor->noBlur = element.GetAttribute(L"noBlur", false);
    return descriptor;
}

SceneTreePtr StaticSpriteNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const StaticSpriteNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<StaticSpriteNode>();
    node->setImage(own->src);
    node->alphaSensitivity = own->alphaSensitivity;
    node->noBlur = own->noBlur;
    return SceneTreePtr(node.release());
}

std::unique_ptr<SceneNodeDescriptor>
AnimatedSpriteNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<AnimatedSpriteNodeDescriptor>();
    descriptor->spriteType = Label::FromString(element.GetAttribute(L"spriteType"));
    if (element.HasAttribute(L"initialAnimation"))
        descriptor->initialAnimation = Label::FromString(element.GetAttribute(L"initialAnimation"));
    descriptor->alphaSensitivity = element.GetAttribute(L"alphaSensitivity", 0);
    descriptor->noBlur = element.GetAttribute(L"noBlur", false);
    return descriptor;
}

SceneTreePtr AnimatedSpriteNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const AnimatedSpriteNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<AnimatedSpriteNode>(own->spriteType);
    if (!own->initialAnimation.IsNull())
        node->SetAnimation(own->initialAnimation, false);
    node->alphaSensitivity = own->alphaSensitivity;
    node->noBlur = own->noBlur;
    return SceneTreePtr(node.release());
}

std::unique_ptr<SceneNodeDescriptor> TiledSpriteNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<TiledSpriteNodeDescriptor>();
    descriptor->src = Label::FromString(element.GetAttribute(L"src"));
    descriptor->size =
        Vector2<float>(FiniteLayoutAttribute(element, L"width", 0.0f), FiniteLayoutAttribute(element, L"height", 0.0f));
    descriptor->srcOffset =
        Vector2<int>(element.GetAttribute(L"srcOffsetX", 0), element.GetAttribute(L"srcOffsetY", 0));
    descriptor->alphaSensitivity = element.GetAttribute(L"alphaSensitivity", 0);
    return descriptor;
}

SceneTreePtr TiledSpriteNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const TiledSpriteNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<TiledSpriteNode>(nullptr, own->size);
    node->SetImage(own->src);
    node->srcOffset = own->srcOffset;
    node->alphaSensitivity = own->alphaSensitivity;
    return SceneTreePtr(node.release());
}

} // namespace Strata

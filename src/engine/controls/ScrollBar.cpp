#include "controls/ScrollBar.h"

#include "controls/Button.h"
#include "core/AttributeContainer.h"
#include "core/Log.h"
#include "framework/AutoObject.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/ImageList.h"

#include <memory>

namespace Strata
{

namespace
{

constexpr int kChannelImages = 3;

Label UpArrowName(Label bar)
{
    return Label::FromStringF("%sScrollUp", bar.c_str());
}

Label DownArrowName(Label bar)
{
    return Label::FromStringF("%sScrollDown", bar.c_str());
}

} // namespace

ScrollBarObject::ScrollBarObject(Label name) : ControlObject(name)
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database == nullptr)
        return;
    // Owned by the database once added: the bar never deletes them. A refused add leaves ownership here.
    mArrowDatabase = database;
    for (const Label arrowName : {UpArrowName(name), DownArrowName(name)})
    {
        auto arrow = std::make_unique<ButtonObject>(arrowName);
        mArrowIDs.push_back(database->AddObject(arrow.get()));
        arrow.release();
    }
}

ScrollBarObject::~ScrollBarObject() = default;

void ScrollBarObject::ReceiveMessage(const ObjectMessage& message)
{
    // Left behind, the arrows would stay drawn and clickable, and pile up each time the layout loads. By
    // their identifiers: another bar of the same name may hold the names now. (An arrow already
    // destroyed has an identifier that no longer counts.)
    if (message.GetName() == GetRemoveMessageName() && mArrowDatabase != nullptr)
    {
        for (const ObjectID id : mArrowIDs)
            mArrowDatabase->DestroyObject(id);
        mArrowIDs.clear();
    }
    ControlObject::ReceiveMessage(message);
}

ButtonObject* ScrollBarObject::GetUpArrow() const
{
    return AutoObject<ButtonObject>(UpArrowName(mName)).Get();
}

ButtonObject* ScrollBarObject::GetDownArrow() const
{
    return AutoObject<ButtonObject>(DownArrowName(mName)).Get();
}

void ScrollBarObject::SetLayer(float layer)
{
    ControlObject::SetLayer(layer);
    for (ButtonObject* arrow : {GetUpArrow(), GetDownArrow()})
        if (arrow)
            arrow->SetLayer(layer + 1.0f);
}

void ScrollBarObject::SetBounds(const Rect<float>& bounds)
{
    ControlObject::SetBounds(bounds);
    if (ButtonObject* up = GetUpArrow())
        up->SetLocation(Vector2<float>(bounds.x, bounds.y));
    if (ButtonObject* down = GetDownArrow())
        down->SetLocation(Vector2<float>(bounds.x, bounds.y + bounds.height - down->GetBounds().height));
}

void ScrollBarObject::SetSounds(const SoundList* sounds)
{
    mSounds = sounds;
    for (ButtonObject* arrow : {GetUpArrow(), GetDownArrow()})
        if (arrow)
            arrow->mSounds = sounds;
}

void ScrollBarObject::SetUpArrowImages(const ImageListHandle& images)
{
    if (ButtonObject* up = GetUpArrow())
        up->SetImages(images);
}

void ScrollBarObject::SetDownArrowImages(const ImageListHandle& images)
{
    if (ButtonObject* down = GetDownArrow())
        down->SetImages(images);
}

void ScrollBarObject::Draw()
{
    if (!mVisible)
        return;
    if (!mChannelImages || mChannelImages->GetNumImages() < kChannelImages)
    {
        if (!mReportedNoChannel)
        {
            mReportedNoChannel = true;
            Internal::LogWrite("Scroll bar %s has no channel images\n", mName.c_str());
        }
        return;
    }
    // The brush call takes the list as mutable; it only reads it.
    Graphics::DrawThreeBrushVertical(const_cast<IImageList*>(mChannelImages.Get()), 0, mBounds.x, mBounds.y,
                                     mBounds.height, Graphics::GetDrawState(), Graphics::GetCanvas());
}

Object* ScrollBarObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto bar = std::make_unique<ScrollBarObject>(name);
    if (attributes.HasAttribute(L"channelImages"))
        bar->SetChannelImages(FindImageListAttribute(attributes, L"channelImages"));
    if (attributes.HasAttribute(L"thumbImages"))
        bar->SetThumbImages(FindImageListAttribute(attributes, L"thumbImages"));
    if (attributes.HasAttribute(L"downArrowImages"))
        bar->SetDownArrowImages(FindImageListAttribute(attributes, L"downArrowImages"));
    if (attributes.HasAttribute(L"upArrowImages"))
        bar->SetUpArrowImages(FindImageListAttribute(attributes, L"upArrowImages"));
    bar->SetSounds(FindSoundListAttribute(attributes, L"sounds"));
    return bar.release();
}

} // namespace Strata

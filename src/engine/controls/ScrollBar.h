#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectFactory.h"
#include "framework/ObjectID.h"

#include <vector>

namespace Strata
{

class ButtonObject;
class IImageList;
class ObjectDatabase;
class SoundList;

// A vertical scroll bar frame (layout type "scrollbar"): a three-slice channel stretched to its height
// and two arrow buttons, "<name>ScrollUp" at its top and "<name>ScrollDown" at its bottom, one layer
// above it. The arrows live in the object database on their own and are found by name on every use;
// they are destroyed with the bar, so an unloaded layout leaves no arrow behind. Their clicks reach the
// screen as their own "ButtonClick" messages. The bar handles no input and holds
// no scroll position.
class ScrollBarObject : public ControlObject
{
public:
    // Adds the up arrow and then the down arrow to the current object database; without one there are
    // no arrows and every operation on them is passed over. A database that refuses an arrow (all slots
    // in use) throws its RuntimeError out of the constructor; an up arrow already added stays there.
    explicit ScrollBarObject(Label name);
    ~ScrollBarObject() override;

    // On its removal from the database, destroys the two arrows it made there (not others of their names).
    void ReceiveMessage(const ObjectMessage& message) override;
    // Stores the layer and puts both arrows one layer above it.
    void SetLayer(float layer) override;
    // Stores the bounds and moves the up arrow to the top-left corner and the down arrow so that its
    // bottom edge meets the bar's.
    void SetBounds(const Rect<float>& bounds) override;
    // The channel, images 0 to 2 of the channel list; nothing when hidden. A missing or short channel
    // list is reported once and nothing is drawn.
    void Draw() override;

    // Stored and handed to both arrows (not owned).
    void SetSounds(const SoundList* sounds);
    // Passed to the arrow's SetImages, which also sizes it.
    void SetUpArrowImages(const ImageListHandle& images);
    void SetDownArrowImages(const ImageListHandle& images);

    void SetChannelImages(ImageListHandle images) { mChannelImages = std::move(images); }
    const IImageList* GetChannelImages() const { return mChannelImages; }
    // Kept for the layout's sake; never drawn.
    void SetThumbImages(ImageListHandle images) { mThumbImages = std::move(images); }
    const IImageList* GetThumbImages() const { return mThumbImages; }
    const SoundList* GetSounds() const { return mSounds; }

    // The arrows as they are now in the current database; null when missing.
    ButtonObject* GetUpArrow() const;
    ButtonObject* GetDownArrow() const;

private:
    ImageListHandle mChannelImages;
    ImageListHandle mThumbImages;
    const SoundList* mSounds = nullptr;
    bool mReportedNoChannel = false;
    // Where the arrows were made, and which they are: only for destroying them with the bar.
    ObjectDatabase* mArrowDatabase = nullptr;
    std::vector<ObjectID> mArrowIDs;
};

// Reads "channelImages", "thumbImages", "downArrowImages", "upArrowImages" (image list resources) and
// "sounds" (a sound list), each only when present; a name that finds no resource leaves that part empty.
class ScrollBarObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata

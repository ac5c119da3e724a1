#include "game/screens/StickerBookSurface.h"

#include "core/Rect.h"
#include "framework/ObjectDatabase.h"
#include "game/AudioManager.h"
#include "game/screens/StickerBookContent.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace Names = StickerBookContent;

namespace
{

Strata::SceneNode* FindNode(Strata::ObjectDatabase* database, Strata::ObjectID id)
{
    return database != nullptr ? dynamic_cast<Strata::SceneNode*>(database->GetObject(id)) : nullptr;
}

} // namespace

Sticker* Sticker::AddTo(Strata::ObjectDatabase& database, int sticker)
{
    auto made = std::make_unique<Sticker>(sticker);
    Sticker* added = made.get();
    database.AddObject(made.release());
    return added;
}

bool Sticker::takeInHand(Strata::SceneNode& picture, Strata::SceneNode& layer, int x, int y)
{
    Strata::SceneTreePtr tree(new Strata::StaticSpriteNode());
    auto* copy = static_cast<Strata::StaticSpriteNode*>(tree.get());
    copy->setImage(Strata::Label(Names::kStickers.name), mSticker);
    if (copy->GetImage() != nullptr)
        PickUpCopy(std::move(tree), &picture, &layer, x, y);
    if (GetHeldDragSource() != this)
    {
        DestroySelf();
        return false;
    }
    GetAudioManager()->playSFX(Strata::Label(Names::kPickUp.name));
    return true;
}

void Sticker::DoOnCancel()
{
    HeldDragSource<Sticker*>::DoOnCancel();
    GetAudioManager()->playSFX(Strata::Label(Names::kPutBack.name));
    DestroySelf();
}

void Sticker::DoOnReleased()
{
    // A sticker the page took is the page's now; one it left alone goes back.
    HeldDragSource<Sticker*>::DoOnReleased();
    DestroySelf();
}

StickerBookSurface::StickerBookSurface(Strata::ObjectDatabase& database, Strata::SceneNode& page)
    : mDatabase(&database), mPage(page.GetID())
{
}

StickerBookSurface* StickerBookSurface::AddTo(Strata::ObjectDatabase& database, Strata::SceneNode& page)
{
    std::unique_ptr<StickerBookSurface> made(new StickerBookSurface(database, page));
    StickerBookSurface* surface = made.get();
    database.AddObject(made.release());
    page.hitTest = true;
    ConnectDragTarget<Sticker>(*surface, page);
    return surface;
}

Strata::SceneNode* StickerBookSurface::getPage() const
{
    return FindNode(mDatabase, mPage);
}

void StickerBookSurface::DropActivated(Sticker* sticker)
{
    Strata::SceneNode* page = getPage();
    Strata::SceneNode* copy = sticker != nullptr ? sticker->GetHeldItem().GetCarriedNode() : nullptr;
    if (page == nullptr || copy == nullptr)
        return;
    const Strata::Rect<float> area = page->GlobalGetBounds();
    const Strata::Rect<float> dropped = copy->GlobalGetBounds();
    const Strata::Vector2<float> corner(
        std::clamp(dropped.x, area.x, std::max(area.x, area.x + area.width - dropped.width)),
        std::clamp(dropped.y, area.y, std::max(area.y, area.y + area.height - dropped.height)));
    sticker->PutDown(page, corner - Strata::Vector2<float>(area.x, area.y));

    mPlaced.emplace_back(sticker->getSticker(), copy->GetID());
    GetAudioManager()->playSFX(Strata::Label(Names::kStick.name));
    if (mPlaced.size() == 1)
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kFirstStuck.name));
}

std::vector<StickerBookSurface::sPlacedSticker> StickerBookSurface::getPlacedStickers() const
{
    std::vector<sPlacedSticker> placed;
    Strata::SceneNode* page = getPage();
    for (const auto& [sticker, id] : mPlaced)
        if (Strata::SceneNode* node = FindNode(mDatabase, id);
            node != nullptr && page != nullptr && node->GetParent() == page)
            placed.push_back({sticker, node->LocalGetLocation()});
    return placed;
}

} // namespace Yardcrew

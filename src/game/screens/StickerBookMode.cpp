#include "game/screens/StickerBookMode.h"

#include "game/AudioManager.h"
#include "game/StickerManager.h"
#include "game/screens/ScreenSupport.h"
#include "game/screens/StickerBookContent.h"
#include "game/screens/StickerBookSurface.h"
#include "game/screens/StickerList.h"
#include "scene/ButtonNode.h"

#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = StickerBookContent;

constexpr sContentName kMore[] = {Names::kStickers, Names::kSlotLayout, Names::kPickUp,
                                  Names::kStick,    Names::kPutBack,    Names::kFirstStuck};

} // namespace

const sMenuScreen StickerBookMode::kScreen{"sticker book",      "StickerBookLayout", {},
                                           MusicMode_GeneralUI, Names::kPrompt.name, kMore};

StickerBookMode::StickerBookMode() : MenuScreen(kScreen)
{
    OnButton(
        "BackButton", [this] { Close(); });
}

void StickerBookMode::Setup()
{
    MenuScreen::Setup();
    // The manager holds the stickers of whichever profile loaded last; the book shows the current one's.
    GetStickerManager().loadUnlockedStickerData();

    if (Strata::SceneNode* page = ScreenChild<Strata::SceneNode>(Screen(), "Page"))
        mSurface = StickerBookSurface::AddTo(*this, *page)->GetID();
    if (Strata::SceneNode* layer = ScreenChild<Strata::SceneNode>(Screen(), "CarryLayer"))
        mCarryLayer = layer->GetID();
    Strata::SceneNode* area = ScreenChild<Strata::SceneNode>(Screen(), "StickerList");
    if (area == nullptr)
        return;
    auto list = std::make_unique<StickerList>(Strata::Vector2<float>(area->GetWidth(), area->GetHeight()));
    if (!list->AddToScene(this, area))
        return;
    StickerList* added = list.release(); // the database owns it
    mList = added->GetID();
    added->setPageButtons(ScreenChild<Strata::ButtonNode>(Screen(), "PrevPageButton"),
                          ScreenChild<Strata::ButtonNode>(Screen(), "NextPageButton"));
    added->stickerChosenSignal.connect([this](int sticker, Strata::SceneNode* picture)
                                       { takeSticker(sticker, picture); });
}

Strata::MessageResult StickerBookMode::OnMouseUp(Strata::MouseButton button, int x, int y)
{
    mPointer = Strata::Vector2<int>(x, y);
    return MenuScreen::OnMouseUp(button, x, y);
}

StickerList* StickerBookMode::getStickerList() const
{
    return dynamic_cast<StickerList*>(GetObject(mList));
}

StickerBookSurface* StickerBookMode::getSurface() const
{
    return dynamic_cast<StickerBookSurface*>(GetObject(mSurface));
}

void StickerBookMode::takeSticker(int sticker, Strata::SceneNode* picture)
{
    // The copy is carried above everything, or above the book's own nodes when the layer is missing.
    auto* layer = dynamic_cast<Strata::SceneNode*>(GetObject(mCarryLayer));
    if (layer == nullptr)
        layer = Screen();
    if (HasLeft() || picture == nullptr || layer == nullptr)
        return;
    Sticker::AddTo(*this, sticker)->takeInHand(*picture, *layer, mPointer.x, mPointer.y);
}

} // namespace Yardcrew

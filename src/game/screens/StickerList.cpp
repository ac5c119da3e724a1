#include "game/screens/StickerList.h"

#include "core/Log.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "game/StickerManager.h"
#include "game/screens/StickerBookContent.h"
#include "scene/ButtonNode.h"
#include "scene/SceneLayout.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Yardcrew
{

namespace Names = StickerBookContent;

namespace
{

// How many slots of `slot` pixels fit in `room`; at least one, so a list always shows something.
int Fit(float room, float slot)
{
    if (!(slot > 0.0f) || !(room > slot))
        return 1;
    return std::max(1, static_cast<int>(std::floor(room / slot)));
}

// The spare room spread evenly between `count` slots.
float Gap(float room, float slot, int count)
{
    return count > 1 ? std::max(0.0f, (room - slot * static_cast<float>(count)) / static_cast<float>(count - 1)) : 0.0f;
}

} // namespace

StickerList::StickerList(Strata::Vector2<float> area) : mArea(area)
{
    const std::vector<bool>& unlocked = GetStickerManager().getUnlockedBits();
    mTree.reset(new Strata::SceneNode());
    mTree->SetWidth(area.x);
    mTree->SetHeight(area.y);
    const Strata::AutoResource<Strata::SceneLayout> slots(Names::kSlotLayout.name);
    if (slots.Get() == nullptr)
    {
        Strata::Internal::LogWrite("The sticker book has no layout \"%s\"\n", Names::kSlotLayout.name);
        return;
    }
    for (size_t sticker = 0; sticker < unlocked.size(); ++sticker)
    {
        if (!unlocked[sticker])
            continue;
        Strata::SceneTreePtr slot = slots->InstantiateLayout(mTree.get());
        auto* button = dynamic_cast<Strata::ButtonNode*>(slot.get());
        if (button == nullptr)
        {
            Strata::Internal::LogWrite("The layout \"%s\" is not a button\n", Names::kSlotLayout.name);
            return;
        }
        const int index = static_cast<int>(sticker);
        button->SetNodeName(Strata::Label::FromString("Sticker_" + std::to_string(index)));
        if (auto* picture =
                dynamic_cast<Strata::StaticSpriteNode*>(button->GetChildByNodeName(Strata::Label(Names::kSlotPicture))))
        {
            picture->setImage(Strata::Label(Names::kStickers.name), index);
            picture->hitTest = false;
        }
        // The tree and this list end together, so the slot never outlives `this`.
        button->clickSignal.connect([this, index](Strata::ButtonNode*)
                                    { stickerChosenSignal(index, getStickerPicture(index)); });
        mStickers.push_back(index);
        mButtons.push_back(button);
        slot.release(); // the tree owns it
    }
    if (!mButtons.empty())
        mSlot = Strata::Vector2<float>(mButtons.front()->GetWidth(), mButtons.front()->GetHeight());
    mColumns = Fit(area.x, mSlot.x);
    mRows = Fit(area.y, mSlot.y);
    layOut();
}

Strata::SceneTreePtr StickerList::GetLayoutNode()
{
    return std::move(mTree);
}

void StickerList::setPageButtons(Strata::ButtonNode* previous, Strata::ButtonNode* next)
{
    mPreviousClick.disconnect();
    mNextClick.disconnect();
    mPrevious = previous != nullptr ? previous->GetID() : Strata::ObjectID();
    mNext = next != nullptr ? next->GetID() : Strata::ObjectID();
    if (previous != nullptr)
        mPreviousClick = previous->clickSignal.connect([this](Strata::ButtonNode*) { showPage(mPage - 1); });
    if (next != nullptr)
        mNextClick = next->clickSignal.connect([this](Strata::ButtonNode*) { showPage(mPage + 1); });
    layOut();
}

int StickerList::getPageCount() const
{
    const int perPage = getStickersPerPage();
    const int count = static_cast<int>(mStickers.size());
    return std::max(1, (count + perPage - 1) / perPage);
}

void StickerList::showPage(int page)
{
    mPage = std::clamp(page, 0, getPageCount() - 1);
    layOut();
}

std::vector<int> StickerList::getStickersShown() const
{
    const size_t first = static_cast<size_t>(mPage) * static_cast<size_t>(getStickersPerPage());
    const size_t end = std::min(mStickers.size(), first + static_cast<size_t>(getStickersPerPage()));
    return first < end ? std::vector<int>(mStickers.begin() + static_cast<std::ptrdiff_t>(first),
                                          mStickers.begin() + static_cast<std::ptrdiff_t>(end))
                       : std::vector<int>();
}

Strata::ButtonNode* StickerList::getStickerButton(int sticker) const
{
    const auto found = std::find(mStickers.begin(), mStickers.end(), sticker);
    return found != mStickers.end() ? mButtons[static_cast<size_t>(found - mStickers.begin())] : nullptr;
}

Strata::SceneNode* StickerList::getStickerPicture(int sticker) const
{
    Strata::ButtonNode* button = getStickerButton(sticker);
    return button != nullptr ? button->GetChildByNodeName(Strata::Label(Names::kSlotPicture)) : nullptr;
}

Strata::ButtonNode* StickerList::findButton(Strata::ObjectID id) const
{
    Strata::SceneNode* root = GetNode();
    Strata::ObjectDatabase* database = root != nullptr ? root->GetDatabase() : Strata::GetObjectDatabase();
    return database != nullptr && !id.IsInvalid() ? dynamic_cast<Strata::ButtonNode*>(database->GetObject(id))
                                                  : nullptr;
}

void StickerList::layOut()
{
    const float across = mSlot.x + Gap(mArea.x, mSlot.x, mColumns);
    const float down = mSlot.y + Gap(mArea.y, mSlot.y, mRows);
    const int perPage = getStickersPerPage();
    for (size_t i = 0; i < mButtons.size(); ++i)
    {
        const int place = static_cast<int>(i) % perPage;
        mButtons[i]->LocalSetLocation(across * static_cast<float>(place % mColumns),
                                      down * static_cast<float>(place / mColumns));
        mButtons[i]->LocalSetVisible(static_cast<int>(i) / perPage == mPage);
    }
    const bool turns = getPageCount() > 1;
    if (Strata::ButtonNode* previous = findButton(mPrevious))
    {
        previous->LocalSetVisible(turns);
        previous->Enable(mPage > 0);
    }
    if (Strata::ButtonNode* next = findButton(mNext))
    {
        next->LocalSetVisible(turns);
        next->Enable(mPage < getPageCount() - 1);
    }
}

} // namespace Yardcrew

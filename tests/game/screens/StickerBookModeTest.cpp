// The sticker book built from the committed data/ (the play-through clicks it with real mouse events):
// the list offers the profile's unlocked stickers only, in pages of a grid that fits its area, and a
// book that has closed takes nothing in hand.

#include "game/screens/StickerBookMode.h"
#include "game/screens/StickerBookSurface.h"
#include "game/screens/StickerList.h"

#include "game/LevelManager.h"
#include "scene/ButtonNode.h"

#include "../StickerTestSupport.h"
#include "ScreenDataTestSupport.h"

#include <memory>
#include <numeric>
#include <vector>

using namespace Yardcrew;
using namespace Strata;

namespace
{

class StickerBookModeTest : public GameTesting::ScreenDataTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(
            LoadData({L"GlobalConstants", L"resources", L"Generic", L"StickerBook", L"FreePlaySelect"}, false));
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"AccountID", std::wstring(L"3"));
        GetLevelManager().setModeQueue({nullptr, nullptr, [this] { ++closed; }});
    }

    void TearDown() override
    {
        Close();
        GetLevelManager().setModeQueue({});
        ScreenDataTest::TearDown();
    }

    // A new book for the profile holding `stickers`.
    void Open(const std::vector<int>& stickers)
    {
        Close();
        EXPECT_TRUE(GameTesting::GiveStickers(*GetAccountManager()->GetCurrentAccount(), stickers, 56));
        book = std::make_unique<StickerBookMode>();
        context = std::make_unique<MainLoop::AutoContext>();
        Start(*book, *context);
    }

    void Close()
    {
        if (book)
            book->Destroy();
        book.reset();
        context.reset();
    }

    template <class T = SceneNode>
    T* Node(const char* name) const
    {
        return dynamic_cast<T*>(book->GetRootNode()->GetChildren().front()->GetChildByNodeName(Label(name)));
    }

    static bool Holding() { return DragSource<Sticker*>::GetHeldDragSource() != nullptr; }

    std::unique_ptr<MainLoop::AutoContext> context;
    std::unique_ptr<StickerBookMode> book;
    int closed = 0;
};

bool Overlap(const Rect<float>& a, const Rect<float>& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST_F(StickerBookModeTest, TheListOffersOnlyTheUnlockedStickersAndTurnsItsPages)
{
    const auto first = [](int count)
    {
        std::vector<int> stickers(static_cast<size_t>(count));
        std::iota(stickers.begin(), stickers.end(), 0);
        return stickers;
    };
    const struct
    {
        std::vector<int> unlocked;
        int pages;
        std::vector<int> lastPage;
    } cases[] = {
        {{2, 9, 30}, 1, {2, 9, 30}},
        {first(9), 1, first(9)},
        {first(10), 2, {9}},
        {first(56), 7, {54, 55}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.unlocked.size());
        Open(c.unlocked);
        StickerList* list = book->getStickerList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->getStickers(), c.unlocked);
        EXPECT_EQ(list->getPageCount(), c.pages);

        // The first page's buttons lie in the list's area, side by side.
        const Rect<float> area = Node("StickerList")->GlobalGetBounds();
        std::vector<Rect<float>> shown;
        for (int sticker : list->getStickersShown())
        {
            ButtonNode* button = list->getStickerButton(sticker);
            ASSERT_TRUE(button != nullptr && button->GlobalIsVisible());
            const Rect<float> bounds = button->GlobalGetBounds();
            EXPECT_TRUE(bounds.x >= area.x && bounds.y >= area.y && bounds.x + bounds.width <= area.x + area.width &&
                        bounds.y + bounds.height <= area.y + area.height);
            for (const Rect<float>& other : shown)
                EXPECT_FALSE(Overlap(bounds, other));
            shown.push_back(bounds);
        }
        EXPECT_EQ(shown.size(), std::min<size_t>(c.unlocked.size(), 9));

        auto* previous = Node<ButtonNode>("PrevPageButton");
        auto* next = Node<ButtonNode>("NextPageButton");
        ASSERT_TRUE(previous != nullptr && next != nullptr);
        EXPECT_EQ(next->GlobalIsVisible(), c.pages > 1);
        EXPECT_FALSE(previous->IsEnabled());
        for (int page = 1; page < c.pages; ++page)
        {
            next->Click();
            EXPECT_EQ(list->getPage(), page);
        }
        EXPECT_EQ(list->getStickersShown(), c.lastPage);
        if (c.pages == 1)
            continue;
        // The last page: the next arrow is disabled and turns no further; the other turns back.
        EXPECT_FALSE(next->IsEnabled());
        next->Click();
        EXPECT_EQ(list->getPage(), c.pages - 1);
        previous->Click();
        EXPECT_EQ(list->getPage(), c.pages - 2);
        EXPECT_FALSE(list->getStickerButton(c.lastPage.front())->GlobalIsVisible());
    }
}

TEST_F(StickerBookModeTest, AClosedBookTakesNoStickerInHand)
{
    // The back button and a sticker clicked in one frame: the book leaves once and holds nothing.
    Open({4, 20});
    Node<ButtonNode>("BackButton")->Click();
    Node<ButtonNode>("BackButton")->Click();
    book->getStickerList()->getStickerButton(20)->Click();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(Holding());
}

} // namespace

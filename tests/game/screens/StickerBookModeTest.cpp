// The sticker book built from the committed data/, at the edge of a page of its list: nine stickers fill
// one page and a tenth turns over to a second. The play-through clicks a whole book with real mouse events.

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

    void Close()
    {
        if (book)
            book->Destroy();
        book.reset();
        context.reset();
    }

    ButtonNode* Button(const char* name) const
    {
        return dynamic_cast<ButtonNode*>(book->GetRootNode()->GetChildren().front()->GetChildByNodeName(Label(name)));
    }

    std::unique_ptr<MainLoop::AutoContext> context;
    std::unique_ptr<StickerBookMode> book;
    int closed = 0;
};

TEST_F(StickerBookModeTest, NineStickersFillAPageATenthTurnsOverAndAClosedBookTakesNoneInHand)
{
    for (const int count : {9, 10})
    {
        SCOPED_TRACE(count);
        Close();
        std::vector<int> stickers(static_cast<size_t>(count));
        std::iota(stickers.begin(), stickers.end(), 40);
        ASSERT_TRUE(GameTesting::GiveStickers(*GetAccountManager()->GetCurrentAccount(), stickers, 56));
        book = std::make_unique<StickerBookMode>();
        context = std::make_unique<MainLoop::AutoContext>();
        Start(*book, *context);
        StickerList* list = book->getStickerList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->getStickers(), stickers);
        EXPECT_EQ(list->getPageCount(), count == 9 ? 1 : 2);
        EXPECT_EQ(Button("NextPageButton")->GlobalIsVisible(), count == 10);
        EXPECT_EQ(list->getStickersShown(), std::vector<int>(stickers.begin(), stickers.begin() + 9));

        // Turned past the end, the list stays on its last page, where the arrow on to it is disabled.
        Button("NextPageButton")->Click();
        Button("NextPageButton")->Click();
        EXPECT_EQ(list->getPage(), count == 9 ? 0 : 1);
        EXPECT_EQ(list->getStickersShown(), count == 9 ? stickers : std::vector<int>{49});
        EXPECT_FALSE(Button("NextPageButton")->IsEnabled());
        EXPECT_EQ(list->getStickerButton(40)->GlobalIsVisible(), count == 9);
    }

    // The back button and a sticker clicked in one frame: the book leaves once and holds nothing.
    Button("BackButton")->Click();
    Button("BackButton")->Click();
    book->getStickerList()->getStickerButton(49)->Click();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(DragSource<Sticker*>::GetHeldDragSource(), nullptr);
}

} // namespace

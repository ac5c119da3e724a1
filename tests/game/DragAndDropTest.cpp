#include "game/DragAndDrop.h"

#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "scene/SceneLayoutController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Yardcrew;

using Strata::Label;

namespace
{

std::vector<std::string> gEvents;

// Items and places of two kinds; the tool is also a scene-layout controller, as the games' pieces are.
template <class Kind>
struct Item : DragSource<Kind*>
{
    Item(Kind* self, std::string itemName) : DragSource<Kind*>(self), name(std::move(itemName)) {}
    void DoOnStartDragging() override { gEvents.push_back(name + " start"); }
    void DoOnCancel() override { gEvents.push_back(name + " cancel"); }
    void DoOnReleased() override { gEvents.push_back(name + " released"); }
    std::string name;
};
struct Tool : Item<Tool>, Strata::SceneLayoutController
{
    explicit Tool(std::string name) : Item<Tool>(this, std::move(name)) {}
    Strata::SceneTreePtr GetLayoutNode() override { return {}; }
};
struct Brick : Item<Brick>
{
    explicit Brick(std::string name) : Item<Brick>(this, std::move(name)) {}
};

template <class Kind>
struct Place : DragTarget<Kind*>
{
    explicit Place(std::string placeName) : name(std::move(placeName)) {}
    void DropActivated(Kind* item) override { gEvents.push_back(name + " got " + item->name); }
    std::string name;
};

class DragAndDropTest : public ::testing::Test
{
protected:
    DragAndDropTest() { Strata::MainLoop::WithinContext(&mode, guard); }
    ~DragAndDropTest() override { gEvents.clear(); }

    template <class T>
    T* Add(std::unique_ptr<T> object)
    {
        mode.AddObject(object.get());
        return object.release(); // the database owns it
    }

    std::vector<std::string> TakeEvents() { return std::exchange(gEvents, {}); }

    Strata::ApplicationMode mode;
    Strata::MainLoop::AutoContext guard;
    Tool* hammer = Add(std::make_unique<Tool>("hammer"));
    Tool* saw = Add(std::make_unique<Tool>("saw"));
    Brick* brick = Add(std::make_unique<Brick>("brick"));
    Place<Tool>* box = Add(std::make_unique<Place<Tool>>("box"));
    Place<Tool>* shelf = Add(std::make_unique<Place<Tool>>("shelf"));
    Place<Brick>* wall = Add(std::make_unique<Place<Brick>>("wall"));
};

TEST_F(DragAndDropTest, ADropReachesTheTargetOfItsTypeAndAnythingElseSendsTheItemBack)
{
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), nullptr);
    hammer->Drag();
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), hammer);
    EXPECT_EQ(DragSource<Brick*>::GetHeldDragSource(), nullptr) << "another item type is not held";
    box->DragEnter();
    hammer->Release();
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), nullptr);
    EXPECT_EQ(DragTarget<Tool*>::GetCurrentDragTarget(), box) << "the target stays until the pointer leaves";
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"hammer start", "box got hammer", "hammer released"}));

    // Released over nothing, over a place for bricks, or when not held at all.
    box->DragLeave();
    hammer->Drag();
    hammer->Release();
    wall->DragEnter();
    hammer->Drag();
    hammer->Release();
    box->DragEnter();
    saw->Release();
    EXPECT_EQ(TakeEvents(),
              (std::vector<std::string>{"hammer start", "hammer cancel", "hammer start", "hammer cancel"}));
}

TEST_F(DragAndDropTest, PickingUpReplacesTheHeldItemAndTheTargetFollowsThePointer)
{
    hammer->Drag();
    hammer->Drag(); // already held: started, sent back, and still held
    saw->Drag();    // the same type: the hammer goes back
    brick->Drag();  // another type: the saw is replaced without being told
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"hammer start", "hammer start", "hammer cancel", "saw start",
                                                      "hammer cancel", "brick start"}));
    EXPECT_EQ(DragSource<Brick*>::GetHeldDragSource(), brick);
    saw->Release();
    EXPECT_TRUE(TakeEvents().empty());

    box->DragEnter();
    shelf->DragEnter();
    box->DragLeave();
    EXPECT_EQ(DragTarget<Tool*>::GetCurrentDragTarget(), shelf);
    EXPECT_EQ(DragTarget<Brick*>::GetCurrentDragTarget(), nullptr);
    shelf->DragLeave();
    EXPECT_EQ(DragTarget<Tool*>::GetCurrentDragTarget(), nullptr);

    // One container of each kind per database, found under its name.
    EXPECT_EQ(DragSourceContainer::GetInstance(), mode.GetNamedObject(Label("DRAG_SOURCE_CONTAINER")));
    EXPECT_EQ(DragTargetContainer::GetInstance(), mode.GetNamedObject(Label("DRAG_TARGET_CONTAINER")));
}

TEST_F(DragAndDropTest, DestroyedItemsAndPlacesStopCounting)
{
    wall->DragEnter();
    brick->Drag();
    mode.DestroyObject(wall->GetID());
    mode.Update(0.02f);
    EXPECT_EQ(DragTarget<Brick*>::GetCurrentDragTarget(), nullptr);
    brick->Release();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"brick start", "brick cancel"}));

    saw->Drag();
    mode.DestroyObject(saw->GetID());
    mode.Update(0.02f);
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource_Mutable(), nullptr);
    box->DragEnter();
    hammer->Release();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"saw start"}));
    hammer->Drag();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"hammer start"})) << "nothing left to send back";

    // Without a mode there is nothing to hold.
    Strata::MainLoop::AutoContext none;
    Strata::MainLoop::WithinContext(nullptr, none);
    EXPECT_EQ(DragSourceContainer::GetInstance(), nullptr);
    hammer->Release();
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), nullptr);
}

} // namespace

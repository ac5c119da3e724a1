#include "game/HeldItem.h"

#include "engine/scene/SceneTestSupport.h"
#include "scene/ButtonNode.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Yardcrew;
using namespace SceneTesting;

namespace
{

struct Tool : HeldDragSource<Tool*>
{
    Tool() : HeldDragSource<Tool*>(this) {}
};

// A place that logs what the pointer does over it, and takes a tool at (5, 5) when it accepts.
struct Place : DragTarget<Tool*>
{
    Place(std::string placeName, bool takes) : name(std::move(placeName)), accepts(takes) {}
    void DropActivated(Tool* tool) override
    {
        log->push_back(name + (accepts ? " took" : " refused"));
        if (accepts)
            tool->PutDown(node, Vector2<float>(5, 5));
    }
    bool UseInPlace(Tool*) override
    {
        if (usesInPlace)
            log->push_back(name + " used");
        return usesInPlace;
    }
    std::string name;
    bool accepts;
    bool usesInPlace = false;
    SceneNode* node = nullptr;
    std::vector<std::string>* log = nullptr;
};

class HeldItemTest : public SceneFixture
{
protected:
    Place* AddPlace(const char* name, bool accepts, Rect<float> bounds)
    {
        auto place = std::make_unique<Place>(name, accepts);
        place->node = AddNode(playfield, bounds);
        place->node->hitTest = true;
        place->log = &log;
        SceneNode* node = place->node;
        node->mouseEnterSignal.connect([this, name](SceneNode*) { log.push_back(std::string(name) + " enter"); });
        node->mouseExitSignal.connect([this, name](SceneNode*) { log.push_back(std::string(name) + " exit"); });
        node->mouseDownSignal.connect([this, name](SceneNode*, MouseButton, int, int)
                                      { log.push_back(std::string(name) + " down"); });
        mode.AddObject(place.get());
        ConnectDragTarget(*place, *node);
        return place.release(); // the database owns it
    }

    void Click(int x, int y)
    {
        mode.OnMouseMove(x, y);
        mode.OnMouseDown(MouseButton_Left, x, y);
        mode.OnMouseUp(MouseButton_Left, x, y);
    }
    // A button above the playfield that logs its clicks, as the game's Quit button.
    ButtonNode* AddButton(Rect<float> bounds)
    {
        auto* button = new ButtonNode(Label("quit"), nullptr, 0.0f, nullptr, nullptr, ColorF());
        button->LocalSetLocation(bounds.x, bounds.y);
        button->SetWidth(bounds.width);
        button->SetHeight(bounds.height);
        root->AttachChild(button);
        button->AddToDatabase(&mode);
        button->clickSignal.connect([this](ButtonNode*) { log.push_back("quit clicked"); });
        button->mouseDownSignal.connect([this](SceneNode*, MouseButton, int, int) { log.push_back("quit pressed"); });
        return button;
    }
    std::string Corner(SceneNode* node)
    {
        const Rect<float>& bounds = node->GlobalGetBounds();
        return std::to_string(static_cast<int>(bounds.x)) + "," + std::to_string(static_cast<int>(bounds.y));
    }
    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    std::vector<std::string> log;
    SceneNode* playfield = AddNode(root, {0, 0, 800, 600});
    SceneNode* fx = AddNode(root, {7, 3, 0, 0}); // offset, so a frame mix-up shows
    Place* box = AddPlace("box", true, {100, 100, 50, 50});
    Place* wrong = AddPlace("wrong", false, {300, 100, 50, 50});
    SceneNode* toolNode = nullptr; // set by AddTool
    Tool* tool = AddTool();

private:
    Tool* AddTool()
    {
        auto owned = std::make_unique<Tool>();
        mode.AddObject(owned.get());
        Tool* added = owned.release(); // the database owns it
        toolNode = AddNode(playfield, {10, 10, 20, 20});
        toolNode->hitTest = true;
        toolNode->mouseDownSignal.connect([this, added](SceneNode* node, MouseButton, int x, int y)
                                          { added->PickUp(node, fx, x, y); });
        return added;
    }
};

TEST_F(HeldItemTest, ClickToPickUpFollowAndClickToDropOrSendBack)
{
    // Picked up by a click, it is still held after the release and follows the pointer without
    // hiding the places below it.
    Click(15, 15);
    EXPECT_TRUE(tool->GetHeldItem().IsCarrying());
    EXPECT_EQ(toolNode->GetParent(), mode.GetMouseCapturingNode());
    EXPECT_FALSE(toolNode->hitTest);
    mode.OnMouseMove(60, 60);
    EXPECT_EQ("55,55", Corner(toolNode));
    mode.OnMouseMove(120, 120);
    mode.OnMouseMove(200, 200);
    mode.OnMouseMove(120, 120);
    EXPECT_EQ("115,115", Corner(toolNode));
    EXPECT_EQ((std::vector<std::string>{"box enter", "box exit", "box enter"}), TakeLog());

    // A click on a place that takes it: the place decides where it stays; it takes hits again.
    Click(120, 120);
    EXPECT_EQ((std::vector<std::string>{"box took"}), TakeLog());
    EXPECT_EQ(box->node, toolNode->GetParent());
    EXPECT_EQ("105,105", Corner(toolNode));
    EXPECT_EQ(nullptr, mode.GetMouseCapturingNode());
    EXPECT_TRUE(toolNode->hitTest);

    // From the box onto empty playfield: back in the box.
    Click(110, 110);
    Click(500, 500);
    EXPECT_EQ((std::vector<std::string>{"box exit"}), TakeLog());
    EXPECT_EQ(box->node, toolNode->GetParent());
    EXPECT_EQ("105,105", Corner(toolNode));

    // Onto a place that refuses it, with a way back that takes time: the press is the held item's
    // alone (the place hears no press of its own).
    tool->GetHeldItem().SetReturnSeconds(0.1f);
    Click(110, 110);
    Click(320, 120);
    EXPECT_EQ((std::vector<std::string>{"box enter", "box exit", "wrong enter", "wrong refused"}), TakeLog());
    EXPECT_EQ(box->node, toolNode->GetParent());
    EXPECT_EQ("315,115", Corner(toolNode)) << "it starts back from where it was dropped";
    for (int step = 0; step < 100 && Corner(toolNode) != "105,105"; ++step)
        mode.Update(0.02f);
    EXPECT_EQ("105,105", Corner(toolNode));
    EXPECT_EQ(nullptr, mode.GetMouseCapturingNode());
    Click(120, 120);
    EXPECT_EQ(tool->GetHeldItem().GetCarriedNode(), toolNode) << "a click picks it up again";
}

TEST_F(HeldItemTest, ACopyGoesAwayWhenPutBackAndOneThingIsCarriedAtATime)
{
    HeldItem sticker;
    sticker.pressSignal.connect([&sticker](MouseButton, int, int) { sticker.PutBack(); });
    ASSERT_TRUE(sticker.CarryCopy(SceneTreePtr(new SceneNode()), toolNode, fx, 12, 12));
    SceneNode* copy = sticker.GetCarriedNode();
    const ObjectID copyID = copy->GetID();
    EXPECT_EQ("10,10", Corner(copy));
    tool->PickUp(toolNode, fx, 15, 15);
    EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
    Click(15, 15); // the copy's press: the tool below hears nothing
    EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
    EXPECT_EQ(playfield, toolNode->GetParent());
    mode.Update(0.02f);
    EXPECT_FALSE(Alive(copy, copyID));
    EXPECT_EQ("10,10", Corner(toolNode));
}

TEST_F(HeldItemTest, ACarriedCopyIsUsedInPlacePinnedAndFreedAgainAndTheOriginalStays)
{
    Place* anvil = AddPlace("anvil", true, {500, 100, 50, 50});
    anvil->usesInPlace = true;
    tool->PickUpCopy(SceneTreePtr(new SceneNode()), toolNode, fx, 15, 15);
    SceneNode* copy = tool->GetHeldItem().GetCarriedNode();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, toolNode);
    const ObjectID copyID = copy->GetID();
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), tool);

    // Used where it is: no drop, still carried and following.
    Click(520, 120);
    EXPECT_EQ((std::vector<std::string>{"anvil enter", "anvil used"}), TakeLog());
    EXPECT_EQ(tool->GetHeldItem().GetCarriedNode(), copy);
    EXPECT_EQ("515,115", Corner(copy));

    // Pinned it stays put under a moving pointer, yet places still see the pointer; freed it follows.
    tool->GetHeldItem().SetFollowing(false);
    mode.OnMouseMove(120, 120);
    EXPECT_EQ("515,115", Corner(copy));
    EXPECT_EQ((std::vector<std::string>{"anvil exit", "box enter"}), TakeLog());
    tool->GetHeldItem().SetFollowing(true);
    mode.OnMouseMove(320, 320);
    EXPECT_EQ("315,315", Corner(copy));

    // Put back: the copy goes, the original never moved.
    Click(700, 500);
    EXPECT_EQ((std::vector<std::string>{"box exit"}), TakeLog());
    EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
    mode.Update(0.02f);
    EXPECT_FALSE(Alive(copy, copyID));
    EXPECT_EQ(playfield, toolNode->GetParent());
    EXPECT_EQ("10,10", Corner(toolNode));
}

TEST_F(HeldItemTest, APressOnAButtonIsTheButtonsOwnAndSendsTheItemHome)
{
    ButtonNode* quit = AddButton({600, 500, 80, 40});
    tool->GetHeldItem().yieldSignal.connect([this] { log.push_back("yielded"); });
    struct Case
    {
        const char* name;
        bool enabled;
        bool dragThere; // pressed on the tool, dragged onto the button and let go there
        bool clicked;
        bool pressed; // the button heard the press
        bool yielded; // the item went home for the button
        float returnSeconds = 0.0f;
        // The button's question stops the game's motion: a way back that takes time is skipped.
        bool homeAtOnce = true;
    };
    const Case cases[] = {
        {"one press on the button opens it", true, false, true, true, true},
        {"a disabled button is playfield: the press is the item's alone", false, false, false, false, false},
        {"a drag let go on the button only sends the item home", true, true, false, false, true},
        {"one press on the button sends it home at once, however long its way", true, false, true, true, true, 0.5f},
        {"a drag let go on the button starts its way back from there", true, true, false, false, true, 0.5f, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        quit->Enable(c.enabled);
        tool->GetHeldItem().SetReturnSeconds(c.returnSeconds);
        mode.OnMouseMove(15, 15);
        mode.OnMouseDown(MouseButton_Left, 15, 15);
        ASSERT_TRUE(tool->GetHeldItem().IsCarrying());
        if (c.dragThere)
        {
            mode.OnMouseMove(640, 520);
            mode.OnMouseUp(MouseButton_Left, 640, 520);
        }
        else
        {
            mode.OnMouseUp(MouseButton_Left, 15, 15);
            Click(640, 520);
        }
        EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
        EXPECT_FALSE(tool->GetHeldItem().IsYielding());
        EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), nullptr);
        EXPECT_EQ(playfield, toolNode->GetParent());
        EXPECT_EQ(c.homeAtOnce, Corner(toolNode) == "10,10") << Corner(toolNode);
        for (int step = 0; step < 100 && Corner(toolNode) != "10,10"; ++step)
            mode.Update(0.02f);
        EXPECT_EQ("10,10", Corner(toolNode));
        EXPECT_EQ(nullptr, mode.GetMouseCapturingNode()) << "nothing keeps the pointer";
        const std::vector<std::string> logged = TakeLog();
        EXPECT_EQ(c.clicked, std::count(logged.begin(), logged.end(), "quit clicked") == 1);
        EXPECT_EQ(c.pressed, std::count(logged.begin(), logged.end(), "quit pressed") == 1);
        EXPECT_EQ(c.yielded, std::count(logged.begin(), logged.end(), "yielded") == 1);
        // The item is picked up by the next press as ever.
        Click(15, 15);
        EXPECT_TRUE(tool->GetHeldItem().IsCarrying());
        Click(700, 300);
        TakeLog();
        for (int step = 0; step < 100 && Corner(toolNode) != "10,10"; ++step)
            mode.Update(0.02f);
    }
}

TEST_F(HeldItemTest, LettingGoAfterADragDropsWhileAClickKeepsTheItemInHand)
{
    struct Case
    {
        const char* name;
        std::vector<Vector2<int>> moves; // with the button that picked it up held
        Vector2<int> release;
        const char* ends; // "box", "home" or "hand"
    };
    const Case cases[] = {
        {"dragged onto the box", {{60, 60}, {120, 120}}, {120, 120}, "box"},
        {"dragged onto nothing", {{300, 300}, {500, 500}}, {500, 500}, "home"},
        {"dragged away and back is still a drag", {{60, 60}, {15, 15}}, {15, 15}, "home"},
        {"a tremble is a click", {{18, 17}, {19, 12}}, {19, 12}, "hand"},
        {"a move exactly at the distance is a click", {{21, 15}}, {21, 15}, "hand"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mode.OnMouseMove(15, 15);
        mode.OnMouseDown(MouseButton_Left, 15, 15);
        for (const Vector2<int>& to : c.moves)
            mode.OnMouseMove(to.x, to.y);
        mode.OnMouseUp(MouseButton_Left, c.release.x, c.release.y);
        const std::string ends = std::string(c.ends);
        EXPECT_EQ(ends == "hand", tool->GetHeldItem().IsCarrying());
        if (ends == "box")
            EXPECT_EQ(box->node, toolNode->GetParent());
        if (ends == "home")
            EXPECT_EQ("10,10", Corner(toolNode));
        if (ends == "hand")
        {
            // The click's own release is spent: a later drag-like release without a press drops nothing.
            mode.OnMouseMove(120, 120);
            mode.OnMouseUp(MouseButton_Left, 120, 120);
            EXPECT_TRUE(tool->GetHeldItem().IsCarrying());
            Click(120, 120);
            EXPECT_EQ(box->node, toolNode->GetParent()) << "click to drop as ever";
        }
        // From the box back to the playfield for the next case.
        Click(110, 110);
        Click(500, 500);
        tool->GetHeldItem().PutBack();
        if (toolNode->GetParent() != playfield)
        {
            playfield->AttachChild(toolNode);
            toolNode->LocalSetLocation(10, 10);
        }
        TakeLog();
    }
}

} // namespace

// With one tool in hand a press on another, on no place, sends the first home and takes the other at
// once, whatever put the first in hand; a press on the carried tool's own empty home sends it back
// and takes nothing, though it lands home under the pointer. A drag let go over another item is no
// press on it: the first goes home and nothing sticks to the pointer.
TEST_F(HeldItemTest, APressOnAnotherItemTakesItAndAPressAtHomeOnlyPutsBack)
{
    auto owned = std::make_unique<Tool>();
    mode.AddObject(owned.get());
    Tool* other = owned.release(); // the database owns it
    SceneNode* otherNode = AddNode(playfield, {400, 400, 20, 20});
    otherNode->hitTest = true;
    otherNode->mouseDownSignal.connect([this, other](SceneNode* node, MouseButton, int x, int y)
                                       { other->PickUp(node, fx, x, y); });

    Click(15, 15);
    ASSERT_TRUE(tool->GetHeldItem().IsCarrying());
    Click(410, 410);
    EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
    EXPECT_EQ("10,10", Corner(toolNode)) << "the first is home";
    EXPECT_EQ(other->GetHeldItem().GetCarriedNode(), otherNode) << "one press took the other";
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), other);

    Click(410, 410);
    EXPECT_FALSE(other->GetHeldItem().IsCarrying());
    EXPECT_EQ(DragSource<Tool*>::GetHeldDragSource(), nullptr);
    EXPECT_EQ("400,400", Corner(otherNode));
    EXPECT_EQ(nullptr, mode.GetMouseCapturingNode());

    mode.OnMouseMove(15, 15);
    mode.OnMouseDown(MouseButton_Left, 15, 15);
    mode.OnMouseMove(410, 410);
    mode.OnMouseUp(MouseButton_Left, 410, 410);
    EXPECT_FALSE(tool->GetHeldItem().IsCarrying());
    EXPECT_FALSE(other->GetHeldItem().IsCarrying());
    EXPECT_EQ("10,10", Corner(toolNode));
    EXPECT_EQ("400,400", Corner(otherNode));
    EXPECT_EQ(nullptr, mode.GetMouseCapturingNode());
}

#include "framework/Object.h"

#include "FrameworkTestObjects.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ObjectDatabase.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace Strata
{
namespace
{

using Testing::EventLog;
using Testing::LoggingObject;
using Testing::ProbeTask;
using Testing::WidgetObject;

class OneRole : public Object
{
public:
    Label GetRole() const override { return Label("Single"); }
};

TEST(ObjectRoles, DefaultsAnswerEachOtherWithoutLooping)
{
    Object plain;
    EXPECT_TRUE(plain.GetRole().IsNull());
    EXPECT_TRUE(plain.GetRole(0).IsNull());

    OneRole oneRole;
    const Object& single = oneRole;
    EXPECT_EQ(Label("Single"), single.GetRole(0));
    EXPECT_TRUE(single.GetRole(1).IsNull());

    ObjectDatabase db;
    const ObjectID id = db.AddObject(new OneRole());
    EXPECT_EQ(std::vector<ObjectID>{id}, db.GetObjectsWithRole(Label("Single")));

    LoggingObject twoRoles(nullptr, "t", Label(), {Label("First"), Label("Second")});
    EXPECT_EQ(Label("First"), static_cast<const Object&>(twoRoles).GetRole());
}

TEST(ObjectTasks, RemoveAllTasksDuringTheQueueWalkDeletesAfterIt)
{
    ObjectDatabase db;
    int deleted = 0;
    auto* object = new LoggingObject(nullptr, "a");
    auto* first = new ProbeTask(Task::CompletedAfter(0.0f), &deleted);
    auto* second = new ProbeTask(Task::Incomplete, &deleted);
    first->onUpdate = [&](Object* self)
    {
        self->RemoveAllTasks();
        EXPECT_EQ(0, deleted); // the walk is in progress: only marked
        self->AddTask(new ProbeTask(Task::Incomplete, &deleted));
    };
    second->onUpdate = [](Object*) { ADD_FAILURE() << "a cleared task ran"; };
    object->AddTask(first);
    object->AddTask(second);
    db.AddObject(object);
    db.Update(0.02f);
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(1u, object->GetTaskQueue().GetCount()); // the one added after the clear survives
    object->RemoveAllTasks();                         // not walking: deleted at once
    EXPECT_EQ(3, deleted);
}

// Named tasks, made on first use, run after the queue and before the object's own update, and hear
// messages after the queue.
TEST(ObjectTasks, NamedTasksRunAfterTheQueue)
{
    EventLog log;
    ObjectDatabase db;
    auto* object = new LoggingObject(&log, "a");
    auto* queued = new ProbeTask();
    auto* named = new ProbeTask(Task::CompletedAfter(0.0f));
    queued->onUpdate = [&log](Object*) { log.push_back("queued"); };
    named->onUpdate = [&log](Object*) { log.push_back("named"); };
    object->AddTask(queued);
    object->GetNamedTasks().Add(Label("n"), named);
    db.AddObject(object);
    EXPECT_EQ(std::vector<std::string>{"Add"}, named->messages);
    log.clear();
    db.Update(0.02f);
    EXPECT_EQ((EventLog{"queued", "named", "a:update"}), log);
    EXPECT_TRUE(object->GetNamedTasks().IsEmpty()); // the finished one is gone
}

TEST(ObjectTasks, DestroySelfUsesTheContextModesDatabase)
{
    ApplicationMode mode;
    auto* object = new LoggingObject(nullptr, "a");
    const ObjectID id = mode.AddObject(object);
    object->DestroySelf(); // no context mode: nothing happens
    EXPECT_TRUE(mode.IsValidObjectID(id));
    {
        MainLoop::AutoContext guard;
        MainLoop::WithinContext(&mode, guard);
        object->DestroySelf();
    }
    EXPECT_FALSE(mode.IsValidObjectID(id));
}

class Routing : public ::testing::Test
{
protected:
    WidgetObject* Add(const std::string& tag, float layer, Rect<float> bounds = Rect<float>(0, 0, 100, 100))
    {
        auto* widget = new WidgetObject(&log, tag, layer, bounds);
        db.AddObject(widget);
        return widget;
    }

    EventLog log;
    ObjectDatabase db;
};

TEST_F(Routing, KeysGoToTheFocusThenToTargetsHighestLayerFirst)
{
    WidgetObject* low = Add("low", 1.0f);
    WidgetObject* high = Add("high", 3.0f);
    WidgetObject* focus = Add("focus", 2.0f);
    auto* hidden = Add("hidden", 4.0f);
    hidden->visible = false;
    auto* disabled = Add("disabled", 5.0f);
    disabled->enabled = false;
    db.Update(0.0f);
    db.SetFocus(focus);
    log.clear();

    low->consumes = true;
    EXPECT_EQ(MessageResult_Handled, db.OnKeyDown(65));
    EXPECT_EQ((EventLog{"focus:keydown 65", "high:keydown 65", "low:keydown 65"}), log);

    log.clear();
    focus->consumes = true;
    EXPECT_EQ(MessageResult_Handled, db.OnKeyUp(65));
    EXPECT_EQ((EventLog{"focus:keyup 65"}), log);
    (void)high;
}

TEST_F(Routing, TextStopsAtTheFocusEvenWhenDeclined)
{
    WidgetObject* other = Add("other", 5.0f);
    other->consumes = true;
    WidgetObject* focus = Add("focus", 1.0f);
    db.Update(0.0f);
    db.SetFocus(focus);
    log.clear();
    EXPECT_EQ(MessageResult_Handled, db.OnTextInput(L"hi"));
    EXPECT_EQ((EventLog{"focus:text"}), log);

    // Without a focus the text goes to whoever takes it.
    db.SetFocus(nullptr);
    log.clear();
    EXPECT_EQ(MessageResult_Handled, db.OnTextInput(L"hi"));
    EXPECT_EQ((EventLog{"other:text"}), log);
}

TEST_F(Routing, CaptureSwallowsMouseEventsUnlessItIsNoTarget)
{
    Testing::FakePlatform platform;
    WidgetObject* top = Add("top", 2.0f);
    top->consumes = true;
    WidgetObject* captor = Add("captor", 1.0f);
    db.Update(0.0f);
    db.SetCapture(captor);
    EXPECT_EQ(captor, db.GetCapture());
    log.clear();

    EXPECT_EQ(MessageResult_Handled, db.OnMouseDown(MouseButton_Left, 5, 5));
    EXPECT_EQ((EventLog{"captor:down 0"}), log);

    captor->enabled = false;
    log.clear();
    EXPECT_EQ(MessageResult_Handled, db.OnMouseUp(MouseButton_Left, 5, 5));
    EXPECT_EQ((EventLog{"top:up"}), log);

    db.SetCapture(nullptr);
    EXPECT_EQ((Testing::CallLog{"CaptureMouse", "ReleaseMouse"}), platform.Calls());
}

// An input handler that is not drawn.
class Listener : public LoggingObject, public IInputHandler
{
public:
    using LoggingObject::LoggingObject;
    MessageResult OnKeyDown(int) override { return MessageResult_Unhandled; }
    MessageResult OnKeyUp(int) override { return MessageResult_Unhandled; }
    MessageResult OnTextInput(const std::wstring&) override { return MessageResult_Unhandled; }
    MessageResult OnMouseMove(int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseDown(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseUp(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseWheel(float, int, int) override
    {
        mLog->push_back(mTag + ":wheel");
        return MessageResult_Handled;
    }
    bool CanFocus() override { return false; }
};

TEST_F(Routing, ObjectsThatAreNotDrawnComeAfterTheDrawList)
{
    db.AddObject(new Listener(&log, "listener"));
    Add("drawn", 1.0f);
    log.clear();
    EXPECT_EQ(MessageResult_Handled, db.OnMouseWheel(1.0f, 5, 5));
    EXPECT_EQ((EventLog{"drawn:wheel", "listener:wheel"}), log);
}

TEST_F(Routing, HoverLeavesTheLowerControlBeforeEnteringTheUpperOne)
{
    Add("lower", 1.0f, Rect<float>(0, 0, 100, 100));
    Add("upper", 2.0f, Rect<float>(50, 0, 100, 100));
    db.Update(0.0f);
    std::vector<std::pair<std::string, ObjectID>> heard;
    auto* listener = new LoggingObject(nullptr, "listener");
    listener->onMessage = [&](const ObjectMessage& message)
    { heard.emplace_back(message.GetName().c_str(), message.GetSender()); };
    db.AddObject(listener);
    heard.clear();
    const ObjectID lower = db.GetDrawList()[0];
    const ObjectID upper = db.GetDrawList()[1];

    db.OnMouseMove(10, 10);
    db.OnMouseMove(20, 10); // still inside: nothing new
    db.OnMouseMove(60, 10); // now over the upper one too
    db.OnMouseMove(300, 300);
    db.OnMouseMove(60, 10);
    db.OnMouseLeave();
    db.OnMouseLeave();
    const std::vector<std::pair<std::string, ObjectID>> expected{{"ControlEnter", lower}, {"ControlLeave", lower},
                                                                 {"ControlEnter", upper}, {"ControlLeave", upper},
                                                                 {"ControlEnter", upper}, {"ControlLeave", upper}};
    EXPECT_EQ(expected, heard);
    EXPECT_TRUE(db.GetHoveredControl().IsInvalid());
}

TEST_F(Routing, BoundsEdgesAndMouseMoveAfterHover)
{
    Add("w", 1.0f, Rect<float>(10, 10, 20, 20));
    db.Update(0.0f);
    log.clear();
    db.OnMouseMove(30, 10); // right edge: outside
    EXPECT_TRUE(db.GetHoveredControl().IsInvalid());
    db.OnMouseMove(10, 10); // top-left corner: inside
    EXPECT_FALSE(db.GetHoveredControl().IsInvalid());
    EXPECT_EQ((EventLog{"w:move 30,10", "w:ControlEnter", "w:move 10,10"}), log);
}

TEST_F(Routing, FocusChangesSendLostAndReceivedOnce)
{
    WidgetObject* a = Add("a", 1.0f);
    WidgetObject* b = Add("b", 1.0f);
    log.clear();
    db.SetFocus(a);
    db.SetFocus(a); // already focused: nothing
    db.SetFocus(b);
    db.SetFocus(nullptr);
    EXPECT_EQ((EventLog{"a:ReceivedFocus", "a:LostFocus", "b:ReceivedFocus", "b:LostFocus"}), log);
    EXPECT_EQ(nullptr, db.GetFocus());
}

TEST_F(Routing, EndingFocusAndHoverAreStillTheirsWhileTheirHandlersRun)
{
    WidgetObject* a = Add("a", 1.0f, Rect<float>(0, 0, 100, 100));
    WidgetObject* b = Add("b", 1.0f, Rect<float>(200, 0, 100, 100));
    WidgetObject* c = Add("c", 1.0f, Rect<float>(400, 0, 100, 100));
    db.Update(0.0f);
    std::vector<std::string> seen;
    a->onMessage = [&](const ObjectMessage& message)
    {
        if (message.GetName() == Label("LostFocus"))
            seen.push_back(db.GetFocus() == a ? "focus is a" : "focus gone");
        if (message.GetName() == Label("ControlLeave"))
            seen.push_back(db.GetHoveredControl() == message.GetSender() ? "hover is the sender" : "hover gone");
    };
    db.SetFocus(a);
    db.SetFocus(b);
    db.OnMouseMove(10, 10);
    db.OnMouseMove(210, 10);
    db.OnMouseMove(10, 10);
    db.OnMouseLeave();
    EXPECT_EQ(
        (std::vector<std::string>{"focus is a", "hover is the sender", "hover is the sender", "hover is the sender"}),
        seen);
    EXPECT_EQ(b, db.GetFocus());
    EXPECT_TRUE(db.GetHoveredControl().IsInvalid());

    // A handler that moves the focus has the last word, and the old focus is told only once.
    db.SetFocus(a);
    a->onMessage = [&](const ObjectMessage& message)
    {
        if (message.GetName() == Label("LostFocus"))
            db.SetFocus(c);
    };
    log.clear();
    db.SetFocus(b);
    EXPECT_EQ((EventLog{"a:LostFocus", "c:ReceivedFocus"}), log);
    EXPECT_EQ(c, db.GetFocus());
}

TEST_F(Routing, HandlersMayAddAndDestroyObjectsWhileRouted)
{
    std::vector<WidgetObject*> widgets;
    for (int i = 0; i < 5; ++i)
        widgets.push_back(Add("w" + std::to_string(i), static_cast<float>(i)));
    db.Update(0.0f);
    int added = 0;
    for (WidgetObject* widget : widgets)
    {
        widget->onInput = [&, widget]
        {
            // Enough new drawables to move the draw list and the slot table in memory.
            for (int i = 0; i < 300; ++i, ++added)
                db.AddObject(new WidgetObject(nullptr, "new", 9.0f));
            db.DestroyObject(widget->GetID());
        };
    }
    log.clear();
    EXPECT_EQ(MessageResult_Unhandled, db.OnMouseDown(MouseButton_Right, 1, 1));
    // Each old widget heard it once, highest first; the new ones were not reached.
    EXPECT_EQ((EventLog{"w4:down 1", "w4:Remove", "w3:down 1", "w3:Remove", "w2:down 1", "w2:Remove", "w1:down 1",
                        "w1:Remove", "w0:down 1", "w0:Remove"}),
              log);
    EXPECT_EQ(1500, added);
    log.clear();
    db.OnMouseMove(1, 1); // the hover pass after the changes
    db.Update(0.0f);
    EXPECT_EQ(5u, static_cast<size_t>(std::count_if(log.begin(), log.end(),
                                                    [](const std::string& e)
                                                    { return e.find(":deleted") != std::string::npos; })));
}

} // namespace
} // namespace Strata

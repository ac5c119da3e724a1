#include "framework/ObjectDatabase.h"

#include "FrameworkTestObjects.h"
#include "core/RuntimeError.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Strata
{
namespace
{

using Testing::EventLog;
using Testing::LoggingObject;
using Testing::WidgetObject;

size_t Count(const EventLog& log, const std::string& entry)
{
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

TEST(ObjectDatabaseIDs, SameObjectTwiceKeepsItsSlot)
{
    ObjectDatabase db;
    auto* object = new LoggingObject(nullptr, "a");
    const ObjectID first = db.AddObject(object);
    EXPECT_EQ(first, db.AddObject(object));
    EXPECT_EQ(1u, db.GetSlotCount());
    EXPECT_EQ(object, db.GetObject(first));
    EXPECT_EQ(first, object->GetID());
    EXPECT_EQ(kInvalidObjectID, db.AddObject(nullptr));
}

TEST(ObjectDatabaseIDs, StaleIdentifierFindsNothingAfterTheSlotIsReused)
{
    EventLog log;
    ObjectDatabase db;
    const ObjectID old = db.AddObject(new LoggingObject(&log, "a"));
    EXPECT_EQ(0u, old.GetIndex());
    EXPECT_EQ(0u, old.GetGeneration());

    db.DestroyObject(old);
    EXPECT_EQ(nullptr, db.GetObject(old));
    EXPECT_EQ(0u, Count(log, "a:deleted")); // kept until the update
    db.Update(0.02f);
    EXPECT_EQ(1u, Count(log, "a:deleted"));

    auto* next = new LoggingObject(&log, "b");
    const ObjectID reused = db.AddObject(next);
    EXPECT_EQ(0u, reused.GetIndex());
    EXPECT_EQ(1u, reused.GetGeneration());
    EXPECT_EQ(nullptr, db.GetObject(old));
    EXPECT_FALSE(db.IsValidObjectID(old));
    EXPECT_EQ(next, db.GetObject(reused));

    // Destroying through the stale ID must not touch the new occupant.
    db.DestroyObject(old);
    EXPECT_TRUE(db.IsValidObjectID(reused));
}

TEST(ObjectDatabaseIDs, FreedSlotsAreReusedOldestFirst)
{
    ObjectDatabase db;
    std::vector<ObjectID> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(db.AddObject(new LoggingObject(nullptr, "o")));
    db.DestroyObject(ids[2]);
    db.Update(0.0f);
    db.DestroyObject(ids[3]);
    db.DestroyObject(ids[0]);
    db.Update(0.0f); // purged in slot order: 0 then 3

    EXPECT_EQ(2u, db.AddObject(new LoggingObject(nullptr, "n")).GetIndex());
    EXPECT_EQ(0u, db.AddObject(new LoggingObject(nullptr, "n")).GetIndex());
    EXPECT_EQ(3u, db.AddObject(new LoggingObject(nullptr, "n")).GetIndex());
    EXPECT_EQ(4u, db.AddObject(new LoggingObject(nullptr, "n")).GetIndex());
}

TEST(ObjectDatabaseIDs, GenerationWrapsAndNeverSpellsTheInvalidID)
{
    EXPECT_EQ(ObjectID(7, 0), ObjectDatabase::NextID(kInvalidObjectID, 7));
    EXPECT_EQ(ObjectID(7, 5), ObjectDatabase::NextID(ObjectID(7, 4), 7));
    EXPECT_EQ(ObjectID(7, 0), ObjectDatabase::NextID(ObjectID(7, 0xFFFF), 7));
    EXPECT_EQ(ObjectID(0xFFFF, 0xFFFE), ObjectDatabase::NextID(ObjectID(0xFFFF, 0xFFFD), 0xFFFF));
    const ObjectID last = ObjectDatabase::NextID(ObjectID(0xFFFF, 0xFFFE), 0xFFFF);
    EXPECT_FALSE(last.IsInvalid());
    EXPECT_EQ(0xFFFFu, last.GetIndex());
    EXPECT_EQ(0u, last.GetGeneration());
}

TEST(ObjectDatabaseIDs, FullTableThrowsAndLeavesTheObjectToTheCaller)
{
    ObjectDatabase db;
    for (size_t i = 0; i < ObjectDatabase::kMaxSlots; ++i)
        db.AddObject(new Object());
    ASSERT_EQ(ObjectDatabase::kMaxSlots, db.GetSlotCount());
    ObjectDatabase::sIterator it;
    ObjectID lastID;
    for (ObjectID id = db.GetNextObject(&it); !id.IsInvalid(); id = db.GetNextObject(&it))
        lastID = id;
    EXPECT_EQ(0xFFFFu, lastID.GetIndex());
    EXPECT_FALSE(lastID.IsInvalid());

    auto extra = std::make_unique<Object>();
    EXPECT_THROW(db.AddObject(extra.get()), RuntimeError);
    EXPECT_TRUE(extra->GetID().IsInvalid());

    // A freed slot makes room again.
    db.DestroyObject(lastID);
    db.Update(0.0f);
    EXPECT_FALSE(db.AddObject(extra.release()).IsInvalid());
}

TEST(ObjectDatabaseIDs, ObjectWaitingForThePurgeCannotBeAddedAgain)
{
    ObjectDatabase db;
    auto* object = new LoggingObject(nullptr, "a");
    const ObjectID id = db.AddObject(object);
    db.DestroyObject(id);
    EXPECT_THROW(db.AddObject(object), RuntimeError);
    db.Update(0.0f);
    EXPECT_EQ(1u, db.GetSlotCount());
}

TEST(ObjectDatabaseLookup, NamesAndRoles)
{
    ObjectDatabase db;
    const Label hero("Hero");
    const Label enemy("Enemy");
    const Label flying("Flying");
    const ObjectID first = db.AddObject(new LoggingObject(nullptr, "a", Label("Ann"), {hero}));
    const ObjectID second = db.AddObject(new LoggingObject(nullptr, "b", Label(), {enemy, flying}));

    EXPECT_EQ(db.GetObject(first), db.GetNamedObject(Label("ann"))); // labels ignore case
    EXPECT_EQ(nullptr, db.GetNamedObject(Label("Bob")));
    EXPECT_EQ(std::vector<ObjectID>{first}, db.GetObjectsWithRole(hero));
    EXPECT_EQ(std::vector<ObjectID>{second}, db.GetObjectsWithRole(enemy));
    EXPECT_EQ(std::vector<ObjectID>{second}, db.GetObjectsWithRole(flying));
    EXPECT_TRUE(db.GetObjectsWithRole(Label("Nobody")).empty());

    db.DestroyNamedObject(Label("Ann"));
    EXPECT_EQ(nullptr, db.GetNamedObject(Label("Ann")));
    db.DestroyObject(second);
    db.Update(0.0f);
    EXPECT_TRUE(db.GetObjectsWithRole(hero).empty());
    EXPECT_TRUE(db.GetObjectsWithRole(enemy).empty());
    EXPECT_TRUE(db.GetObjectsWithRole(flying).empty());
}

TEST(ObjectDatabaseLookup, DestroyingAReplacedNameKeepsTheNewerRegistration)
{
    ObjectDatabase db;
    const ObjectID older = db.AddObject(new LoggingObject(nullptr, "a", Label("Door")));
    const ObjectID newer = db.AddObject(new LoggingObject(nullptr, "b", Label("Door")));
    EXPECT_EQ(db.GetObject(newer), db.GetNamedObject(Label("Door")));
    db.DestroyObject(older);
    EXPECT_EQ(db.GetObject(newer), db.GetNamedObject(Label("Door")));
}

TEST(ObjectDatabaseLookup, IteratorSkipsDestroyedSlots)
{
    ObjectDatabase db;
    const ObjectID a = db.AddObject(new Object());
    const ObjectID b = db.AddObject(new Object());
    const ObjectID c = db.AddObject(new Object());
    db.DestroyObject(b);
    ObjectDatabase::sIterator it;
    EXPECT_EQ(a, db.GetNextObject(&it));
    EXPECT_EQ(c, db.GetNextObject(&it));
    EXPECT_TRUE(db.GetNextObject(&it).IsInvalid());
    EXPECT_TRUE(db.GetNextObject(&it).IsInvalid());
}

TEST(ObjectDatabaseLifecycle, AddAndRemoveReachTheObjectAndItsTasks)
{
    EventLog log;
    ObjectDatabase db;
    auto* object = new LoggingObject(&log, "a");
    auto* task = new Testing::ProbeTask();
    object->AddTask(task);
    const ObjectID id = db.AddObject(object);
    db.DestroyObject(id);
    db.DestroyObject(id); // a second destroy is ignored
    EXPECT_EQ((std::vector<std::string>{"Add", "Remove"}), task->messages);
    EXPECT_EQ((EventLog{"a:Add", "a:Remove"}), log);
}

TEST(ObjectDatabaseLifecycle, DestroyingTheFocusSendsLostFocusBeforeRemove)
{
    EventLog log;
    ObjectDatabase db;
    auto* object = new LoggingObject(&log, "a");
    const ObjectID id = db.AddObject(object);
    db.SetFocus(object);
    log.clear();
    db.DestroyObject(id);
    EXPECT_EQ((EventLog{"a:LostFocus", "a:Remove"}), log);
    EXPECT_EQ(nullptr, db.GetFocus());
}

TEST(ObjectDatabaseLifecycle, UpdateReachesObjectsAddedDuringThePass)
{
    EventLog log;
    ObjectDatabase db;
    auto* spawner = new LoggingObject(&log, "a");
    spawner->onUpdate = [&]
    {
        if (db.GetSlotCount() < 3)
            db.AddObject(new LoggingObject(&log, "child"));
    };
    db.AddObject(spawner);
    db.Update(0.02f);
    // The new child lands in a new slot and is updated in the same pass.
    EXPECT_EQ((EventLog{"a:Add", "a:update", "child:Add", "child:update"}), log);
}

// Objects added during an update into freed slots, one behind the object being updated and one ahead:
// the walk goes on in slot order, reaching the one ahead and leaving the one behind to the next update,
// and updates nobody twice though the new entries move those after them.
TEST(ObjectDatabaseLifecycle, ObjectsAddedIntoFreedSlotsDuringAnUpdate)
{
    EventLog log;
    ObjectDatabase db;
    std::vector<ObjectID> ids;
    for (int i = 0; i < 10; ++i)
        ids.push_back(db.AddObject(new LoggingObject(&log, "o" + std::to_string(i))));
    db.DestroyObject(ids[1]);
    db.DestroyObject(ids[8]);
    db.Update(0.0f); // frees slot 1, then slot 8, reused in that order
    auto* actor = static_cast<LoggingObject*>(db.GetObject(ids[5]));
    actor->onUpdate = [&, once = true]() mutable
    {
        if (!std::exchange(once, false))
            return;
        db.AddObject(new LoggingObject(&log, "behind"));
        db.AddObject(new LoggingObject(&log, "ahead"));
    };
    const auto updates = [&log]
    {
        EventLog order;
        for (const std::string& entry : log)
            if (entry.ends_with(":update"))
                order.push_back(entry.substr(0, entry.size() - 7));
        return order;
    };
    log.clear();
    db.Update(0.02f);
    EXPECT_EQ((EventLog{"o0", "o2", "o3", "o4", "o5", "o6", "o7", "ahead", "o9"}), updates());
    log.clear();
    db.Update(0.02f);
    EXPECT_EQ((EventLog{"o0", "behind", "o2", "o3", "o4", "o5", "o6", "o7", "ahead", "o9"}), updates());
}

TEST(ObjectDatabaseLifecycle, DestructorsMayAddAndDestroyObjects)
{
    EventLog log;
    {
        ObjectDatabase db;
        auto* a = new LoggingObject(&log, "a");
        const ObjectID b = db.AddObject(new LoggingObject(&log, "b"));
        a->onDelete = [&db, &log, b]
        {
            db.DestroyObject(b);
            for (int i = 0; i < 300; ++i) // enough to grow the slot table while purging
                db.AddObject(new LoggingObject(&log, "late"));
        };
        db.DestroyObject(db.AddObject(a));
        db.Update(0.0f);
        EXPECT_EQ(1u, Count(log, "a:deleted"));
        EXPECT_EQ(0u, Count(log, "b:deleted"));
        db.Update(0.0f);
        EXPECT_EQ(1u, Count(log, "b:deleted"));
    }
    // The database's own destruction deletes everything that is left.
    EXPECT_EQ(300u, Count(log, "late:deleted"));
}

// The purge goes through the destroyed slots as a walk of the table in slot order: what a destructor
// destroys ahead of its slot goes in the same purge; behind it, or in its own slot again, at the next.
TEST(ObjectDatabaseLifecycle, DestructorsDestroyingObjectsAheadAndBehindDuringThePurge)
{
    EventLog log;
    ObjectDatabase db;
    std::vector<LoggingObject*> objects;
    std::vector<ObjectID> ids;
    for (int i = 0; i < 8; ++i)
    {
        objects.push_back(new LoggingObject(&log, "o" + std::to_string(i)));
        ids.push_back(db.AddObject(objects.back()));
    }
    objects[2]->onDelete = [&]
    {
        db.DestroyObject(ids[5]);                                       // ahead
        db.DestroyObject(ids[0]);                                       // behind
        db.DestroyObject(db.AddObject(new LoggingObject(&log, "new"))); // into the slot just freed
    };
    objects[5]->onDelete = [&] { db.DestroyObject(ids[7]); }; // ahead again, found by the same purge
    objects[6]->onDelete = [&] { db.DestroyObject(ids[3]); }; // behind the one destroyed first
    db.DestroyObject(ids[6]);
    db.DestroyObject(ids[2]);
    const auto deleted = [&]
    {
        EventLog found;
        for (const std::string& entry : log)
            if (entry.size() > 8 && entry.compare(entry.size() - 8, 8, ":deleted") == 0)
                found.push_back(entry);
        log.clear();
        return found;
    };
    db.Update(0.02f);
    EXPECT_EQ((EventLog{"o2:deleted", "o5:deleted", "o6:deleted", "o7:deleted"}), deleted());
    db.Update(0.02f);
    EXPECT_EQ((EventLog{"o0:deleted", "new:deleted", "o3:deleted"}), deleted());
    db.Update(0.02f);
    EXPECT_EQ(EventLog{}, deleted());
    EXPECT_TRUE(db.IsValidObjectID(ids[1]) && db.IsValidObjectID(ids[4]));
}

// Whatever the object being updated does to the objects ahead of it or behind it, each live object is
// updated once, none after its removal, and the removed ones are deleted once, after the walk.
TEST(ObjectDatabaseLifecycle, ChangesToTheObjectsAheadDuringAnUpdate)
{
    constexpr size_t kObjects = 24;
    constexpr size_t kActor = 3;
    using Ids = std::vector<ObjectID>;
    const auto destroy = [&](size_t from, size_t to)
    {
        return [=](ObjectDatabase& db, const Ids& ids, EventLog&)
        {
            for (size_t i = from; i < to; ++i)
                db.DestroyObject(ids[i]);
        };
    };
    const auto add = [](size_t count)
    {
        return [=](ObjectDatabase& db, const Ids&, EventLog& log)
        {
            for (size_t i = 0; i < count; ++i)
                db.AddObject(new LoggingObject(&log, "new"));
        };
    };
    struct sCase
    {
        const char* name;
        std::function<void(ObjectDatabase&, const Ids&, EventLog&)> act;
        size_t destroyedFrom, destroyedTo; // of the first objects
        size_t clearedFrom, clearedTo;     // whose tasks are removed
        size_t added;
    };
    const std::vector<sCase> cases = {
        {"destroys every object ahead", destroy(kActor + 1, kObjects), kActor + 1, kObjects, 0, 0, 0},
        {"destroys the next object", destroy(kActor + 1, kActor + 2), kActor + 1, kActor + 2, 0, 0, 0},
        {"destroys itself and the objects behind", destroy(0, kActor + 1), 0, kActor + 1, 0, 0, 0},
        // Past the slots reserved at first: the table moves during the walk.
        {"adds objects until the table grows", add(300), 0, 0, 0, 0, 300},
        {"destroys the objects ahead and adds others",
         [&](ObjectDatabase& db, const Ids& ids, EventLog& log)
         {
             destroy(kActor + 1, kObjects)(db, ids, log);
             add(5)(db, ids, log);
         },
         kActor + 1, kObjects, 0, 0, 5},
        {"removes the tasks of the objects ahead",
         [&](ObjectDatabase& db, const Ids& ids, EventLog&)
         {
             for (size_t i = kActor + 1; i < kObjects; ++i)
                 db.GetObject(ids[i])->RemoveAllTasks();
         },
         0, 0, kActor + 1, kObjects, 0},
    };
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EventLog log;
        ObjectDatabase db;
        Ids ids;
        for (size_t i = 0; i < kObjects; ++i)
        {
            const std::string tag = "o" + std::to_string(i);
            auto* object = new LoggingObject(&log, tag);
            auto* task = new Testing::ProbeTask();
            task->onUpdate = [&log, tag](Object*) { log.push_back(tag + ":task"); };
            object->AddTask(task);
            if (i == kActor)
                object->onUpdate = [&, act = c.act, once = true]() mutable
                {
                    if (std::exchange(once, false))
                        act(db, ids, log);
                };
            ids.push_back(db.AddObject(object));
        }
        db.Update(0.02f);
        for (size_t i = 0; i < kObjects; ++i)
        {
            const std::string tag = "o" + std::to_string(i);
            const bool destroyed = i >= c.destroyedFrom && i < c.destroyedTo;
            const bool updated = !destroyed || i <= kActor;
            const bool cleared = i >= c.clearedFrom && i < c.clearedTo;
            EXPECT_EQ(updated ? 1u : 0u, Count(log, tag + ":update")) << tag;
            EXPECT_EQ(updated && !cleared ? 1u : 0u, Count(log, tag + ":task")) << tag;
            EXPECT_EQ(destroyed ? 1u : 0u, Count(log, tag + ":deleted")) << tag;
        }
        EXPECT_EQ(c.added, Count(log, "new:update"));

        // The next update reaches exactly the survivors.
        log.clear();
        db.Update(0.02f);
        const size_t survivors = kObjects - (c.destroyedTo - c.destroyedFrom);
        EXPECT_EQ(survivors + c.added,
                  static_cast<size_t>(std::count_if(
                      log.begin(), log.end(), [](const std::string& entry) { return entry.ends_with(":update"); })));
    }
}

TEST(ObjectDatabaseDraw, StableLayerOrderUpdatedAtEachUpdate)
{
    EventLog log;
    ObjectDatabase db;
    auto* a = new WidgetObject(&log, "a", 2.0f);
    auto* b = new WidgetObject(&log, "b", 1.0f);
    auto* c = new WidgetObject(&log, "c", 1.0f);
    db.AddObject(a);
    db.AddObject(b);
    db.AddObject(c);
    db.AddObject(new LoggingObject(&log, "plain")); // not drawable

    log.clear();
    db.Draw(); // not yet sorted: added order
    EXPECT_EQ((EventLog{"a:draw", "b:draw", "c:draw"}), log);

    db.Update(0.0f);
    log.clear();
    db.Draw();
    EXPECT_EQ((EventLog{"b:draw", "c:draw", "a:draw"}), log);

    b->layer = 5.0f; // takes effect at the next update
    log.clear();
    db.Draw();
    EXPECT_EQ((EventLog{"b:draw", "c:draw", "a:draw"}), log);
    db.Update(0.0f);
    log.clear();
    db.Draw();
    EXPECT_EQ((EventLog{"c:draw", "a:draw", "b:draw"}), log);

    // A destroyed drawable is no longer drawn, even before the purge.
    db.DestroyObject(c->GetID());
    log.clear();
    db.Draw();
    EXPECT_EQ((EventLog{"a:draw", "b:draw"}), log);
}

class RecordingDatabase : public ObjectDatabase
{
public:
    explicit RecordingDatabase(EventLog* log) : mLog(log) {}
    void ReceiveMessage(const ObjectMessage& message) override
    {
        mLog->push_back(std::string("db:") + message.GetName().c_str());
    }

private:
    EventLog* mLog;
};

TEST(ObjectDatabaseBroadcast, DatabaseFirstThenObjectsInSlotOrder)
{
    EventLog log;
    RecordingDatabase db(&log);
    auto* a = new LoggingObject(&log, "a");
    auto* b = new LoggingObject(&log, "b");
    auto* c = new LoggingObject(&log, "c");
    db.AddObject(a);
    db.AddObject(b);
    db.AddObject(c);
    a->onMessage = [&](const ObjectMessage& message)
    {
        if (message.GetName() == Label("Ping"))
        {
            db.DestroyObject(b->GetID());
            db.AddObject(new LoggingObject(&log, "d"));
        }
    };
    log.clear();
    db.SendMessage(ObjectMessage(kInvalidObjectID, Label("Ping")));
    // b, destroyed by a, hears Remove but not the rest of the broadcast; d, new, hears it.
    EXPECT_EQ((EventLog{"db:Ping", "a:Ping", "b:Remove", "d:Add", "c:Ping", "d:Ping"}), log);
    EXPECT_EQ(0u, Count(log, "b:deleted"));
    db.Update(0.0f);
    EXPECT_EQ(1u, Count(log, "b:deleted"));
}

class ContextProbeMode : public ApplicationMode
{
public:
    ObjectDatabase* seen = nullptr;
    void ReceiveMessage(const ObjectMessage&) override { seen = Strata::GetObjectDatabase(); }
};

TEST(ObjectDatabaseBroadcast, BroadcastRunsWithItsModeAsContext)
{
    ContextProbeMode mode;
    Object* self = nullptr;
    auto* object = new LoggingObject(nullptr, "a");
    mode.AddObject(object);
    object->onMessage = [&](const ObjectMessage&) { self = Strata::GetObjectDatabase()->GetObject(object->GetID()); };
    EXPECT_EQ(nullptr, MainLoop::GetContextMode());
    mode.SendMessage(ObjectMessage(Label("Ping")));
    EXPECT_EQ(&mode, mode.seen);
    EXPECT_EQ(object, self);
    EXPECT_EQ(nullptr, MainLoop::GetContextMode()); // restored
}

} // namespace
} // namespace Strata

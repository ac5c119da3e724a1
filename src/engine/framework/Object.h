#pragma once

#include "core/Label.h"
#include "framework/ObjectID.h"
#include "framework/Task.h"

#include <memory>

namespace Strata
{

class ObjectDatabase;

// The answer of an input handler: Handled when it consumed the event.
enum MessageResult : int
{
    MessageResult_Unhandled = 0,
    MessageResult_Handled = 1,
};

// A message broadcast through an object database or sent to one object.
class ObjectMessage
{
public:
    ObjectMessage(ObjectID sender, Label name) : mSender(sender), mName(name) {}
    explicit ObjectMessage(Label name) : mName(name) {}
    virtual ~ObjectMessage();

    ObjectID GetSender() const { return mSender; }
    Label GetName() const { return mName; }

private:
    ObjectID mSender;
    Label mName;
};

// The names of the messages the engine makes; each is interned once, on first use.
Label GetAddMessageName();
Label GetRemoveMessageName();
Label GetLostFocusMessageName();
Label GetReceivedFocusMessageName();
Label GetControlEnterMessageName();
Label GetControlLeaveMessageName();

// The base of everything an object database holds: an identifier, a name, roles, tasks.
class Object
{
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    // The null label when unnamed.
    virtual Label GetName() const;
    // A class with one role overrides this one...
    virtual Label GetRole() const;
    // ...a class with several overrides this one and answers the null label after its last role.
    virtual Label GetRole(const int& index) const;
    virtual void Update(float dt);
    virtual void ReceiveMessage(const ObjectMessage& message);

    // The invalid identifier until a database adds the object.
    ObjectID GetID() const { return mID; }

    // Appends to the task queue; the object owns the task. A null task is ignored.
    void AddTask(Task* task);
    // The same for a task made by the caller and handed over whole.
    void AddTask(std::unique_ptr<Task> task);
    // Finishes every queued task; they are deleted at once, or after the queue's walk in progress.
    void RemoveAllTasks();
    // Destroys this object in the context mode's database; nothing when there is none.
    void DestroySelf();

    // Called by the database: the queue serially, the named set in parallel, then Update.
    void UpdateInternal(float dt);
    // Called by the database: the queue's tasks, the named set, then ReceiveMessage.
    void ReceiveMessageInternal(const ObjectMessage& message);

    TaskSet& GetTaskQueue() { return mTaskQueue; }
    // Made on first use.
    NamedTaskSet& GetNamedTasks();

private:
    friend class ObjectDatabase;

    ObjectID mID;
    TaskSet mTaskQueue;
    // Few objects have named tasks: the rest stay small and skip them with one test at every update.
    std::unique_ptr<NamedTaskSet> mNamedTasks;
};

// Inline, so that the database's walk costs no call of its own per object. An empty set's walks do
// nothing, so they are skipped.
inline void Object::UpdateInternal(float dt)
{
    if (!mTaskQueue.IsEmpty())
        mTaskQueue.StepSerial(this, dt, false,
                              [](Task* task, Object* object, float step)
                              {
                                  // The composites an object runs most, without their virtual calls.
                                  if (Internal::IsExactly<RepeatingTask>(*task))
                                      return static_cast<RepeatingTask*>(task)->RepeatingTask::Update(object, step);
                                  if (Internal::IsExactly<SerialTask>(*task))
                                      return static_cast<SerialTask*>(task)->SerialTask::Update(object, step);
                                  return task->Update(object, step);
                              });
    if (mNamedTasks && !mNamedTasks->IsEmpty())
        mNamedTasks->UpdateParallel(this, dt, ParallelTaskCompletion_All);
    Update(dt);
}

} // namespace Strata

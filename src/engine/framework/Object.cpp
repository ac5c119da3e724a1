#include "framework/Object.h"

#include "framework/ObjectDatabase.h"

namespace Strata
{

namespace
{

// Breaks the mutual defaults of the two GetRole operations when a class overrides neither.
thread_local int gRoleSentinel = 0;

struct RoleSentinelGuard
{
    RoleSentinelGuard() { gRoleSentinel = 1; }
    ~RoleSentinelGuard() { gRoleSentinel = 0; }
};

} // namespace

ObjectMessage::~ObjectMessage() = default;

Label GetAddMessageName()
{
    static const Label name("Add");
    return name;
}

Label GetRemoveMessageName()
{
    static const Label name("Remove");
    return name;
}

Label GetLostFocusMessageName()
{
    static const Label name("LostFocus");
    return name;
}

Label GetReceivedFocusMessageName()
{
    static const Label name("ReceivedFocus");
    return name;
}

Label GetControlEnterMessageName()
{
    static const Label name("ControlEnter");
    return name;
}

Label GetControlLeaveMessageName()
{
    static const Label name("ControlLeave");
    return name;
}

Object::~Object()
{
    // Explicitly, so the tasks go while the object is still whole: a task's destructor may look
    // at the object's other tasks.
    mTaskQueue.Clear();
    if (mNamedTasks)
        mNamedTasks->Clear();
}

Label Object::GetName() const
{
    return Label();
}

Label Object::GetRole() const
{
    if (gRoleSentinel != 0)
        return Label();
    RoleSentinelGuard guard;
    return GetRole(0);
}

Label Object::GetRole(const int& index) const
{
    if (index != 0 || gRoleSentinel != 0)
        return Label();
    RoleSentinelGuard guard;
    return GetRole();
}

void Object::Update(float)
{
}

void Object::ReceiveMessage(const ObjectMessage&)
{
}

void Object::AddTask(Task* task)
{
    mTaskQueue.Add(task);
}

void Object::AddTask(std::unique_ptr<Task> task)
{
    mTaskQueue.Add(task.release());
}

NamedTaskSet& Object::GetNamedTasks()
{
    if (!mNamedTasks)
        mNamedTasks = std::make_unique<NamedTaskSet>();
    return *mNamedTasks;
}

void Object::RemoveAllTasks()
{
    mTaskQueue.Clear();
}

void Object::DestroySelf()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->DestroyObject(mID);
}

void Object::ReceiveMessageInternal(const ObjectMessage& message)
{
    if (!mTaskQueue.IsEmpty())
        mTaskQueue.ReceiveMessage(this, message, ParallelTaskCompletion_All);
    if (mNamedTasks && !mNamedTasks->IsEmpty())
        mNamedTasks->ReceiveMessage(this, message, ParallelTaskCompletion_All);
    ReceiveMessage(message);
}

} // namespace Strata

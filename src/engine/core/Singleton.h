#pragma once

namespace Strata
{

namespace Internal
{

// A record of one object to delete at shut-down. Constructing a record registers it; destroying it
// unregisters it. Records are kept ordered by address, so deletion order is not registration order.
class SingletonDestructor
{
public:
    SingletonDestructor();
    virtual ~SingletonDestructor();
    SingletonDestructor(const SingletonDestructor&) = delete;
    SingletonDestructor& operator=(const SingletonDestructor&) = delete;

    // Deletes the object the record stands for, then the record itself.
    virtual void Destruct() = 0;
};

template <class T>
class AutoDeleteSingletonDestructor final : public SingletonDestructor
{
public:
    explicit AutoDeleteSingletonDestructor(T* object) : mObject(object) {}

    void Destruct() override
    {
        T* object = mObject;
        mObject = nullptr;
        delete object;
        delete this;
    }

private:
    T* mObject;
};

// Destructs every registered record, including records registered while it runs, then frees the
// record set. With no records, or called again, it does nothing. A Destruct that throws is logged
// and the remaining records are still destructed.
void DeleteAllSingletons();

} // namespace Internal

// Registers the object for deletion by DeleteAllSingletons. A null object is ignored.
// Register each object once: two records for one object delete it twice.
template <class T>
void AutoDeleteSingleton(T* object)
{
    if (object != nullptr)
        new Internal::AutoDeleteSingletonDestructor<T>(object);
}

} // namespace Strata

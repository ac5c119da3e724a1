#include "core/Singleton.h"

#include "core/Log.h"
#include "core/RuntimeError.h"

#include <exception>
#include <mutex>
#include <set>

namespace Strata::Internal
{

namespace
{
// Constant-initialised, so records made by other files' static initialisers find it ready.
constinit std::mutex gRecordsMutex;
// Made on the first registration, freed by DeleteAllSingletons.
std::set<SingletonDestructor*>* gRecords = nullptr;
} // namespace

SingletonDestructor::SingletonDestructor()
{
    std::lock_guard<std::mutex> lock(gRecordsMutex);
    if (gRecords == nullptr)
        gRecords = new std::set<SingletonDestructor*>();
    gRecords->insert(this);
}

SingletonDestructor::~SingletonDestructor()
{
    std::lock_guard<std::mutex> lock(gRecordsMutex);
    if (gRecords != nullptr)
        gRecords->erase(this);
}

void DeleteAllSingletons()
{
    for (;;)
    {
        SingletonDestructor* record = nullptr;
        {
            std::lock_guard<std::mutex> lock(gRecordsMutex);
            if (gRecords == nullptr)
                return;
            if (gRecords->empty())
            {
                delete gRecords;
                gRecords = nullptr;
                return;
            }
            record = *gRecords->begin();
            gRecords->erase(gRecords->begin());
        }
        // Outside the lock: a destructor may register or remove records.
        try
        {
            record->Destruct();
        }
        catch (const RuntimeError& e)
        {
            LogWrite("A singleton failed to delete: %s (%s:%d, %s)\n", e.what(), e.GetFile().c_str(), e.GetLine(),
                     e.GetFunction().c_str());
        }
        catch (const std::exception& e)
        {
            LogWrite("A singleton failed to delete: %s\n", e.what());
        }
        catch (...)
        {
            LogWrite("A singleton failed to delete: unknown exception\n");
        }
    }
}

} // namespace Strata::Internal

#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ObjectDatabase.h"

namespace Strata
{

ObjectDatabase* GetObjectDatabase()
{
    ApplicationMode* mode = MainLoop::GetContextMode();
    return mode ? mode->GetObjectDatabase() : nullptr;
}

void ObjectDatabase::SendMessage(const ObjectMessage& message)
{
    // Receivers reach "their" database through the context mode, so a broadcast through a mode
    // that is not the context (a lower mode, say) runs with that mode as the context.
    ApplicationMode* owner = dynamic_cast<ApplicationMode*>(this);
    if (owner && MainLoop::GetContextMode() != owner)
    {
        MainLoop::AutoContext guard;
        MainLoop::WithinContext(owner, guard);
        Broadcast(message);
        return;
    }
    Broadcast(message);
}

} // namespace Strata

#pragma once

#include "core/Vector2.h"

namespace Strata
{

class ApplicationMode;
class IQuitHandler;

// The engine's entry and frame driver: fixed 20 ms update steps, rate-limited draws, a stack of
// application modes whose changes are queued for the next pass, input to the top mode, quit handlers.
// Main thread only.
namespace MainLoop
{

// Sets the engine up, runs the loop until a quit, and tears the engine down.
void Execute();

// Queued for the next pass; the loop owns the mode from the call on.
void PushMode(ApplicationMode* mode);
void ChangeMode(ApplicationMode* mode);
void UnwindToMode(ApplicationMode* mode);
void PopMode();

// The n-th mode from the top (0 = top); null when the stack holds n modes or fewer.
ApplicationMode* GetTopMostMode(int n);
// The mode whose call is in progress, else the top mode, else null.
ApplicationMode* GetContextMode();

// Saves the context mode when made and restores it when destroyed.
class AutoContext
{
public:
    AutoContext();
    ~AutoContext();
    AutoContext(const AutoContext&) = delete;
    AutoContext& operator=(const AutoContext&) = delete;

private:
    ApplicationMode* mSaved;
};

// Makes `mode` the context mode for the scope of `guard`.
void WithinContext(ApplicationMode* mode, const AutoContext& guard);

Vector2<int> GetLastMousePos();

// Sets the quit flag: the loop ends at its next check.
void Exit();
// Asks the quit handlers in order; quits when all agree.
void RequestQuit();
void AddQuitHandler(IQuitHandler* handler);
void RemoveQuitHandler(IQuitHandler* handler);

} // namespace MainLoop
} // namespace Strata

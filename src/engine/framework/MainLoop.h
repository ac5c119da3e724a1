#pragma once

#include "core/Vector2.h"

#include <cstdint>
#include <functional>

namespace Strata
{

class ApplicationMode;
class IQuitHandler;
class IPlatform;

// The engine's entry and frame driver: fixed 20 ms update steps, rate-limited draws, a stack of
// application modes whose changes are queued for the next pass, input to the top mode, quit handlers.
// Input is dropped while a change is queued; a mouse button's release goes to the top mode only when
// that mode was given the button's press, so a press that closes a screen, or one that was dropped,
// never ends with a release on what lay beneath. Main thread only.
namespace MainLoop
{

// Sets the engine up, runs the loop until a quit, and tears the engine down. When another instance
// of the program runs it tears down what it set up and returns without running. Throws a
// RuntimeError, changing nothing, when no application exists, when no platform is registered and
// none can be made, or when the loop is already running. Any exception from set-up, a mode, the
// application or the platform ends the loop; what was set up is then torn down, each step on its
// own (a failing step is logged and the next one still runs), and the first exception propagates.
void Execute();

// Makes the application platform when none is registered at set-up; the platform layer installs
// it. The loop registers the platform it makes and deletes it with the other singletons at
// shut-down. Null removes the factory.
void SetPlatformFactory(IPlatform* (*factory)());

// Queued for the next pass; the loop owns the mode from the call on. A null mode is not queued.
// A push or change of a mode that is already on the stack when its turn comes is ignored (a change
// to the top mode thus keeps it); a popped mode that a later request still names is kept for that
// request rather than deleted. Modes still queued at tear-down are deleted.
void PushMode(ApplicationMode* mode);
void ChangeMode(ApplicationMode* mode);
void UnwindToMode(ApplicationMode* mode);
void PopMode();

// The n-th mode from the top (0 = top); null when the stack holds n modes or fewer.
ApplicationMode* GetTopMostMode(int n);
// The mode whose call is in progress, else the top mode, else null. Null while the loop deletes a
// mode: the objects deleted with it reach no database.
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

// Test seams.
// Replaces the millisecond clock and the sleep of the loop; a null function restores the real one.
void SetTimeSourceForTesting(std::function<uint32_t()> now, std::function<void(unsigned long)> sleep);
// false: tear-down keeps the singleton list, the label table and the random streams, which other
// tests of the same process still use. true (the default) releases them.
void SetProcessReleaseForTesting(bool release);
// Deletes every mode on the stack or in the queue (no Destroy), forgets the quit handlers and puts
// the quit flag, the context mode and the last mouse position back to their starting values.
void ResetForTesting();
// A mouse-move event as the platform delivers it (the pointer's position kept, the top mode told), for
// a mode driven without a platform: tests, the screenshot tools, benchmarks.
void MoveMouseForTesting(const Vector2<int>& position);

} // namespace MainLoop
} // namespace Strata

#pragma once

// The one way a game chains its steps: tasks appended, in one frame, to the serial queues of the
// objects and nodes that play them, which wait for one another with Meet and run the game's own steps
// with QueueCall.

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace Strata
{
class Object;
class Task;
} // namespace Strata

namespace Yardcrew
{

// Appends a one-shot call to the object's serial queue. The call runs in the task's first update and
// the task then counts the whole step as used, so what follows starts in the next update. An empty
// call completes without doing anything.
void QueueCall(Strata::Object& chain, std::function<void()> call);
// The same call as a task of its own, for a composite task that takes one.
std::unique_ptr<Strata::Task> CallTask(std::function<void()> call);
// A one-shot task that plays the effect (the audio manager's effects).
std::unique_ptr<Strata::Task> PlayEffectTask(const char* sound);
// A task that starts the node's animation of that name and completes at once.
std::unique_ptr<Strata::Task> StartAnimationTask(const char* animation);
// A task that starts the node's animation of that name and completes when it has played (its plays are
// used up, its linked animation or another one has taken over), so what follows waits for its end.
std::unique_ptr<Strata::Task> PlayAnimationTask(const char* animation);

// Appends one wait on a fresh cue point to each chain: none goes on before all have arrived, then all
// go on in the same frame. Null chains and a single chain have nothing to wait for.
void Meet(std::initializer_list<Strata::Object*> chains);
// The same for a number of chains known only when the game runs.
void Meet(const std::vector<Strata::Object*>& chains);

} // namespace Yardcrew

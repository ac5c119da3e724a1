#pragma once

// Builds a sequence: chains of tasks appended, in one frame, to the serial queues of several objects
// and nodes, which can wait for one another at cue points.

#include <functional>
#include <initializer_list>
#include <vector>

namespace Strata
{
class Object;
class SceneNode;
class Task;
} // namespace Strata

namespace Yardcrew
{

// Appends a one-shot call to the object's serial queue.
void QueueCall(Strata::Object& chain, std::function<void()> call);
// A one-shot task that plays the effect (the audio manager's effects).
Strata::Task* PlayEffectTask(const char* sound);
// A task that starts the node's animation of that name and completes at once.
Strata::Task* StartAnimationTask(const char* animation);

// Appends one wait on a fresh cue point to each chain: none goes on before all have arrived, then all
// go on in the same frame. Null chains and a single chain have nothing to wait for.
void Meet(std::initializer_list<Strata::Object*> chains);

class MiniGameSequence
{
public:
    // Appends the task (owned by the object from now on) to the object's chain. A null task is ignored.
    MiniGameSequence& Then(Strata::Object& object, Strata::Task* task);
    // Appends a one-shot call to the object's chain.
    MiniGameSequence& Call(Strata::Object& object, std::function<void()> call);
    // Every chain of this sequence waits at one fresh cue point until all have reached it, then all go
    // on in the same frame. A sequence of fewer than two chains has nothing to wait for.
    MiniGameSequence& Sync();
    // Shows or hides a node at this point of its chain.
    MiniGameSequence& Show(Strata::SceneNode& node, bool visible);

private:
    void Join(Strata::Object& object);

    std::vector<Strata::Object*> mChains;
};

// An input mask is a node over the playfield that swallows every click while shown. Raising and lowering
// it as a step of a chain keeps the playfield closed exactly while the chain plays.
inline MiniGameSequence& MaskInput(MiniGameSequence& sequence, Strata::SceneNode& mask, bool masked)
{
    return sequence.Show(mask, masked);
}

} // namespace Yardcrew

#pragma once

namespace Strata
{

class IRandomNumberStream
{
public:
    virtual unsigned int GetRandomSeed() = 0;
    // Uniform in 0 to 2,147,483,647.
    virtual int GetInt() = 0;
    // Uniform in [0, 1).
    virtual float GetFloat() = 0;
    virtual ~IRandomNumberStream() = default;
};

namespace Random
{
// Creates streams 0, 1 and 2 seeded from the calendar time (or the seed override) and makes 0 current.
// A second call replaces the streams of the first.
void Engine_Setup();
// Deletes the streams and empties the table and the stack.
void Engine_Destroy();

// Test seam: every stream made by Engine_Setup takes this seed until it is cleared.
void SetSeedOverride(unsigned int seed);
void ClearSeedOverride();

IRandomNumberStream* CreateNewStream(unsigned int seed); // caller owns it
IRandomNumberStream* GetNamedStream(int number);         // null when no such stream
IRandomNumberStream* GetCurrentStream();                 // null before Engine_Setup
// Makes a stream (not owned; a null one is ignored) current until it is popped.
void PushStream(IRandomNumberStream* stream);
// Returns to the previous current stream; does nothing when the stack is empty.
void PopStream();

// Draw from the current stream's GetFloat.
int GetIntRange(int n);             // 0 to n inclusive
int GetIntRange(int low, int high); // low to high inclusive
float GetFloatRange(float x);       // [0, x)
float GetFloatRange(float low, float high);
bool GetCoinFlip();
} // namespace Random

} // namespace Strata

#include <cstdio>

int main()
{
    std::puts("Menagerie: the engine's core builds; the game itself is not playable yet.");
    return 0;
}

#include "framework/FrameHooks.h"

#include <algorithm>
#include <vector>

namespace Strata
{

namespace
{
sFrameHooks gHooks;

// Built on first use: static initialisers of other files add to it.
std::vector<void (*)()>& Registrars()
{
    static std::vector<void (*)()> registrars;
    return registrars;
}
} // namespace

void InstallFrameHooks(const sFrameHooks& hooks)
{
    gHooks = hooks;
}

const sFrameHooks& GetFrameHooks()
{
    return gHooks;
}

void AddFactoryRegistrar(void (*registrar)())
{
    std::vector<void (*)()>& registrars = Registrars();
    if (registrar != nullptr && std::find(registrars.begin(), registrars.end(), registrar) == registrars.end())
        registrars.push_back(registrar);
}

void RunFactoryRegistrars()
{
    // By index: a registrar may add another, which then runs too.
    for (size_t i = 0; i < Registrars().size(); ++i)
        Registrars()[i]();
}

} // namespace Strata

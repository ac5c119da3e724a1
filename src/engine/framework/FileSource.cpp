#include "framework/FileSource.h"

#include "framework/DefaultFileSource.h"

#include <atomic>

namespace Strata
{

namespace
{
constinit std::atomic<IFileSource*> gFileSource{nullptr};
} // namespace

IFileSource* GetFileSource()
{
    return gFileSource.load();
}

void RegisterSingleton(IFileSource* fileSource)
{
    gFileSource.store(fileSource);
}

bool IsFileSourceRegistered()
{
    return gFileSource.load() != nullptr;
}

IStreamable* GetStreamableFileSource()
{
    return dynamic_cast<IStreamable*>(gFileSource.load());
}

IFileSource* CreateDefaultFileSource()
{
    return new FileSource();
}

namespace Internal
{
void ClearFileSourceSlot(IFileSource* fileSource)
{
    IFileSource* expected = fileSource;
    gFileSource.compare_exchange_strong(expected, nullptr);
}
} // namespace Internal

} // namespace Strata

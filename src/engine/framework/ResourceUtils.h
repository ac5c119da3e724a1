#pragma once

namespace Strata
{

class IResourceLoadProgress;

namespace ResourceUtils
{

// Reloads a manifest in place from its file, keeping its load count: every resource it made is
// removed, then the file is read once and the count restored (a manifest that was not loaded ends
// loaded once). When the file cannot be opened the manifest stays unloaded. Errors while reading
// (see ResourceManager::LoadFromStream) are thrown after the manifest has been unloaded.
// With `lockFileSystem` the file system's lock is held for the whole call.
void Reload(const wchar_t* manifest, IResourceLoadProgress* progress = nullptr, bool lockFileSystem = false);

} // namespace ResourceUtils
} // namespace Strata

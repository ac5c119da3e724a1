#pragma once

// The committed data/ read through the engine's own loaders, without a window or a sound card: what the
// screenshot tools and the level player of the tests and fuzz targets start from.

#include "core/FileSystem.h"
#include "core/Random.h"
#include "core/Singleton.h"
#include "framework/FileSource.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/LevelManager.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/StrataExtensions.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>

namespace GameShots
{

using namespace Strata;

// The data folder's manifests loaded, with the game's level reader under its tag, a fixed random seed
// and the instruction pop-up left out of the pictures. Tear down with the session.
class Session
{
public:
    Session(const char* tool, const std::filesystem::path& data, const wchar_t* levelTag, IResourceFactory* levels,
            std::initializer_list<const wchar_t*> manifests)
    {
        auto* fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources,
                                           new Linux::FileSystemPartition(data.string()));
        mFiles.reset(CreateDefaultFileSource());
        RegisterSingleton(mFiles.get());
        ResourceManager* manager = GetResourceManager();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        RegisterFontResourceFactory();
        CreateConstantResourceFactories();
        SetupStrataExtensions();
        manager->AddResourceFactory(levelTag, levels);
        for (const wchar_t* manifest : manifests)
        {
            if (manager->Load(manifest)->GetStatus() != eLoadingJobStatus::Complete)
            {
                std::fprintf(stderr, "%s: manifest %ls did not load\n", tool, manifest);
                mLoaded = false;
            }
        }
        Random::SetSeedOverride(3);
        Random::Engine_Setup();
        Yardcrew::GetLevelManager().setModeQueue(
            {[](std::unique_ptr<ApplicationMode>) {}, [](std::unique_ptr<ApplicationMode>) {}, [] {}});
    }
    ~Session()
    {
        Random::Engine_Destroy();
        GetResourceManager()->Cleanup();
        mFiles.reset();
        Internal::DeleteAllSingletons();
    }

    bool IsLoaded() const { return mLoaded; }

private:
    std::unique_ptr<IFileSource> mFiles;
    bool mLoaded = true;
};

} // namespace GameShots

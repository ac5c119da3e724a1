#include "platform/linux/LinuxPlatform.h"

#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/WideString.h"
#include "framework/Application.h"
#include "platform/linux/FileSystemPartition.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace Linux
{

namespace
{

// How far above the program's folder a "data" folder is looked for: enough to reach the source tree
// from a program in <source>/build/<dir>/src/game.
constexpr int kDataSearchLevels = 4;

std::string GetEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string FindHomeFolder()
{
    std::string home = GetEnvironment("HOME");
    if (!home.empty())
        return home;
    // No HOME (a service, a stripped environment): ask the password database.
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return std::string();
}

} // namespace

std::string Platform::FindProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty())
        return std::string();
    return program.parent_path().string();
}

std::string Platform::FindDataFolder(const std::string& programFolder)
{
    const std::string fromEnvironment = GetEnvironment("STRATA_DATA_DIR");
    if (!fromEnvironment.empty())
        return fromEnvironment;
    for (const std::string& candidate : ListDataFolderCandidates(programFolder))
        if (HoldsGameData(candidate))
            return candidate;
    return std::string();
}

std::vector<std::string> Platform::ListDataFolderCandidates(const std::string& programFolder)
{
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    return ListDataFolderCandidates(programFolder, STRATA_SOURCE_DATA_DIR, error ? std::string() : working.string());
}

std::vector<std::string> Platform::ListDataFolderCandidates(const std::string& programFolder,
                                                            const std::string& sourceDataFolder,
                                                            const std::string& workingFolder)
{
    std::vector<std::string> candidates;
    const auto add = [&candidates](const std::filesystem::path& folder)
    {
        const std::string path = folder.lexically_normal().string();
        if (std::find(candidates.begin(), candidates.end(), path) == candidates.end())
            candidates.push_back(path);
    };
    if (!programFolder.empty())
    {
        const std::filesystem::path program(programFolder);
        add(program / ".." / "share" / "menagerie" / "data");
        std::filesystem::path folder = program;
        for (int level = 0; level <= kDataSearchLevels; ++level)
        {
            add(folder / "data");
            if (!folder.has_relative_path())
                break; // reached the root
            folder = folder.parent_path();
        }
    }
    if (!sourceDataFolder.empty())
        add(sourceDataFolder);
    if (!workingFolder.empty())
        add(std::filesystem::path(workingFolder) / "data");
    return candidates;
}

bool Platform::HoldsGameData(const std::string& folder)
{
    std::error_code error;
    return !folder.empty() && std::filesystem::is_regular_file(std::filesystem::path(folder) / "Loading.xml", error);
}

std::string Platform::MakeFolderName(const std::wstring& name)
{
    std::wstring safe = name;
    for (wchar_t& c : safe)
        if (c == L'/' || c == L'\\' || c < 0x20 || c == 0x7f)
            c = L'_';
    if (safe.empty() || safe == L"." || safe == L"..")
        safe = L"_";
    const auto bytes = Strata::ConvertStringWideToUTF8(safe.c_str());
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get())) : std::string("_");
}

std::string Platform::FindUserFolder(const std::wstring& company, const std::wstring& product)
{
    std::filesystem::path base;
    const std::string dataHome = GetEnvironment("XDG_DATA_HOME");
    // Relative values are invalid and must be ignored.
    if (!dataHome.empty() && dataHome[0] == '/')
        base = dataHome;
    else
    {
        const std::string home = FindHomeFolder();
        if (home.empty())
            return std::string();
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return (base / MakeFolderName(company) / MakeFolderName(product)).string();
}

void Platform::Setup()
{
    const Strata::IApplication* application = Strata::GetApplication();
    if (application == nullptr)
        STRATA_THROW(Strata::RuntimeError, "Linux::Platform::Setup: no application names the user folder.");
    const Strata::sApplicationDescriptor& descriptor = application->GetDescriptor();

    const std::string programFolder = FindProgramFolder();
    if (programFolder.empty())
        STRATA_THROW(Strata::RuntimeError, "Linux::Platform::Setup: could not read the program's folder.");
    const std::wstring company = descriptor.companyName != nullptr ? descriptor.companyName : L"";
    const std::wstring product = descriptor.productName != nullptr ? descriptor.productName : L"";
    const std::string userFolder = FindUserFolder(company, product);
    if (userFolder.empty())
        STRATA_THROW(Strata::RuntimeError, "Linux::Platform::Setup: no home folder for the user's files.");

    std::string dataFolder = FindDataFolder(programFolder);
    if (dataFolder.empty())
    {
        dataFolder = programFolder + "/data";
        Strata::Internal::LogWrite("No data folder found; looking in %s\n", dataFolder.c_str());
    }
    std::error_code error;
    std::filesystem::create_directories(userFolder, error);
    if (error)
        Strata::Internal::LogWrite("Could not create the folder %s: %s\n", userFolder.c_str(), error.message().c_str());

    auto* fileSystem = new Strata::FileSystem();
    fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_Program, new FileSystemPartition(programFolder));
    fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_Resources, new FileSystemPartition(dataFolder));
    fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User, new FileSystemPartition(userFolder));

    mProgramFolder = programFolder;
    mDataFolder = dataFolder;
    mUserFolder = userFolder;
}

} // namespace Linux

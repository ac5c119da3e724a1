#include "platform/linux/FileSystemPartition.h"

#include "core/FileAddress.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/WideString.h"
#include "platform/linux/FileStream.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace Linux
{

namespace
{

constexpr mode_t NewFolderMode = 0755;

// What makes a folder's index stale: its entries changing, or the folder itself going away.
constexpr uint32_t kWatchedChanges =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::string ToUTF8(const wchar_t* text)
{
    if (text == nullptr)
        return std::string();
    const auto bytes = Strata::ConvertStringWideToUTF8(text);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get())) : std::string();
}

std::wstring ToWide(const std::string& text)
{
    return Strata::ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(text.c_str()));
}

// Bytes of UTF-8 above 0x7F are left alone, so only ASCII letters change.
std::string ToUpper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(Strata::AsciiToUpper(static_cast<unsigned char>(c)));
    return result;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "/" + name;
}

// The folder's components below the root; "", "." and a null folder are the root itself.
// False for a folder that could leave the root.
bool SplitFolder(const wchar_t* folder, std::vector<std::string>& components)
{
    components.clear();
    const std::string text = ToUTF8(folder);
    if (!text.empty() && text[0] == '/')
        return false;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string component = text.substr(start, end - start);
        if (component == "..")
            return false;
        if (!component.empty() && component != ".")
            components.push_back(component);
        start = end + 1;
    }
    return true;
}

// The host file name of name and extension; false when it could name a folder or another folder's file.
bool MakeFileName(const Strata::FileAddress* address, std::string& fileName)
{
    if (address->GetName() == nullptr || address->GetExtension() == nullptr)
        return false;
    fileName = ToUTF8(address->GetName()) + ToUTF8(address->GetExtension());
    return !fileName.empty() && fileName != "." && fileName != ".." && fileName.find('/') == std::string::npos;
}

void LogRefused(const Strata::FileAddress* address)
{
    Strata::Internal::LogWrite("Linux::FileSystemPartition refused the file address \"%s\" \"%s%s\"\n",
                               ToUTF8(address->GetFolder()).c_str(), ToUTF8(address->GetName()).c_str(),
                               ToUTF8(address->GetExtension()).c_str());
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Strata::AsciiToUpper(static_cast<unsigned char>(a[i])) !=
            Strata::AsciiToUpper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// mkdir -p: every missing folder of the path is made. False when the last one is not a folder afterwards.
bool MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), NewFolderMode);
    ::mkdir(path.c_str(), NewFolderMode);
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

FileSystemPartition::FileSystemPartition(const std::string& rootFolder)
{
    // Trailing slashes are dropped (but "/" stays "/"); an empty root is the current folder.
    size_t end = rootFolder.find_last_not_of('/');
    if (rootFolder.empty())
        mRoot.assign(1, '.');
    else if (end == std::string::npos)
        mRoot.assign(1, '/');
    else
        mRoot.assign(rootFolder, 0, end + 1);
    // Without notification every miss reads the indexed folders again, as if none had a watch.
    mNotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

FileSystemPartition::~FileSystemPartition()
{
    if (mNotify >= 0)
        ::close(mNotify);
}

void FileSystemPartition::Lock()
{
    mMutex.lock();
}

void FileSystemPartition::Unlock()
{
    mMutex.unlock();
}

std::string FileSystemPartition::HostPath(const std::string& folder) const
{
    if (folder.empty())
        return mRoot;
    return mRoot == "/" ? mRoot + folder : mRoot + "/" + folder;
}

std::string FileSystemPartition::HostPath(const std::string& folder, const std::string& name) const
{
    const std::string base = HostPath(folder);
    return base == "/" ? base + name : base + "/" + name;
}

FileSystemPartition::FolderIndex* FileSystemPartition::Load(const std::string& folder)
{
    if (!mBuildingTreeNames)
        mTreeNamesValid = false;
    mIndex.erase(folder);
    DIR* directory = ::opendir(HostPath(folder).c_str());
    if (directory == nullptr)
        return nullptr;
    FolderIndex index;
    // Watched through the open folder before its entries are read: a change made while they are read,
    // or a rename of the path meanwhile, is reported against the folder that was read.
    if (mNotify >= 0)
    {
        const std::string opened = "/proc/self/fd/" + std::to_string(::dirfd(directory));
        index.watch = ::inotify_add_watch(mNotify, opened.c_str(), kWatchedChanges);
    }
    struct stat info = {};
    if (::fstat(::dirfd(directory), &info) == 0)
    {
        index.device = info.st_dev;
        index.inode = info.st_ino;
    }
    while (const dirent* entry = ::readdir(directory))
    {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isFile = entry->d_type == DT_REG;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
        {
            // Links count as what they point at.
            struct stat target = {};
            if (::fstatat(::dirfd(directory), entry->d_name, &target, 0) != 0)
                continue;
            isFile = S_ISREG(target.st_mode);
            isFolder = S_ISDIR(target.st_mode);
        }
        // Of two names that differ only in case, the smaller one answers case-insensitive lookups.
        if (isFile)
        {
            index.files.insert(name);
            auto [it, added] = index.fileByUpper.emplace(ToUpper(name), name);
            if (!added && name < it->second)
                it->second = name;
        }
        else if (isFolder)
        {
            index.folders.insert(name);
            auto [it, added] = index.folderByUpper.emplace(ToUpper(name), name);
            if (!added && name < it->second)
                it->second = name;
        }
    }
    ::closedir(directory);
    return &mIndex.emplace(folder, std::move(index)).first->second;
}

FileSystemPartition::FolderIndex* FileSystemPartition::Get(const std::string& folder)
{
    const auto it = mIndex.find(folder);
    return it != mIndex.end() ? &it->second : Load(folder);
}

bool FileSystemPartition::LookUp(const std::string& folder, const std::string& name, bool wantFolder,
                                 std::string& realName)
{
    const auto match = [&](const FolderIndex* index)
    {
        if (index == nullptr)
            return false;
        const std::set<std::string>& names = wantFolder ? index->folders : index->files;
        if (names.count(name) != 0)
        {
            realName = name;
            return true;
        }
        const std::map<std::string, std::string>& byUpper = wantFolder ? index->folderByUpper : index->fileByUpper;
        const auto it = byUpper.find(ToUpper(name));
        if (it == byUpper.end())
            return false;
        realName = it->second;
        return true;
    };
    const bool cached = mIndex.count(folder) != 0;
    if (match(Get(folder)))
        return true;
    if (!cached)
        return false;
    // A miss in an index read earlier may only mean the folder has changed since.
    ForgetChanged(true);
    return mIndex.count(folder) == 0 && match(Get(folder));
}

bool FileSystemPartition::ResolveFolder(const std::vector<std::string>& components, bool create, std::string& folder)
{
    folder.clear();
    for (size_t i = 0; i < components.size(); ++i)
    {
        std::string realName;
        if (LookUp(folder, components[i], true, realName))
        {
            folder = Join(folder, realName);
            continue;
        }
        if (!create)
            return false;
        // The rest is missing: make it with the address's spelling.
        const std::string parent = folder;
        for (size_t j = i; j < components.size(); ++j)
            folder = Join(folder, components[j]);
        Forget(parent);
        return MakeFolders(HostPath(folder));
    }
    if (create && components.empty() && Get(folder) == nullptr)
        return MakeFolders(mRoot);
    return true;
}

void FileSystemPartition::Forget(const std::string& folder)
{
    mTreeNamesValid = false;
    mIndex.erase(folder);
}

void FileSystemPartition::ForgetTree(const std::string& folder)
{
    mTreeNamesValid = false;
    if (folder.empty())
    {
        mIndex.clear();
        return;
    }
    mIndex.erase(folder);
    // A folder's path below it now leads wherever the changed folder leads.
    const std::string prefix = folder + "/";
    auto it = mIndex.lower_bound(prefix);
    while (it != mIndex.end() && it->first.compare(0, prefix.size(), prefix) == 0)
        it = mIndex.erase(it);
}

bool FileSystemPartition::ForgetChanged(bool unwatched)
{
    std::set<int> changed;
    bool everything = false;
    if (mNotify >= 0)
    {
        alignas(inotify_event) char buffer[4096];
        for (;;)
        {
            const ssize_t length = ::read(mNotify, buffer, sizeof(buffer));
            if (length < 0 && errno == EINTR)
                continue;
            if (length < 0)
            {
                // EAGAIN is the usual end; any other failure may have lost events.
                everything = errno != EAGAIN;
                break;
            }
            for (ssize_t at = 0; at < length;)
            {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_Q_OVERFLOW) != 0)
                    everything = true;
                changed.insert(event->wd);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
    if (everything)
    {
        const bool any = !mIndex.empty();
        mTreeNamesValid = false;
        mIndex.clear();
        return any;
    }
    std::vector<std::string> stale;
    for (const auto& [folder, index] : mIndex)
        if ((unwatched && index.watch < 0) || changed.count(index.watch) != 0)
            stale.push_back(folder);
    for (const std::string& folder : stale)
        ForgetTree(folder);
    return !stale.empty();
}

bool FileSystemPartition::SearchTree(const std::string& name, std::string& foundFolder)
{
    if (!mTreeNamesValid)
        BuildTreeNames();
    const auto found = mTreeNames.find(ToUpper(name));
    if (found == mTreeNames.end())
        return false;
    foundFolder = found->second;
    return true;
}

void FileSystemPartition::BuildTreeNames()
{
    mTreeNames.clear();
    mTreeNamesValid = false;
    struct BuildingFlag
    {
        bool& flag;
        explicit BuildingFlag(bool& building) : flag(building) { flag = true; }
        ~BuildingFlag() { flag = false; }
    } building(mBuildingTreeNames);
    // Depth first, each folder before its sub-folders, sub-folders in name order: the first folder
    // recorded for a name is the one a folder-by-folder search would meet first. A folder reached twice
    // through links is walked once, so link cycles end.
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<std::string> pending{std::string()};
    while (!pending.empty())
    {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const FolderIndex* index = Get(folder);
        if (index == nullptr || !visited.emplace(index->device, index->inode).second)
            continue;
        for (const auto& [upper, realName] : index->fileByUpper)
            mTreeNames.emplace(upper, folder);
        for (auto it = index->folders.rbegin(); it != index->folders.rend(); ++it)
            pending.push_back(Join(folder, *it));
    }
    mTreeNamesValid = true;
}

Strata::IStream* FileSystemPartition::OpenStream(const Strata::FileAddress* address, Strata::FileAccess access,
                                                 Strata::FileCreation creation)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (address == nullptr)
        return nullptr;
    if (access < Strata::FileAccess_Read || access > Strata::FileAccess_ReadWrite ||
        creation < Strata::FileCreation_CreateAlways || creation > Strata::FileCreation_OpenExisting)
        return nullptr;
    std::vector<std::string> components;
    std::string fileName;
    if (!SplitFolder(address->GetFolder(), components) || !MakeFileName(address, fileName))
    {
        LogRefused(address);
        return nullptr;
    }

    const bool mayCreate = (access & Strata::FileAccess_Write) != 0 && creation != Strata::FileCreation_OpenExisting;
    std::string folder;
    if (!ResolveFolder(components, mayCreate, folder))
        return nullptr;

    std::string realName;
    const bool exists = LookUp(folder, fileName, false, realName);
    if (!exists)
    {
        if (creation == Strata::FileCreation_OpenExisting)
            return nullptr;
        realName = fileName;
    }

    Strata::IStream* stream = nullptr;
    try
    {
        stream = new FileStream(HostPath(folder, realName), access, creation);
    }
    catch (const Strata::RuntimeError&)
    {
        return nullptr;
    }
    if (!exists)
        Forget(folder);
    return stream;
}

bool FileSystemPartition::FindFile(Strata::FileAddress* address)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (address == nullptr)
        return false;
    std::vector<std::string> components;
    std::string fileName;
    if (!SplitFolder(address->GetFolder(), components) || !MakeFileName(address, fileName))
    {
        LogRefused(address);
        return false;
    }

    if (address->GetFolder() != nullptr)
    {
        std::string folder;
        std::string realName;
        return ResolveFolder(components, false, folder) && LookUp(folder, fileName, false, realName);
    }

    // A hit in a folder moved away since it was read would name a folder the file is no longer in.
    ForgetChanged(false);
    std::string found;
    bool present = SearchTree(fileName, found);
    if (!present && ForgetChanged(true))
        present = SearchTree(fileName, found);
    if (!present)
        return false;
    try
    {
        address->SetFolder(found.empty() ? L"." : ToWide(found).c_str());
    }
    catch (const Strata::RuntimeError&)
    {
        Strata::Internal::LogWrite("Linux::FileSystemPartition found \"%s\" in \"%s\", a folder too long to keep\n",
                                   fileName.c_str(), found.c_str());
        return false;
    }
    return true;
}

bool FileSystemPartition::FindFiles(const Strata::FileAddress* pattern, std::vector<Strata::FileAddress>& out)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (pattern == nullptr)
        return false;
    std::vector<std::string> components;
    const std::string extension = ToUTF8(pattern->GetExtension());
    if (!SplitFolder(pattern->GetFolder(), components) || extension.find('/') != std::string::npos)
    {
        LogRefused(pattern);
        return false;
    }
    std::string folder;
    if (!ResolveFolder(components, false, folder))
        return false;
    // A listing is always read afresh: accounts and downloads appear while the game runs.
    const FolderIndex* index = Load(folder);
    if (index == nullptr)
        return false;

    bool found = false;
    for (const std::string& fileName : index->files)
    {
        const size_t dot = fileName.find('.');
        const std::string fileExtension = dot == std::string::npos ? std::string() : fileName.substr(dot);
        if (!EqualsIgnoringAsciiCase(fileExtension, extension))
            continue;
        const std::string name = fileName.substr(0, dot);
        try
        {
            out.emplace_back(pattern->GetPartition(), pattern->GetFolder(), ToWide(name).c_str(),
                             ToWide(fileExtension).c_str());
            found = true;
        }
        catch (const Strata::RuntimeError&)
        {
            Strata::Internal::LogWrite("Linux::FileSystemPartition skipped \"%s\": the name is too long to keep\n",
                                       fileName.c_str());
        }
    }
    return found;
}

void FileSystemPartition::DeleteFile(const Strata::FileAddress* address)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (address == nullptr)
        return;
    std::vector<std::string> components;
    std::string fileName;
    if (!SplitFolder(address->GetFolder(), components) || !MakeFileName(address, fileName))
    {
        LogRefused(address);
        return;
    }
    std::string folder;
    std::string realName;
    if (!ResolveFolder(components, false, folder) || !LookUp(folder, fileName, false, realName))
        return;
    ::unlink(HostPath(folder, realName).c_str());
    Forget(folder);
}

bool FileSystemPartition::RenameFile(const Strata::FileAddress* from, const Strata::FileAddress* to)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (from == nullptr || to == nullptr)
        return false;
    std::vector<std::string> fromComponents, toComponents;
    std::string fromName, toName;
    if (!SplitFolder(from->GetFolder(), fromComponents) || !MakeFileName(from, fromName) ||
        !SplitFolder(to->GetFolder(), toComponents) || !MakeFileName(to, toName))
    {
        LogRefused(from->GetName() ? from : to);
        return false;
    }
    std::string fromFolder, fromReal, toFolder, toReal;
    if (!ResolveFolder(fromComponents, false, fromFolder) || !LookUp(fromFolder, fromName, false, fromReal))
        return false;
    if (!ResolveFolder(toComponents, true, toFolder))
        return false;
    // An existing target under another letter case is the file replaced.
    if (!LookUp(toFolder, toName, false, toReal))
        toReal = toName;
    const bool moved = ::rename(HostPath(fromFolder, fromReal).c_str(), HostPath(toFolder, toReal).c_str()) == 0;
    Forget(fromFolder);
    Forget(toFolder);
    if (!moved)
        return false;
    // The rename itself reaches the disk with its folder.
    const int folder = ::open(HostPath(toFolder).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

} // namespace Linux

#pragma once

#include "core/FileSystemTypes.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace Linux
{

// A partition back end rooted at a host folder. Names are looked up ignoring ASCII letter case through
// a per-folder index of the directory entries. Each indexed folder is watched with inotify; before a
// lookup misses (and before a search), the folders changed since they were read (and those below
// them) are read again, so files written, moved or removed by anyone after the index was built are
// seen. A folder that cannot be watched
// is read again on every miss. A search by name alone answers from a name index of the whole tree,
// built by one walk of the folders and dropped whenever any folder's index is read again or forgotten. Folders with a
// ".." component or a leading '/', and names or extensions holding '/', are refused (null or false, and one log line).
class FileSystemPartition final : public Strata::IFileSystemPartition
{
public:
    // An empty root means the current folder. The root need not exist yet: writing creates it.
    explicit FileSystemPartition(const std::string& rootFolder);
    ~FileSystemPartition() override;
    FileSystemPartition(const FileSystemPartition&) = delete;
    FileSystemPartition& operator=(const FileSystemPartition&) = delete;

    // Opens <root>/<folder>/<name><extension>; an address without a folder names the root. An existing
    // file is found whatever its letter case and is the one opened (or overwritten); a new file takes the
    // address's spelling. Writing forms that may create the file also create missing parent folders.
    // Null when the address is refused, the access or creation is unknown, or the file cannot be opened.
    Strata::IStream* OpenStream(const Strata::FileAddress* address, Strata::FileAccess access,
                                Strata::FileCreation creation) override;
    void Lock() override;
    void Unlock() override;
    // With a folder: true when that folder holds the file. Without one: searches the root and then every
    // folder below it, depth first in name order, and writes the folder where the file is into the
    // address ("." for the root). False when absent, refused, or the folder does not fit the address.
    bool FindFile(Strata::FileAddress* address) override;
    // Appends, sorted by name, every regular file directly in the pattern's folder whose extension, taken
    // from the first '.' of its name, equals the pattern's extension ignoring ASCII case; the pattern's
    // name is not used. True when it appended any; false when refused or the folder is missing.
    bool FindFiles(const Strata::FileAddress* pattern, std::vector<Strata::FileAddress>& out) override;
    // Removes the file (found whatever its letter case); a missing or refused file is no error.
    void DeleteFile(const Strata::FileAddress* address) override;
    bool RenameFile(const Strata::FileAddress* from, const Strata::FileAddress* to) override;

private:
    // What one host folder holds, by real name.
    struct FolderIndex
    {
        std::map<std::string, std::string> fileByUpper;
        std::map<std::string, std::string> folderByUpper;
        std::set<std::string> files;
        std::set<std::string> folders;
        dev_t device = 0;
        ino_t inode = 0;
        // The inotify watch on the folder; -1 when it has none.
        int watch = -1;
    };

    std::string HostPath(const std::string& folder) const;
    std::string HostPath(const std::string& folder, const std::string& name) const;
    FolderIndex* Load(const std::string& folder);
    FolderIndex* Get(const std::string& folder);
    bool LookUp(const std::string& folder, const std::string& name, bool wantFolder, std::string& realName);
    bool ResolveFolder(const std::vector<std::string>& components, bool create, std::string& folder);
    bool SearchTree(const std::string& name, std::string& foundFolder);
    // Walks the tree in search order and records, for every file name (upper-cased), the first folder
    // that holds it.
    void BuildTreeNames();
    void Forget(const std::string& folder);
    // Forgets the folder and every folder indexed below it.
    void ForgetTree(const std::string& folder);
    // Forgets the indexed folders that have changed since they were read, as pending change events
    // name them, with what lies below them; with `unwatched` also every folder without a watch, which
    // may have changed unseen. True when it forgot any.
    bool ForgetChanged(bool unwatched);

    std::string mRoot;
    std::recursive_mutex mMutex;
    // Keyed by the folder's real path below the root ("" is the root itself).
    std::map<std::string, FolderIndex> mIndex;
    // Upper-cased file name -> the folder a search finds it in first; valid only while mTreeNamesValid.
    std::unordered_map<std::string, std::string> mTreeNames;
    bool mTreeNamesValid = false;
    // True while BuildTreeNames walks the tree: the folders it reads do not drop what it builds.
    bool mBuildingTreeNames = false;
    // The inotify instance the folders' watches belong to; -1 when none could be made.
    int mNotify = -1;
};

} // namespace Linux

#pragma once

#include <string>
#include <vector>

namespace Linux
{

// The program's files on the host: partition 0 the executable's folder, partition 1 the game's data,
// partition 2 the player's folder under $XDG_DATA_HOME. The application platform builds on it.
class Platform
{
public:
    Platform() = default;
    virtual ~Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // Creates the file system and mounts the three partitions; the user folder is made when missing.
    // Throws RuntimeError, mounting nothing, when no application is recorded (its descriptor names the
    // user folder), when the executable's folder cannot be read, or when no user data folder can be
    // named (neither XDG_DATA_HOME nor a home folder). A data folder that cannot be found, or a user
    // folder that cannot be made, is logged and mounted anyway: reads there then find nothing and
    // writes fail, each reported where it happens.
    void Setup();

    // The folders Setup mounted; empty before it ran.
    const std::string& GetProgramFolder() const { return mProgramFolder; }
    const std::string& GetDataFolder() const { return mDataFolder; }
    const std::string& GetUserFolder() const { return mUserFolder; }

    // The folder holding the running executable (from /proc/self/exe); empty when it cannot be read.
    static std::string FindProgramFolder();
    // The game's data: $STRATA_DATA_DIR when set, as it is; else the first of the data folder
    // candidates that holds game data. Empty when none is found.
    static std::string FindDataFolder(const std::string& programFolder);
    // Where the game's data may be, nearest first: <program>/../share/menagerie/data (installed); "data"
    // in the program's folder and its four nearest parents; the data folder of the source tree the
    // program was built from; "data" in the working folder.
    static std::vector<std::string> ListDataFolderCandidates(const std::string& programFolder);
    // The same with the source tree's data folder and the working folder given (each skipped when empty).
    static std::vector<std::string> ListDataFolderCandidates(const std::string& programFolder,
                                                             const std::string& sourceDataFolder,
                                                             const std::string& workingFolder);
    // True when the folder holds the file the engine reads first from the data, "Loading.xml": an
    // unrelated folder that happens to be called "data" is not taken for the game's.
    static bool HoldsGameData(const std::string& folder);
    // $XDG_DATA_HOME (when set and absolute, else ~/.local/share) / company / product, each name made
    // safe with MakeFolderName. Empty when there is no home folder to fall back on.
    static std::string FindUserFolder(const std::wstring& company, const std::wstring& product);
    // A name usable as one folder component: UTF-8, with '/', '\' and control characters replaced by
    // '_'; an empty name and the names "." and ".." become "_".
    static std::string MakeFolderName(const std::wstring& name);

private:
    std::string mProgramFolder;
    std::string mDataFolder;
    std::string mUserFolder;
};

} // namespace Linux

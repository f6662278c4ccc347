// Where the programs find Japan Post's file when their current folder has none. The library
// opens ken_all.csv in the current folder; morvane and orvek choose that folder before their
// first search, looking where the desktop launcher and the updaters put the file.
// A static library of its own: the programs link it, the shared library does not export it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvek_data {

// True when folder holds ken_all.csv or KEN_ALL.CSV as the library opens it: anything of that
// name but a folder. A device or a file that is not Japan Post's counts, so that the search in
// that folder refuses it and says why, instead of another folder being read in its place.
bool HasDataFile(const std::filesystem::path& folder);

// An environment variable's value; nothing when it is unset or empty.
using Environment = std::function<std::optional<std::filesystem::path>(const char* name)>;

// The folders looked in after the current one, in order. On Linux the person's own folder,
// $MORVANE_DATA_DIR or else $XDG_DATA_HOME/morvane (~/.local/share/morvane by default), then
// each folder of $XDG_DATA_DIRS (/usr/local/share:/usr/share by default) with /morvane; on
// Windows $MORVANE_DATA_DIR or else %LOCALAPPDATA%\Morvane, then program_folder. Relative
// folders in the XDG variables are passed over, as the XDG base directories say.
std::vector<std::filesystem::path> InstalledDataFolders(
    const Environment& environment, const std::filesystem::path& program_folder);

// The same for this process: its environment and the folder of its own program file.
std::vector<std::filesystem::path> InstalledDataFolders();

struct DataFolderChoice {
  std::optional<std::filesystem::path> folder;  // the one with the data file, now current
  std::vector<std::filesystem::path> tried;     // the current folder first, then installed
};

// Stays in the current folder when it has the data file and is none of installed; otherwise
// makes the first of installed that has one the current folder. Without any, the current
// folder stays.
DataFolderChoice ChooseDataFolder(const std::vector<std::filesystem::path>& installed);

// A folder's name for a message: UTF-8 on Windows, the file system's own bytes elsewhere.
std::string FolderText(const std::filesystem::path& folder);

}  // namespace orvek_data

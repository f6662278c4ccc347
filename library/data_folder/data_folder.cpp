#include "data_folder.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace orvek_data {
namespace {

// Anything there but a folder: whether it holds Japan Post's records is for the search to say,
// with the reason, rather than for the lookup to pass over in silence.
bool IsDataFile(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && fs::exists(status) && !fs::is_directory(status);
}

#ifdef _WIN32
std::optional<fs::path> ProcessVariable(const char* name) {
  const std::wstring wide_name(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = _wgetenv(wide_name.c_str());
  if (value == nullptr || *value == L'\0') return std::nullopt;
  return fs::path(value);
}

fs::path ProgramFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return fs::path(name).parent_path();
    }
    name.resize(name.size() * 2);
  }
}
#else
std::optional<fs::path> ProcessVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return fs::path(value);
}
#endif

}  // namespace

bool HasDataFile(const fs::path& folder) {
  return IsDataFile(folder / "ken_all.csv") || IsDataFile(folder / "KEN_ALL.CSV");
}

std::vector<fs::path> InstalledDataFolders(const Environment& environment,
                                           const fs::path& program_folder) {
  std::vector<fs::path> folders;
  const std::optional<fs::path> own = environment("MORVANE_DATA_DIR");
#ifdef _WIN32
  if (own) {
    folders.push_back(*own);
  } else if (const std::optional<fs::path> local = environment("LOCALAPPDATA")) {
    folders.push_back(*local / "Morvane");
  }
  if (!program_folder.empty()) folders.push_back(program_folder);
#else
  static_cast<void>(program_folder);
  const std::optional<fs::path> data_home = environment("XDG_DATA_HOME");
  const std::optional<fs::path> home = environment("HOME");
  if (own) {
    folders.push_back(*own);
  } else if (data_home && data_home->is_absolute()) {
    folders.push_back(*data_home / "morvane");
  } else if (home) {
    folders.push_back(*home / ".local/share/morvane");
  }
  const std::string data_dirs =
      environment("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share").string();
  for (std::size_t start = 0; start <= data_dirs.size();) {
    std::size_t end = data_dirs.find(':', start);
    if (end == std::string::npos) end = data_dirs.size();
    const fs::path folder = data_dirs.substr(start, end - start);
    if (folder.is_absolute()) folders.push_back(folder / "morvane");
    start = end + 1;
  }
#endif
  return folders;
}

std::vector<fs::path> InstalledDataFolders() {
#ifdef _WIN32
  return InstalledDataFolders(ProcessVariable, ProgramFolder());
#else
  return InstalledDataFolders(ProcessVariable, {});
#endif
}

DataFolderChoice ChooseDataFolder(const std::vector<fs::path>& installed) {
  DataFolderChoice choice;
  std::error_code error;
  const fs::path current = fs::current_path(error);
  choice.tried.push_back(error ? fs::path(".") : current);
  // A program started in one of the installed folders (double-clicked in the unpacked ZIP, in
  // its own folder) takes them in their order, so that the person's own copy still wins.
  const bool current_is_installed =
      std::any_of(installed.begin(), installed.end(), [](const fs::path& folder) {
        std::error_code same_error;
        return fs::equivalent(".", folder, same_error);
      });
  if (!current_is_installed && HasDataFile(".")) {
    choice.folder = choice.tried.front();
    return choice;
  }
  for (const fs::path& folder : installed) {
    choice.tried.push_back(folder);
    if (!HasDataFile(folder)) continue;
    fs::current_path(folder, error);
    if (error) continue;
    choice.folder = folder;
    return choice;
  }
  return choice;
}

std::string FolderText(const fs::path& folder) {
#ifdef _WIN32
  const std::u8string text = folder.u8string();
  return std::string(text.begin(), text.end());
#else
  return folder.string();
#endif
}

}  // namespace orvek_data

#include "installed_data.h"

#include "data_folder.h"

namespace orvek_cli {

bool UseInstalledDataFolder(std::string& message) {
  const orvek_data::DataFolderChoice choice =
      orvek_data::ChooseDataFolder(orvek_data::InstalledDataFolders());
  if (choice.folder) return true;
  message = "no ken_all.csv (or KEN_ALL.CSV) in the current folder or the data folders:";
  for (const auto& folder : choice.tried) message += "\n  " + orvek_data::FolderText(folder);
#ifdef _WIN32
  message +=
      "\nTo get Japan Post's file, run 郵便番号データの更新 from the Start menu "
      "(morvane-update-data.cmd)";
#else
  message += "\nTo get Japan Post's file, run morvane-update-data";
#endif
  if (choice.tried.size() > 1)
    message += ", which puts it in " + orvek_data::FolderText(choice.tried[1]);
  message += "; --data-dir names another folder that holds it.";
  return false;
}

}  // namespace orvek_cli

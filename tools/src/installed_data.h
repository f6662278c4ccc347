// The data folder when no --data-dir is given: the current one if it holds the data file, else
// the first installed folder that does (see orvek_data::InstalledDataFolders).
#pragma once

#include <string>

namespace orvek_cli {

// Makes the folder with the data file the current one; false, with a message that names the
// folders tried and how to get the file, when none has it.
bool UseInstalledDataFolder(std::string& message);

}  // namespace orvek_cli

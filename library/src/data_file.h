// Where the data file is found, and how a search reads it.
#pragma once

#include <cstddef>

namespace orvek::detail {

// Opens "ken_all.csv" in the current directory for reading; when no file of that name exists,
// "KEN_ALL.CSV", the name in Japan Post's archive. A file descriptor, or -1.
int OpenDataFile();

// read() that retries when interrupted. A read error counts as the end of the file.
std::size_t ReadSome(int fd, char* buffer, std::size_t size);

}  // namespace orvek::detail

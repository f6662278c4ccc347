// Where the data file is found, and how a search reads it.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace orvek::detail {

// Opens "ken_all.csv" in the current directory for reading; when there is no file of that
// name (nothing, or something that is not a file, such as a directory), "KEN_ALL.CSV", the
// name in Japan Post's archive. Only a regular file or a named pipe is a data file: anything
// else counts as a file that cannot be opened. A file descriptor, or -1.
int OpenDataFile();

// read() that retries when interrupted: the number of bytes read, 0 at the end of the file,
// -1 on a read error.
ssize_t ReadSome(int fd, char* buffer, std::size_t size);

// Lets the library's tests make reads fail; nullptr restores read(2).
using ReadFunction = ssize_t (*)(int fd, void* buffer, std::size_t size);
void SetReadFunctionForTesting(ReadFunction read);

}  // namespace orvek::detail

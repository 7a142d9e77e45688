// Opening a file for the loader, and standard input as a file, as both systems do it.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace nenga {

// Read access only, the file must exist, others may read but not write it meanwhile.
// Returns nullptr and sets error to a Win32 error code when the file cannot be opened
// (on POSIX, errno mapped: ENOENT 2; ENOTDIR, ENAMETOOLONG 3; EMFILE, ENFILE 4;
// EACCES, EPERM and a directory 5; any other errno with kPosixErrorFlag).
std::unique_ptr<ByteSource> OpenFileForReading(const PathString& file, int& error);

// Standard input read as a file, its bytes as they come; left open. StandardInput
// (platform/console.h) reads a console the console's way and this otherwise.
std::unique_ptr<ByteSource> StandardInputBytes();

#ifdef _WIN32
// Writes bytes into a new file: false when file exists already, even empty, or cannot
// be written whole, and then nothing of this call is left behind.
bool CreateNewFile(const PathString& file, std::string_view bytes);
#else
// The error code for errno, as OpenFileForReading reports it.
int ErrorCodeFromErrno(int e);
#endif

}  // namespace nenga

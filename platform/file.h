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
// Writes bytes into file when there is no file of that name yet; one that exists, even
// empty, is left as it is. 0 when the file is there now; otherwise the system's error
// code, and nothing of this call is left behind.
unsigned long CreateNewFile(const PathString& file, std::string_view bytes);
#else
// The error code for errno, as OpenFileForReading reports it.
int ErrorCodeFromErrno(int e);
#endif

}  // namespace nenga

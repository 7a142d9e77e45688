// Opening a file for the loader, as both platforms do it.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/platform.h"

namespace nenga {

// Read access only, the file must exist, others may read but not write it meanwhile.
// Returns nullptr and sets error to a Win32 error code when the file cannot be opened
// (on POSIX, errno mapped: ENOENT 2; ENOTDIR, ENAMETOOLONG 3; EMFILE, ENFILE 4;
// EACCES, EPERM and a directory 5; any other errno as it is).
std::unique_ptr<ByteSource> OpenFileForReading(const std::filesystem::path& file, int& error);

}  // namespace nenga

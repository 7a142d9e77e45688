// The error codes that cross the Platform interface, by name. Codes are Win32's; the
// program gives some of them, and some of the runtime library's I/O codes, a message
// of its own (FileErrorMessage).
#pragma once

namespace nenga {

// Win32's codes.
inline constexpr int kErrorFileNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr int kErrorPathNotFound = 3;      // ERROR_PATH_NOT_FOUND: a bad file name
inline constexpr int kErrorTooManyOpenFiles = 4;  // ERROR_TOO_MANY_OPEN_FILES
inline constexpr int kErrorAccessDenied = 5;      // ERROR_ACCESS_DENIED

// The runtime library's I/O codes, not Win32's: there 100, 101 and 106 are semaphore
// errors (100 is ERROR_TOO_MANY_SEMAPHORES). No system call of the program gives them;
// their messages are kept as the runtime library words them.
inline constexpr int kIoReadPastEnd = 100;
inline constexpr int kIoDiskFull = 101;
inline constexpr int kIoNotANumber = 106;

// A POSIX error number that has no Win32 counterpart is passed with this bit set, the
// one Win32 leaves to applications, so it never reads as some Win32 code; the low bits
// hold the error number.
inline constexpr int kPosixErrorFlag = 1 << 29;

}  // namespace nenga

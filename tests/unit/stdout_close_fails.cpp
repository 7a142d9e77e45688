// Preloaded into nenga-check: closing standard output releases the descriptor and then
// reports EIO, as a network file system reports a delayed write error at the close.
#include <dlfcn.h>

#include <cerrno>

extern "C" int close(int fd) {
  using Close = int (*)(int);
  static const auto real = reinterpret_cast<Close>(::dlsym(RTLD_NEXT, "close"));
  const int result = real(fd);
  if (fd != 1 || result != 0) return result;
  errno = EIO;
  return -1;
}

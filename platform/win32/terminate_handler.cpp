// The runtime's last resort when an exception finds no handler. The library's
// default prints the exception's demangled type to standard error, which a window
// program does not have, and brings the whole C++ demangler into the executable;
// this one ends the process the same way without it. It must be linked as an
// object of the executable itself, ahead of the C++ runtime library.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

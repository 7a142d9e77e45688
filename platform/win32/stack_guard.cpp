// The stack protector's runtime, in place of GCC's libssp: linked as an object of the
// executable, ahead of that library, whose own then stays out. libssp draws the canary
// at start from the cryptographic provider (CryptAcquireContext), which loads rsaenh and,
// under Wine, bcrypt and crypt32 too, only to free them again; this draws it from
// RtlGenRandom, which that provider itself reads and which loads nothing. A smashed
// canary or an overflowing checked buffer ends the program as libssp does: its message
// to standard error, then a trap. None of these functions carries a canary: the first
// sets it under its own feet, the others run when it is already broken.
#include <windows.h>
// ntsecapi.h needs windows.h first
#include <ntsecapi.h>

#include <cstddef>
#include <cstdint>

namespace {

template <std::size_t N>
[[noreturn]] __attribute__((no_stack_protector)) void Terminate(const char (&message)[N]) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, N - 1, &written, nullptr);
  __builtin_trap();
}

}  // namespace

extern "C" {

std::uintptr_t __stack_chk_guard = 0;

[[noreturn]] __attribute__((no_stack_protector)) void __stack_chk_fail() {
  Terminate("*** stack smashing detected ***: terminated\n");
}

[[noreturn]] __attribute__((no_stack_protector)) void __chk_fail() {
  Terminate("*** buffer overflow detected ***: terminated\n");
}

}  // extern "C"

namespace {

__attribute__((constructor, no_stack_protector)) void SetCanary() {
  std::uintptr_t canary = 0;
  // Should the system give nothing, libssp's fixed fallback: a zero, a line feed and
  // 0xFF stop a copy of a string there.
  if (!RtlGenRandom(&canary, sizeof(canary)) || canary == 0) canary = 0xFF0A0000;
  __stack_chk_guard = canary;
}

}  // namespace

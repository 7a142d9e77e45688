// The stack protector's canary, drawn as both programs draw it.
#include <gtest/gtest.h>

#include <cstdint>

extern "C" std::uintptr_t __stack_chk_guard;

// From the system, the whole word (its high half is zero once in 2^32 runs): neither
// unset nor the fixed one kept for a system that gives nothing.
TEST(StackGuard, CanaryIsDrawnFromTheSystem) {
  EXPECT_NE(__stack_chk_guard, 0u);
  EXPECT_NE(__stack_chk_guard, 0xFF0A0000u);
  EXPECT_NE(__stack_chk_guard >> 32, 0u);
}

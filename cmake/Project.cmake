# Settings shared by every target of the tree, in both toolchains.

# Narrow literals are Shift-JIS in the program; the sources stay UTF-8. Clang, which
# builds only the fuzz tree, keeps literals in UTF-8: the messages' bytes differ there,
# which the fuzz targets' checks ignore.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)
endif()

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
                    -Wnon-virtual-dtor -Wold-style-cast)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # One self-contained executable: no libstdc++, libgcc or winpthread DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Small executables: every function and datum in its own section, so the linker
  # drops whatever nothing reaches; the release build is optimised for size and
  # carries no symbols.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
  set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-s")
  include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)
endif()

if(NENGA_FUZZ)
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "NENGA_FUZZ needs clang on the build machine: cmake --preset fuzz")
  endif()
  # Every target instrumented for libFuzzer's coverage, under AddressSanitizer and UBSan;
  # the fuzz targets link libFuzzer itself.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Hardening, for the bytes both programs read from outside: a canary in every function
# with a local array or a local whose address is taken, and the checked forms of the
# memory and string functions wherever a buffer's size is known (which needs
# optimisation). On Windows their runtime is GCC's libssp, linked statically like the
# rest. The sanitizer and fuzzing builds check more and go without: their interceptors do
# not see the checked functions.
if(NOT NENGA_FUZZ AND NOT (NENGA_SANITIZE AND NOT WIN32))
  add_compile_options(-fstack-protector-strong
                      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
  add_link_options(-fstack-protector-strong)
endif()

if(NENGA_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

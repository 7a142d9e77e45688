# Settings shared by every target of the tree, in both toolchains.

# Narrow literals are Shift-JIS in the program; the sources stay UTF-8.
add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)

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

# Hardening, for the bytes both programs read from outside: a canary in every function
# with a local array or a local whose address is taken, and the checked forms of the
# memory and string functions wherever a buffer's size is known (which needs
# optimisation). On Windows their runtime is GCC's libssp, linked statically like the
# rest. The sanitizer build checks more and goes without: its interceptors do not see
# the checked functions.
if(NOT (NENGA_SANITIZE AND NOT WIN32))
  add_compile_options(-fstack-protector-strong
                      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
  add_link_options(-fstack-protector-strong)
endif()

if(NENGA_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

// Stands in for the user's web browser in the help tests: the program opens its help
// page through the file association, which the test points at this recorder.
//   page_recorder RECORD_FILE PAGE
// writes PAGE, as it arrived, to RECORD_FILE in UTF-16.
#include <windows.h>

#include <fstream>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const std::wstring page = argv[2];
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(page.data()),
            static_cast<std::streamsize>(page.size() * sizeof(wchar_t)));
  return out ? 0 : 1;
}

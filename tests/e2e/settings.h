// Where the tests find the program and put what they leave behind, from the command
// line: --nenga=PATH (nenga.exe), --out=FOLDER (artefacts), --log=FILE (this
// process's stderr, where Wine's traces of the program's sounds land) and
// --planted-dll=PATH (a stranger's winmm.dll, for the test that plants it).
#pragma once

#include <filesystem>

namespace nenga::e2e {

struct Settings {
  std::filesystem::path nengaExe;
  std::filesystem::path outDir;
  std::filesystem::path log;
  std::filesystem::path plantedDll;
};

const Settings& TestSettings();

}  // namespace nenga::e2e

#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>

#include "tests/e2e/driver.h"
#include "tests/e2e/settings.h"
#include "tests/support/at_dpi.h"

namespace nenga::e2e {
namespace {
Settings& MutableSettings() {
  static Settings settings;
  return settings;
}
}  // namespace

const Settings& TestSettings() { return MutableSettings(); }

}  // namespace nenga::e2e

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  nenga::test::KeepOnlyTestsAtDpi();
  auto& settings = nenga::e2e::MutableSettings();
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg.starts_with("--nenga=")) {
      settings.nengaExe = nenga::e2e::WindowsPath(arg.substr(8));
    } else if (arg.starts_with("--out=")) {
      settings.outDir = nenga::e2e::WindowsPath(arg.substr(6));
    } else if (arg.starts_with("--log=")) {
      settings.log = nenga::e2e::WindowsPath(arg.substr(6));
    } else if (arg.starts_with("--planted-dll=")) {
      settings.plantedDll = nenga::e2e::WindowsPath(arg.substr(14));
    } else {
      std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
      return 2;
    }
  }
  // CTest lists the tests without the settings each test needs.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (settings.nengaExe.empty() || settings.outDir.empty() || settings.log.empty()) {
    std::fprintf(stderr,
                 "usage: nenga_e2e [gtest flags] --nenga=nenga.exe --out=FOLDER --log=STDERR_FILE "
                 "[--planted-dll=winmm.dll]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}

// nenga-check: checks a list of postcard numbers against a winning-number file,
// exactly as the program does, and prints each win as the win dialog announces it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/console_platform.h"
#include "platform/codepage.h"
#include "winning/myProc.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace nenga {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitLoadFailed = 1;
constexpr int kExitUsage = 2;

// UTF-8 (u8), unlike the program's Shift-JIS literals: it goes out as it stands.
constexpr char8_t kUsage[] =
    u8"usage: nenga-check WINFILE [NUMBER ...]\n"
    "\n"
    "Loads the winning-number file WINFILE and checks each postcard NUMBER against it\n"
    "(with no NUMBER, one number per line from standard input). For every win it prints\n"
    "the announcement, for example \"123456 は1等です。\"; a number\n"
    "that is not six bytes in Shift-JIS is reported as an input mistake.\n"
    "Exit status: 0 checked, 1 the file could not be loaded, 2 bad usage.\n";

void PutUtf8(const char8_t* text, std::FILE* stream) {
  std::fputs(reinterpret_cast<const char*>(text), stream);
}

// Prints each announcement instead of showing a dialog.
class PrintingDialog final : public WinDialog {
 public:
  void SetAnnouncement(std::string_view text) override { text_ = text; }
  void ShowModal() override { WriteUtf8Line(stdout, text_); }

 private:
  std::string text_;
};

void CheckOne(const std::string& utf8Number, ConsolePlatform& platform, WinDialog& dialog) {
  const std::string number = ShiftJisFromUtf8(utf8Number);
  if (number.size() != 6) {
    WriteUtf8Line(stdout, number + " は入力ミスです。");
    return;
  }
  CheckNumber(number, platform, dialog);
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    PutUtf8(kUsage, stdout);
    return kExitOk;
  }
  if (args.empty() || args[0].starts_with("-")) {
    PutUtf8(kUsage, stderr);
    return kExitUsage;
  }

  ConsolePlatform platform;
  try {
    LoadWinFile(PathFromUtf8(args[0]), platform);
  } catch (const Failure& failure) {
    platform.ErrorBox(failure.what());
    return kExitLoadFailed;
  }
  if (platform.QuitRequested()) return kExitLoadFailed;  // the overflow

  PrintingDialog dialog;
  if (args.size() > 1) {
    for (std::size_t n = 1; n < args.size(); ++n) CheckOne(args[n], platform, dialog);
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      CheckOne(line, platform, dialog);
    }
  }
  std::fflush(stdout);
  return kExitOk;
}

}  // namespace
}  // namespace nenga

#ifdef _WIN32
// Arguments arrive as UTF-16 and are passed on as UTF-8, like on other systems.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int n = 1; n < argc; ++n) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, argv[n], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, argv[n], -1, arg.data(), size, nullptr, nullptr);
    arg.resize(arg.size() - 1);
    args.push_back(std::move(arg));
  }
  ::SetConsoleOutputCP(CP_UTF8);
  return nenga::Run(args);
}
#else
int main(int argc, char** argv) {
  return nenga::Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif

// nenga-check: checks a list of postcard numbers against a winning-number file,
// exactly as the program does, and prints each win as the win dialog announces it.
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/console_platform.h"
#include "cli/input_lines.h"
#include "platform/console.h"
#include "winning/myProc.h"
#include "winning/words.h"

#ifdef _WIN32
#include "platform/win32/system_dlls.h"
#include "platform/win32/utf8.h"
#endif

namespace nenga {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// UTF-8 (u8), unlike the program's Shift-JIS literals: it goes out as it stands.
constexpr char8_t kUsage[] =
    u8"usage: nenga-check [--] WINFILE [NUMBER ...]\n"
    "\n"
    "Loads the winning-number file WINFILE and checks each postcard NUMBER against it\n"
    "(with no NUMBER, one number per line from standard input, read as UTF-8; on Windows\n"
    "a line that is not UTF-8 is read in the console's input code page, or without a\n"
    "console in the ANSI code page). For every win it prints the announcement, for\n"
    "example \"123456 は1等です。\"; a number that is not six bytes in Shift-JIS is\n"
    "reported as an input mistake. \"--\" ends the options, so that a WINFILE may start\n"
    "with \"-\".\n"
    "Exit status: 0 checked; 1 the file could not be loaded, or reading the numbers or\n"
    "writing the results failed; 2 bad usage.\n";

constexpr std::size_t kReadBytes = 64 * 1024;

std::string_view UsageText() { return {reinterpret_cast<const char*>(kUsage), sizeof kUsage - 1}; }

// Prints each announcement instead of showing a dialog.
class PrintingDialog final : public WinDialog {
 public:
  explicit PrintingDialog(Output& out) : out_(out) {}
  void SetAnnouncement(std::string_view text) override { text_.assign(text); }
  void ShowModal() override { out_.Line(text_); }

 private:
  Output& out_;
  std::string text_;
};

class Checker {
 public:
  Checker(ConsolePlatform& platform, Output& out) : platform_(platform), out_(out), dialog_(out) {}

  // One number as typed on the command line: UTF-8.
  void Check(std::string_view utf8) { CheckLine(utf8, kUtf8CodePage); }

  // One line of standard input: UTF-8, or else in codePage (ShiftJisFromInputLine).
  // ASCII is the same in Shift-JIS and needs no conversion.
  void CheckLine(std::string_view line, unsigned codePage) {
    bool ascii = true;
    for (const char c : line) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      CheckShiftJis(line);
    } else {
      CheckShiftJis(ShiftJisFromInputLine(line, codePage));
    }
  }

 private:
  // A mistake goes to standard output, in its place among the announcements.
  void CheckShiftJis(std::string_view number) {
    if (!CheckTypedNumber(number, platform_, dialog_)) out_.Line(InputMistake(number));
  }

  ConsolePlatform& platform_;
  Output& out_;
  PrintingDialog dialog_;
};

// Checks each line of standard input (ReadLines gives the rules). With answerAtOnce
// each line's answers are written before the next line is read; otherwise out keeps
// them until its buffer fills. Returns 0, or the error code of a failed read.
int CheckStandardInput(Checker& checker, Output& out, bool answerAtOnce) {
  const std::unique_ptr<ByteSource> input = StandardInput();
  const unsigned codePage = InputCodePage();
  std::vector<char> buffer(kReadBytes);
  return ReadLines(*input, buffer, [&](std::string_view line) {
    checker.CheckLine(line, codePage);
    if (answerAtOnce) out.Flush();
  });
}

// The lines of the file that can never win, as compilers write their warnings:
// "FILE:LINE: reason", the file named as given. Not an error: the answers follow.
void ReportFindings(std::string_view file, const LoadFindings& findings, Output& errors) {
  if (findings.total == 0) return;
  for (const Finding& finding : findings.kept) {
    errors.Utf8(file);
    errors.Utf8(finding.line != 0 ? ":" + std::to_string(finding.line) + ": " : ": ");
    errors.Line(FindingReason(finding));
  }
  errors.Utf8(file);
  errors.Utf8(": ");
  errors.Line(words::kFindingsTotalBefore + std::to_string(findings.total) +
              words::kFindingsTotalAfter);
  errors.Flush();
}

// args: the arguments as UTF-8; paths: the same as the system's paths.
int Run(const std::vector<std::string>& args, const std::vector<PathString>& paths, Output& out,
        Output& errors) {
  std::size_t winFile = 0;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out.Utf8(UsageText());
    return out.Finish() == 0 ? kExitOk : kExitFailed;
  }
  if (args.empty() && AloneOnOwnConsole()) {
    errors.Line(words::kCheckUsageOnOwnConsole);
    errors.Flush();
    std::vector<char> line(256);
    int ignored = 0;
    StandardInput()->Read(line, ignored);  // a console hands over a whole line at Enter
    return kExitUsage;
  }
  if (!args.empty() && args[0] == "--") winFile = 1;
  if (winFile >= args.size() || (winFile == 0 && args[0].starts_with("-"))) {
    errors.Utf8(UsageText());
    return kExitUsage;
  }

  ConsolePlatform platform(errors);
  LoadFindings findings;
  try {
    LoadWinFile(paths[winFile], platform, findings);
  } catch (const Failure& failure) {
    platform.ErrorBox(failure.message());
    return kExitFailed;
  }
  if (platform.QuitRequested()) return kExitFailed;  // the overflow
  ReportFindings(args[winFile], findings, errors);

  Checker checker(platform, out);
  if (args.size() > winFile + 1) {
    for (std::size_t n = winFile + 1; n < args.size(); ++n) checker.Check(args[n]);
  } else if (const int error = CheckStandardInput(checker, out, AtConsole())) {
    out.Flush();
    errors.Line(words::kCannotReadInput + FileErrorMessage(error));
    return kExitFailed;
  }
  if (const int error = out.Finish()) {
    errors.Line(words::kCannotWriteOutput + FileErrorMessage(error));
    return kExitFailed;
  }
  return kExitOk;
}

// Run, with running out of memory reported like any other failure.
int RunReporting(const std::vector<std::string>& args, const std::vector<PathString>& paths) {
  Output out(Output::Stream::kStandardOutput);
  Output errors(Output::Stream::kStandardError);
  int status = kExitFailed;
  try {
    status = Run(args, paths, out, errors);
  } catch (const std::bad_alloc&) {
    out.Flush();
    errors.Line(words::kOutOfMemory);
  }
  errors.Flush();
  return status;
}

}  // namespace
}  // namespace nenga

#ifdef _WIN32
// Arguments arrive as UTF-16: numbers go on as UTF-8, like on other systems, and the
// file name stays UTF-16.
int wmain(int argc, wchar_t** argv) {
  nenga::LoadSystemDllsFromSystemFolderOnly();
  std::vector<std::string> args;
  std::vector<std::wstring> paths;
  for (int n = 1; n < argc; ++n) {
    args.push_back(nenga::Utf8FromWide(argv[n]));
    paths.emplace_back(argv[n]);
  }
  return nenga::RunReporting(args, paths);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return nenga::RunReporting(args, args);
}
#endif

// A short showing of the program for people, not a test: starts nenga.exe in its own
// folder, as Explorer does, loads a winning-number file through the file-open dialog,
// checks a number that wins, and saves pictures of the main window, the file dialog
// and the win dialog (the package's help page shows them); given a file typed with
// slips, loads it too and saves the box that names its lines that can never win.
//   nenga_demo --nenga=nenga.exe --file=WINNING.txt --number=123456 --out=FOLDER
//              [--typed=TYPED.txt]
#include <cstdio>
#include <string>
#include <string_view>

#include "tests/e2e/driver.h"
// commctrl.h needs windows.h first, from driver.h
#include <commctrl.h>

#include "ui/control_ids.h"

namespace nenga::e2e {
namespace {

struct DemoArgs {
  std::filesystem::path nenga;
  std::filesystem::path file;
  std::filesystem::path out;
  std::filesystem::path typed;
  std::wstring number;
};

// The explorer-style file dialog's file name: combo box cmb13.
constexpr int kFileNameCombo = 0x47C;

int Fail(const char* what) {
  std::fprintf(stderr, "demo: %s\n", what);
  return 1;
}

bool Save(HWND window, const DemoArgs& args, const char* name) {
  const auto file = args.out / (std::string(name) + ".bmp");
  // A new Wine prefix fills its icon caches while the file dialog first shows: the
  // dialog may take some seconds to settle.
  const bool saved = SaveWindowImage(window, file, 20000);
  std::printf("demo: %s %s\n", saved ? "saved" : "could not save", file.string().c_str());
  return saved;
}

int RunDemo(const DemoArgs& args) {
  std::filesystem::create_directories(args.out);
  ParkPointer();
  App app(LaunchOptions{args.nenga, args.nenga.parent_path(), {}, {}});
  if (!app.started()) return Fail("nenga.exe did not start");
  HWND main = app.WaitForWindow(L"TfrmMain", L"年賀はがき当たり番号判定");
  if (main == nullptr) return Fail("the main window did not appear");
  HWND txtNum = GetDlgItem(main, ids::kTxtNum);
  HWND txtLast = GetDlgItem(main, ids::kTxtLast);

  PostClick(GetDlgItem(main, ids::kCmdOpen));
  HWND dialog = app.WaitForWindow(L"#32770", L"当たり番号のファイルを開く");
  if (dialog == nullptr) return Fail("the file-open dialog did not appear");
  // As a user does: go to the file's folder (its name typed, then Open), pick the file
  // by name, and only then take the picture, once the dialog shows the folder's files
  // and has painted them.
  // Open is pressed by a sent message, not a posted one, so that the dialog is in the
  // folder before the file's name is typed: it may start there, showing the file already,
  // and a press it took late would open the file.
  HWND name = nullptr;
  DWORD_PTR pressed = 0;
  if (!WaitUntil([&] { return IsWindowVisible(name = GetDlgItem(dialog, kFileNameCombo)); }) ||
      !WriteText(name, args.file.parent_path().wstring()) ||
      !SendMessageTimeoutW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0, SMTO_BLOCK, kStateTimeout,
                           &pressed)) {
    return Fail("could not go to the file's folder");
  }
  HWND view = nullptr;
  HWND list = nullptr;
  if (!WaitUntil([&] {
        view = FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
        list = view ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
        DWORD_PTR items = 0;
        return list != nullptr &&
               SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 5000, &items) &&
               items == 1;  // the only winning-number file there
      })) {
    return Fail("the file dialog did not show the file's folder");
  }
  // A combo box takes the text into its edit box.
  if (!WriteText(name, args.file.filename().wstring())) {
    return Fail("no file name box");
  }
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  if (!Save(dialog, args, "file_dialog")) return 1;
  PostClick(GetDlgItem(dialog, IDOK));
  if (!app.WaitForHidden(dialog)) return Fail("could not choose the file in the file-open dialog");
  if (!WaitUntil([&] { return FocusOf(main) == txtNum; })) return Fail("the load did not end");

  PostChars(txtNum, args.number);
  if (!WaitUntil([&] { return ReadText(txtNum) == args.number; })) return Fail("typing failed");
  if (!Save(main, args, "main_window")) return 1;
  PostKey(txtNum, VK_RETURN);

  HWND atari = app.WaitForWindow(L"TfrmAtari", L"当たり番号発見");
  if (atari == nullptr) return Fail("the number did not win");
  const auto text = ReadText(GetDlgItem(atari, ids::kLblAtari)).value_or(L"");
  std::string utf8(text.size() * 3, '\0');
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  std::printf("demo: the win dialog says \"%s\"\n", utf8.c_str());
  if (!Save(atari, args, "win_dialog")) return 1;
  PostClick(GetDlgItem(atari, ids::kCmdOK));
  if (!WaitUntil([&] { return ReadText(txtLast) == args.number; })) {
    return Fail("the check did not end");
  }
  if (!Save(main, args, "main_window_after_check")) return 1;

  if (!args.typed.empty()) {
    PostClick(GetDlgItem(main, ids::kCmdOpen));
    dialog = app.WaitForWindow(L"#32770", L"当たり番号のファイルを開く");
    if (dialog == nullptr || !ChooseFileInDialog(dialog, args.typed)) {
      return Fail("could not choose the typed file");
    }
    HWND box = app.WaitForWindow({}, L"Nenga", {main, atari, dialog, GetWindow(main, GW_OWNER)});
    if (box == nullptr) return Fail("no box named the typed file's lines");
    if (!Save(box, args, "findings_box")) return 1;
    PostClick(GetDlgItem(box, IDOK));
    if (!app.WaitForHidden(box)) return Fail("the box did not close");
  }

  PostMessageW(main, WM_CLOSE, 0, 0);
  return app.WaitForExit() == std::optional<DWORD>(0) ? 0 : Fail("nenga.exe did not end");
}

}  // namespace
}  // namespace nenga::e2e

int main(int argc, char** argv) {
  nenga::e2e::DemoArgs args;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    const auto value = arg.substr(arg.find('=') + 1);
    if (arg.starts_with("--nenga=")) {
      args.nenga = nenga::e2e::WindowsPath(value);
    } else if (arg.starts_with("--file=")) {
      args.file = nenga::e2e::WindowsPath(value);
    } else if (arg.starts_with("--out=")) {
      args.out = nenga::e2e::WindowsPath(value);
    } else if (arg.starts_with("--typed=")) {
      args.typed = nenga::e2e::WindowsPath(value);
    } else if (arg.starts_with("--number=")) {
      args.number.assign(value.begin(), value.end());
    }
  }
  if (args.nenga.empty() || args.file.empty() || args.out.empty() || args.number.empty()) {
    std::fprintf(stderr,
                 "usage: nenga_demo --nenga=EXE --file=TXT --number=N --out=DIR [--typed=TXT]\n");
    return 2;
  }
  return nenga::e2e::RunDemo(args);
}

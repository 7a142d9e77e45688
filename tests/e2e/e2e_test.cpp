// End-to-end tests: each test starts a fresh nenga.exe in a folder of its own, works
// it through its windows as a user would, and checks what the windows show, which
// sounds were asked for, and how the process ends.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h, mmsystem.h and tlhelp32.h need windows.h first
#include <commctrl.h>
#include <mmsystem.h>
#include <tlhelp32.h>
// dwmapi.h for the attributes' numbers
#include <dwmapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/info_box.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/settings.h"
#include "tests/support/at_dpi.h"
#include "toolkit/dpi.h"
#include "ui/control_ids.h"
#include "ui/controls.h"
#include "ui/layouts.h"

namespace nenga::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::wstring_view kMainClass = L"TfrmMain";
constexpr std::wstring_view kMainCaption = L"年賀はがき当たり番号判定";
constexpr std::wstring_view kWinClass = L"TfrmAtari";
constexpr std::wstring_view kWinCaption = L"当たり番号発見";
constexpr std::wstring_view kDialogClass = L"#32770";
constexpr std::wstring_view kOpenTitle = L"当たり番号のファイルを開く";
constexpr std::wstring_view kAppTitle = L"Nenga";  // from the name nenga.exe
constexpr std::wstring_view kAppClass = L"TApplication";
constexpr std::wstring_view kWarningCaption = L"警告";

// Class 1 one six-digit number, class 2 one four-digit, class 3 two two-digit.
constexpr std::string_view kExampleFile = "1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n";

std::string TestName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

class NengaTest : public testing::Test {
 protected:
  void SetUp() override {
    const Settings& settings = TestSettings();
    workDir_ = settings.outDir / "work" / TestName();
    logFile_ = settings.log;
    std::error_code ignored;
    fs::remove_all(workDir_, ignored);
    fs::create_directories(workDir_);
    fs::create_directories(settings.outDir / "screenshots");

    ASSERT_NO_FATAL_FAILURE(Launch(settings.nengaExe));
  }

  // Starts the program and finds its windows.
  void Launch(const fs::path& exe) {
    // The log may hold the sounds of earlier tests of this process.
    const SoundTrace earlier = ReadSoundTrace(logFile_);
    cueBase_ = earlier.names.size();
    callBase_ = earlier.flags.size();
    ParkPointer();
    LaunchOptions options{exe, workDir_, L"+winmm", {}};
    ASSERT_NO_FATAL_FAILURE(Prepare(options));
    app_ = std::make_unique<App>(options);
    ASSERT_TRUE(app_->started()) << "CreateProcess failed with " << app_->launchError() << " for "
                                 << options.exe.string();
    main_ = app_->WaitForWindow(kMainClass, kMainCaption);
    ASSERT_NE(main_, nullptr) << "the main window never appeared";
    txtNum_ = Control(main_, ids::kTxtNum);
    txtLast_ = Control(main_, ids::kTxtLast);
    cmdCheck_ = Control(main_, ids::kCmdCheck);
    cmdOpen_ = Control(main_, ids::kCmdOpen);
    ASSERT_TRUE(txtNum_ && txtLast_ && cmdCheck_ && cmdOpen_) << "a main window control is missing";
    // The win dialog exists from the start, hidden.
    const auto atari = app_->AllTopWindows(kWinClass, kWinCaption);
    ASSERT_EQ(atari.size(), 1u) << "the win dialog was not created at start-up";
    atari_ = atari.front();
    lblAtari_ = Control(atari_, ids::kLblAtari);
    cmdOK_ = Control(atari_, ids::kCmdOK);
    ASSERT_TRUE(lblAtari_ && cmdOK_) << "a win dialog control is missing";
    // The application window: no size, the program's taskbar button.
    const auto application = app_->AllTopWindows(kAppClass, appTitle_);
    ASSERT_EQ(application.size(), 1u) << "no application window; " << Shown();
    appWindow_ = application.front();
  }

  // Where and how the program starts; the tests of the program's folder change it.
  virtual void Prepare(LaunchOptions&) {}

  std::wstring appTitle_{kAppTitle};  // the application window's, which Launch finds

  static HWND Control(HWND parent, int id) { return GetDlgItem(parent, id); }

  fs::path WriteFile(std::string_view name, std::string_view bytes) {
    const fs::path file = workDir_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << file.string();
    return file;
  }

  // Presses the load button and chooses file in the file-open dialog.
  void ChooseFile(const fs::path& file) {
    PostClick(cmdOpen_);
    HWND dialog = app_->WaitForWindow(kDialogClass, kOpenTitle);
    ASSERT_NE(dialog, nullptr) << "the file-open dialog never appeared";
    GetWindowRect(dialog, &openDialogFrame_);
    ASSERT_TRUE(ChooseFileInDialog(dialog, file)) << "could not fill in the file-open dialog";
    ASSERT_TRUE(app_->WaitForHidden(dialog)) << "the file-open dialog did not close";
  }

  // A load that succeeds ends with the focus back in txtNum.
  void Load(const fs::path& file) {
    ASSERT_NO_FATAL_FAILURE(ChooseFile(file));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }))
        << "the focus did not come back to the number box after the load";
  }

  void Type(std::wstring_view text) {
    const std::wstring before = ReadText(txtNum_).value_or(L"?");
    PostChars(txtNum_, text);
    const std::wstring expected = before + std::wstring(text);
    ASSERT_TRUE(WaitUntil([&] { return ReadText(txtNum_) == expected; }))
        << "the number box does not show what was typed";
  }

  void PressEnter() { PostKey(txtNum_, VK_RETURN); }

  HWND WaitForBox(std::wstring_view caption) {
    HWND box = app_->WaitForWindow({}, caption, {main_, atari_, appWindow_});
    if (box == nullptr) ADD_FAILURE() << "no box \"" << ToUtf8(caption) << "\"; " << Shown();
    return box;
  }

  // What the program shows, for failure messages.
  std::string Shown() {
    std::string shown = "windows shown:";
    for (HWND w : app_->TopWindows({}, {})) {
      shown += " [" + ToUtf8(ClassOf(w)) + " \"" + ToUtf8(CaptionOf(w)) + "\"";
      if (w == atari_) shown += " \"" + ToUtf8(ReadText(lblAtari_).value_or(L"?")) + "\"";
      shown += "]";
    }
    return shown;
  }

  // Where the program's activation and focus are, for failure messages.
  std::string Focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info);
    auto name = [](HWND w) {
      return w == nullptr ? std::string("none")
                          : ToUtf8(ClassOf(w)) + "#" + std::to_string(GetDlgCtrlID(w));
    };
    return "active " + name(info.hwndActive) + ", focus " + name(info.hwndFocus) + ", foreground " +
           name(GetForegroundWindow());
  }

  void CloseBox(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr) << "the box has no OK button";
    PostClick(ok);
    ASSERT_TRUE(app_->WaitForHidden(box)) << "the box did not close";
  }

  bool WinDialogShows(std::wstring_view text) {
    return IsWindowVisible(atari_) && ReadText(lblAtari_) == text;
  }

  void ExpectWinDialog(std::wstring_view text) {
    ASSERT_TRUE(WaitUntil([&] { return WinDialogShows(text); }, kWindowTimeout))
        << "the win dialog did not show \"" << ToUtf8(text) << "\"; it shows \""
        << ToUtf8(ReadText(lblAtari_).value_or(L"")) << "\"";
  }

  // Waits for the check to have returned: txtLast then holds the number and txtNum is
  // empty (txtLast may hold the same number from the check before).
  void ExpectCheckDone(std::wstring_view number) {
    ASSERT_TRUE(WaitUntil([&] { return ReadText(txtLast_) == number && ReadText(txtNum_) == L""; }))
        << "txtLast never showed " << ToUtf8(number) << " with txtNum empty; " << Shown() << "; "
        << Focus();
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; })) << Focus();
    EXPECT_FALSE(IsWindowVisible(atari_));
  }

  // The sounds asked for so far, once there are at least count of them.
  std::vector<std::string> Cues(std::size_t count) {
    std::vector<std::string> cues;
    WaitUntil([&] {
      cues = SoundCues(logFile_);
      cues.erase(cues.begin(),
                 cues.begin() + static_cast<std::ptrdiff_t>(std::min(cueBase_, cues.size())));
      return cues.size() >= count;
    });
    return cues;
  }

  // The sounds asked for so far, once there are at least count of them.
  SoundTrace Sounds(std::size_t count) {
    SoundTrace trace;
    WaitUntil([&] {
      trace = ReadSoundTrace(logFile_);
      trace.names.erase(trace.names.begin(),
                        trace.names.begin() +
                            static_cast<std::ptrdiff_t>(std::min(cueBase_, trace.names.size())));
      trace.flags.erase(trace.flags.begin(),
                        trace.flags.begin() +
                            static_cast<std::ptrdiff_t>(std::min(callBase_, trace.flags.size())));
      return trace.names.size() >= count && trace.flags.size() >= count;
    });
    return trace;
  }

  void Screenshot(HWND window, std::string_view name) {
    const fs::path file = TestSettings().outDir / "screenshots" / (std::string(name) + ".bmp");
    EXPECT_TRUE(SaveWindowImage(window, file)) << "no steady picture of " << name;
  }

  static COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return color;
  }

  static std::string ToUtf8(std::wstring_view text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
  }

  fs::path workDir_;
  fs::path logFile_;
  std::size_t cueBase_ = 0;
  std::size_t callBase_ = 0;
  std::unique_ptr<App> app_;
  HWND main_ = nullptr;
  HWND txtNum_ = nullptr;
  HWND txtLast_ = nullptr;
  HWND cmdCheck_ = nullptr;
  HWND cmdOpen_ = nullptr;
  HWND atari_ = nullptr;
  HWND lblAtari_ = nullptr;
  HWND cmdOK_ = nullptr;
  HWND appWindow_ = nullptr;
  RECT openDialogFrame_{};  // where the file-open dialog last showed
};

// Stands in for the help viewer. Wine's WinHelp hands every request to the window of
// class "MS_WINHELP" as WM_COPYDATA, with the calling window in wParam; this one keeps
// each request's command and window, and whether that window still existed then.
class HelpViewer {
 public:
  struct Request {
    UINT command;
    HWND owner;
    bool ownerExisted;
    std::string file;
  };

  HelpViewer() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &HelpViewer::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MS_WINHELP";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, L"MS_WINHELP", L"help", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HelpViewer() { DestroyWindow(window_); }
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  // Waits, taking the requests as they come, until there are count of them.
  bool WaitForRequests(std::size_t count) {
    return WaitUntil([&] {
      MSG msg{};
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      return requests.size() >= count;
    });
  }

  std::vector<Request> requests;

 private:
  // The request's layout, as Wine's WinHelp sends it.
  struct WinHelpData {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD ofsFilename;
    WORD ofsData;
  };

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HelpViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self != nullptr) {
      const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      const auto* data = static_cast<const WinHelpData*>(copy->lpData);
      const HWND owner = reinterpret_cast<HWND>(wParam);
      std::string file;
      if (data->ofsFilename != 0) file = reinterpret_cast<const char*>(data) + data->ofsFilename;
      self->requests.push_back({data->command, owner, IsWindow(owner) != FALSE, file});
      return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

// Stands in for the user's web browser: while it exists, the file association of
// ".html" starts the page recorder, which writes the page it was given to a file.
// (Wine's shell reads associations from the machine's classes only.) The association
// is put back afterwards.
class PageOpener {
 public:
  explicit PageOpener(const fs::path& record) : record_(record) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring recorder = (fs::path(self).parent_path() / "page_recorder.exe").wstring();
    wchar_t old[256];
    DWORD size = sizeof(old);
    if (RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
        ERROR_SUCCESS) {
      oldClass_ = old;
    }
    Set(L".html", kClass);
    Set(std::wstring(kClass) + L"\\shell\\open\\command",
        L"\"" + recorder + L"\" \"" + record.wstring() + L"\" \"%1\"");
  }
  ~PageOpener() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
    if (oldClass_) {
      Set(L".html", *oldClass_);
    } else {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
  }
  PageOpener(const PageOpener&) = delete;
  PageOpener& operator=(const PageOpener&) = delete;

  // The page opened, once the recorder has written it.
  std::optional<std::wstring> WaitForPage() {
    std::optional<std::wstring> page;
    WaitUntil([&] { return (page = FileUtf16(record_)).has_value(); });
    return page;
  }

 private:
  static constexpr const wchar_t* kClass = L"NengaTest.HelpPage";

  static void Set(const std::wstring& key, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  fs::path record_;
  std::optional<std::wstring> oldClass_;
};

std::vector<std::string> Repeat(const std::string& cue, std::size_t times) {
  return std::vector<std::string>(times, cue);
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F_AT_DPI(NengaTest, StartsWithEmptyBoxesAndTheFocusInTheNumberBox, 120, 144) {
  EXPECT_EQ(ReadText(txtNum_), L"");
  EXPECT_EQ(ReadText(txtLast_), L"");
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));
  EXPECT_FALSE(IsWindowVisible(atari_));
  // The hints come once the window is up: a tooltip control of the main window's
  // with the five hinted controls.
  HWND tooltip = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    tooltip = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
      if (GetWindow(w, GW_OWNER) == main_) tooltip = w;
    }
    return tooltip != nullptr;
  }));
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 5);
  Screenshot(main_, "main_window");
}

// The road of one check: load, type six digits, Enter, the win, OK, and the main
// window ready for the next postcard.
TEST_F_AT_DPI(NengaTest, OneCheckAnnouncesTheWinThenMovesTheNumberToTxtLast, 144) {
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();

  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
  EXPECT_EQ(CaptionOf(atari_), kWinCaption);
  // The dialog is modal, and the boxes change only after it has been closed.
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_EQ(ReadText(txtNum_), L"123456");
  EXPECT_EQ(ReadText(txtLast_), L"");
  Screenshot(atari_, "win_dialog");
  // The congratulation picture fills its place to the last pixel, at any screen
  // scale: its white background reaches the corners.
  RECT place{};
  ASSERT_TRUE(GetWindowRect(Control(atari_, ids::kImCongrat), &place));
  for (const POINT corner :
       {POINT{place.left, place.top}, POINT{place.right - 1, place.top},
        POINT{place.left, place.bottom - 1}, POINT{place.right - 1, place.bottom - 1}}) {
    EXPECT_EQ(ScreenPixel(corner), RGB(255, 255, 255)) << corner.x << "," << corner.y;
  }

  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));
  EXPECT_TRUE(IsWindowEnabled(main_));
  Screenshot(main_, "main_window_after_check");

  // The next check replaces txtLast.
  ASSERT_NO_FATAL_FAILURE(Type(L"111111"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"111111"));
  EXPECT_TRUE(app_->Running());
}

TEST_F(NengaTest, OneCheckPlaysItsCuesInOrder) {
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));

  const auto expected =
      Join({{"kaeru.wav"}, Repeat("pi.wav", 6), {"Chop.wav", "fan.wav", "pi.wav"}});
  EXPECT_EQ(Cues(expected.size()), expected);

  // A number that wins nothing: Chop.wav, then at once pi.wav for the cleared box.
  ASSERT_NO_FATAL_FAILURE(Type(L"000000"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"000000"));
  const auto more = Join({expected, Repeat("pi.wav", 6), {"Chop.wav", "pi.wav"}});
  EXPECT_EQ(Cues(more.size()), more);
}

TEST_F(NengaTest, CheckBeforeAnyLoadWarnsAndKeepsTheText) {
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  HWND box = WaitForBox(kWarningCaption);
  ASSERT_NE(box, nullptr) << "no warning box";
  EXPECT_EQ(BoxText(box, kInfoTextId), L"当たり番号ファイルを読み込んで下さい。");
  EXPECT_FALSE(IsWindowEnabled(main_));
  Screenshot(box, "warning_box");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));

  EXPECT_EQ(ReadText(txtNum_), L"123456");
  EXPECT_EQ(ReadText(txtLast_), L"");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_); }));
  const auto expected = Join({Repeat("pi.wav", 6), {"Chop.wav"}});
  EXPECT_EQ(Cues(expected.size()), expected);
}

TEST_F_AT_DPI(NengaTest, WrongLengthIsAnInputError, 144) {
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_NO_FATAL_FAILURE(Type(L"12345"));
  PressEnter();
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no information box";
  EXPECT_EQ(BoxText(box, kInfoTextId), L"12345 は入力ミスです。");
  EXPECT_FALSE(IsWindowEnabled(main_));
  Screenshot(box, "information_box");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  EXPECT_EQ(ReadText(txtNum_), L"12345");
  EXPECT_EQ(ReadText(txtLast_), L"");
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));

  // The same check by the picture button leaves the wrong text selected.
  PostClick(cmdCheck_);
  box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no information box after the check button";
  EXPECT_EQ(BoxText(box, kInfoTextId), L"12345 は入力ミスです。");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));
  DWORD_PTR selection = 0;
  ASSERT_TRUE(SendMessageTimeoutW(txtNum_, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection));
  EXPECT_EQ(LOWORD(selection), 0) << "selection start";
  EXPECT_EQ(HIWORD(selection), 5) << "selection end";

  // An empty box is a wrong length too; its message starts with the space.
  ASSERT_TRUE(WriteText(txtNum_, L""));
  PressEnter();
  box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no information box for the empty number";
  EXPECT_EQ(BoxText(box, kInfoTextId), L" は入力ミスです。");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  EXPECT_EQ(ReadText(txtLast_), L"");
}

TEST_F(NengaTest, NumberWinningSeveralClassesShowsOneDialogPerClassInOrder) {
  // 123456 wins class 2 by 3456, class 3 by its second number 56, class 4 by 23456.
  ASSERT_NO_FATAL_FAILURE(Load(
      WriteFile("several.txt", "1:\r\n111111\r\n2:\r\n3456\r\n3:\r\n11\r\n56\r\n4:\r\n23456\r\n")));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  for (const wchar_t* text :
       {L"123456 は2等です。", L"123456 は3等です。", L"123456 は4等です。"}) {
    ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(text));
    EXPECT_EQ(ReadText(txtLast_), L"") << "the check went on before the dialog was closed";
    PostClick(cmdOK_);
    ASSERT_TRUE(WaitUntil([&] { return !WinDialogShows(text); })) << "OK did not close it";
  }
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));

  const auto expected = Join({{"kaeru.wav"},
                              Repeat("pi.wav", 6),
                              {"Chop.wav", "fan.wav", "fan.wav", "fin.wav", "pi.wav"}});
  EXPECT_EQ(Cues(expected.size()), expected);
}

TEST_F(NengaTest, WinDialogIgnoresEscapeAndClosesBySpaceEnterOrCloseButton) {
  ASSERT_NO_FATAL_FAILURE(
      Load(WriteFile("three.txt", "1:\r\n123456\r\n2:\r\n3456\r\n3:\r\n56\r\n")));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();

  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(atari_) == cmdOK_; })) << "OK has not the focus";
  PostKey(cmdOK_, VK_ESCAPE);
  ASSERT_TRUE(DrainPostedMessages(txtNum_));
  EXPECT_TRUE(WinDialogShows(L"123456 は1等です。")) << "Escape closed the win dialog";
  EXPECT_EQ(ReadText(txtLast_), L"");

  PostKey(cmdOK_, VK_SPACE);
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は2等です。"));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(atari_) == cmdOK_; })) << "OK has not the focus";
  PostKey(cmdOK_, VK_RETURN);
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は3等です。"));
  PostMessageW(atari_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));
  EXPECT_TRUE(app_->Running()) << "closing the win dialog ended the program";
}

TEST_F(NengaTest, FileThatCannotBeOpenedIsReportedAndTheProgramGoesOn) {
  ASSERT_NO_FATAL_FAILURE(ChooseFile(workDir_ / "missing.txt"));
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_EQ(BoxText(box, kInfoTextId), L"ファイルが見つかりません.");
  Screenshot(box, "error_box");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_); }));

  // Nothing was loaded: a check still asks for a file.
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  box = WaitForBox(kWarningCaption);
  ASSERT_NE(box, nullptr) << "no warning box after the failed load";
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));

  // And a good file still loads and checks.
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_TRUE(WriteText(txtNum_, L"002345"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"002345 は2等です。"));
  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"002345"));
}

// A load that fails part-way leaves the table that was loaded before it, whole.
TEST_F(NengaTest, HeaderThatIsNotADigitIsReportedAndTheEarlierTableStays) {
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_NO_FATAL_FAILURE(
      ChooseFile(WriteFile("bad.txt", "1:\r\n654321\r\n2:\r\n4321\r\nx:\r\n99\r\n")));
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_EQ(BoxText(box, kInfoTextId), L"'x' は数値ではありません.");
  Screenshot(box, "error_box_header");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_); }));

  // The bad file's numbers win nothing; the earlier file's still win.
  ASSERT_NO_FATAL_FAILURE(Type(L"654321"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"654321"));
  for (const auto& [number, text] :
       {std::pair{L"123456", L"123456 は1等です。"}, std::pair{L"002345", L"002345 は2等です。"},
        std::pair{L"000089", L"000089 は3等です。"}}) {
    ASSERT_TRUE(WriteText(txtNum_, number));
    PressEnter();
    ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(text));
    PostClick(cmdOK_);
    ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(number));
  }
}

TEST_F(NengaTest, OverflowShowsItsMessageAndEndsTheProgram) {
  std::string file = "1:\r\n";
  for (int i = 1; i <= 10; ++i) file += std::to_string(100000 + i) + "\r\n";
  ASSERT_NO_FATAL_FAILURE(ChooseFile(WriteFile("ten.txt", file)));
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no information box at the overflow";
  EXPECT_EQ(BoxText(box, kInfoTextId),
            L"データが大きすぎます。\r\n安全のためプログラムを終了します。\r\n"
            L"当たり番号のファイルが不正です。");
  Screenshot(box, "overflow_box");
  EXPECT_TRUE(app_->Running()) << "the program ended before the box was closed";
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  EXPECT_EQ(app_->WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(NengaTest, NineNumbersInAClassLoadAndTheLastOneWins) {
  std::string file = "1:\r\n";
  for (int i = 1; i <= 9; ++i) file += std::to_string(100000 + i) + "\r\n";
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("nine.txt", file)));
  EXPECT_TRUE(app_->TopWindows({}, kAppTitle, {appWindow_}).empty())
      << "a box came up for nine numbers";
  ASSERT_NO_FATAL_FAILURE(Type(L"100009"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"100009 は1等です。"));
  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"100009"));
}

// A file typed in Notepad, saved as UTF-8, with the input method's digits and a copied
// space: loading it names those lines beside a warning icon; the rest still wins.
TEST_F_AT_DPI(NengaTest, TypedFileNamesTheLinesThatCanNeverWinThenAWin, 144) {
  constexpr std::u8string_view kTyped = u8"1:1等\r\n１２３４５６\r\n2:\r\n2345 \r\n3:\r\n67\r\n";
  ASSERT_NO_FATAL_FAILURE(Type(L"12"));
  ASSERT_NO_FATAL_FAILURE(ChooseFile(
      WriteFile("typed.txt", {reinterpret_cast<const char*>(kTyped.data()), kTyped.size()})));
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no box for the lines that can never win";
  EXPECT_EQ(BoxText(box, kInfoTextId),
            L"typed.txt\r\n次の番号は当たりを調べられません。ファイルを直して、読み込み直して"
            L"ください。\r\n2 行目「１２３４５６」：全角の数字です。半角の数字で書いてください。"
            L"\r\n4 行目「2345 」：前後に空白があります。空白を消してください。");
  EXPECT_NE(SendMessageW(GetDlgItem(box, kInfoIconId), STM_GETICON, 0, 0), 0) << "no icon";
  Screenshot(box, "findings_box");
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));

  // Back in the number box with its text selected, as after any button.
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; })) << Focus();
  DWORD_PTR selection = 0;
  ASSERT_TRUE(SendMessageTimeoutW(txtNum_, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection));
  EXPECT_EQ(selection, MAKELONG(0, 2));
  PostChars(txtNum_, L"000067");
  ASSERT_TRUE(WaitUntil([&] { return ReadText(txtNum_) == L"000067"; }));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"000067 は3等です。"));
  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"000067"));
}

// The taskbar button's close (SC_CLOSE, as the taskbar and Wine's X11 driver send it),
// open or minimised (the program's windows hidden then). A box that is up takes the close
// (WM_CLOSE: the button it disables refuses SC_CLOSE) and the program goes on.
TEST_F(NengaTest, ClosingTheTaskbarButtonEndsTheProgramWithCodeZeroOpenOrMinimised) {
  for (const bool minimised : {false, true}) {
    if (minimised) PostMessageW(appWindow_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != minimised; }));
    PostMessageW(appWindow_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(app_->WaitForExit(), std::optional<DWORD>(0)) << minimised;
    ASSERT_NO_FATAL_FAILURE(Launch(TestSettings().nengaExe));
  }
  ASSERT_NO_FATAL_FAILURE(ChooseFile(workDir_ / "missing.txt"));
  const HWND box = WaitForBox(kAppTitle);
  PostMessageW(appWindow_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(main_); })) << Shown();
}

// The program file's name, whatever its characters, titles the taskbar button and the boxes.
TEST_F(NengaTest, TitleKeepsTheCharactersOfTheProgramsName) {
  for (const auto& [name, title] :
       {std::pair{L"넨가.exe", L"넨가"}, {L"NENGÁ.app.exe", L"Nengá"}}) {
    fs::copy_file(TestSettings().nengaExe, workDir_ / name);
    appTitle_ = title;
    ASSERT_NO_FATAL_FAILURE(Launch(workDir_ / name));
    ASSERT_NO_FATAL_FAILURE(ChooseFile(workDir_ / "missing.txt"));
    ASSERT_NO_FATAL_FAILURE(CloseBox(WaitForBox(title)));
  }
}

// What the taskbar and Alt+Tab list: the visible windows that are not tool windows and
// are either unowned or marked as application windows. The program's one is its
// application window, with the application title and no size; the main window is
// owned by it, and picking the button brings the main window back.
TEST_F_AT_DPI(NengaTest, TaskbarButtonIsTheApplicationWindowWithTitleAndIcon, 144) {
  std::vector<HWND> buttons;
  for (HWND window : app_->TopWindows({}, {})) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (exStyle & WS_EX_TOOLWINDOW) continue;
    if (GetWindow(window, GW_OWNER) == nullptr || (exStyle & WS_EX_APPWINDOW)) {
      buttons.push_back(window);
    }
  }
  ASSERT_EQ(buttons.size(), 1u) << Shown();
  EXPECT_EQ(buttons.front(), appWindow_);
  EXPECT_EQ(CaptionOf(appWindow_), kAppTitle);
  RECT frame{};
  GetWindowRect(appWindow_, &frame);
  EXPECT_TRUE(IsRectEmpty(&frame)) << "the application window shows";

  EXPECT_EQ(GetWindow(main_, GW_OWNER), appWindow_);
  EXPECT_EQ(GetWindow(atari_, GW_OWNER), main_);
  // (Wine answers WM_GETICON from another process with nothing, so the icons are
  // checked by the window tests, in the program's own process.)

  OtherWindow other;
  ASSERT_TRUE(Activate(other.hwnd()));
  SetForegroundWindow(appWindow_);  // as the taskbar does
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }))
      << "picking the taskbar button did not bring the main window back";
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));
}

// A shortcut's show state (or "start /max"): the main window keeps its fixed size, a
// minimised start leaves only the taskbar button, which restores the window as it was,
// and the application window never takes any room on the screen.
TEST_F(NengaTest, ShortcutShowStatesKeepTheFixedSize) {
  RECT normal{};
  GetWindowRect(main_, &normal);
  app_.reset();
  auto expectFixed = [&](HWND main, HWND application) {
    RECT frame{};
    GetWindowRect(main, &frame);
    EXPECT_FALSE(IsZoomed(main));
    EXPECT_EQ(frame.right - frame.left, normal.right - normal.left);
    EXPECT_EQ(frame.bottom - frame.top, normal.bottom - normal.top);
    GetWindowRect(application, &frame);
    EXPECT_TRUE(IsRectEmpty(&frame)) << "the application window takes room";
  };
  for (const int state :
       {SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE}) {
    SCOPED_TRACE(state);
    App app(LaunchOptions{TestSettings().nengaExe, workDir_, L"", static_cast<WORD>(state)});
    ASSERT_TRUE(app.started());
    const bool minimized = state == SW_SHOWMINIMIZED || state == SW_SHOWMINNOACTIVE;
    HWND application = nullptr;
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      const auto applications = app.AllTopWindows(kAppClass, kAppTitle);
      const auto mains = app.AllTopWindows(kMainClass, kMainCaption);
      if (applications.size() != 1 || mains.size() != 1) return false;
      application = applications.front();
      main = mains.front();
      return minimized ? IsIconic(application) != FALSE : IsWindowVisible(main) != FALSE;
    })) << "the program did not come up";
    // Let the start-up finish before looking.
    ASSERT_TRUE(DrainPostedMessages(GetDlgItem(main, ids::kTxtNum)));
    if (minimized) {
      EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows beside a minimised button";
      RECT frame{};
      GetWindowRect(application, &frame);
      const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
      RECT shown{};
      EXPECT_FALSE(IntersectRect(&shown, &frame, &screen))
          << "the minimised application window shows at " << frame.left << "," << frame.top;
      PostMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);  // as the taskbar button does
      ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(application); }))
          << "the taskbar button did not bring the main window back";
      EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == GetDlgItem(main, ids::kTxtNum); }));
    }
    expectFixed(main, application);
  }
}

// Screen readers name a button by its window text; the pictures draw none.
TEST_F(NengaTest, PictureButtonsAreNamedByTheirHints) {
  const std::pair<int, std::wstring_view> names[] = {
      {ids::kCmdCheck, L"当たり番号を検索します"},
      {ids::kCmdOpen, L"当たり番号ファイルの読み込み"},
      {ids::kCmdEdit, L"当たり番号ファイルの編集"},
      {ids::kCmdHelp, L"ヘルプです"}};
  for (const auto& [id, name] : names) {
    EXPECT_EQ(ReadText(Control(main_, id)), name) << id;
  }
}

TEST_F(NengaTest, WinDialogGivesOkTheFocusWhenActivatedAgain) {
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(atari_) == cmdOK_; }));

  OtherWindow other;  // the user switches to another application and back
  ASSERT_TRUE(Activate(other.hwnd()));
  ASSERT_TRUE(Activate(atari_));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(atari_) == cmdOK_; }))
      << "the focus is not on OK after the dialog was activated again";
  // Enter, where the focus is, closes the dialog.
  PostKey(FocusOf(atari_), VK_RETURN);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));
}

// The program traces its GDI handles as well: Wine counts a process's GDI objects there
// whether or not another process can read them.
class SoakTest : public NengaTest {
 protected:
  void Prepare(LaunchOptions& options) override { options.wineDebug += L",+pid,trace+gdi"; }
};

// Two thousand checks through the window: losing numbers, wins (each a win dialog)
// and wrong lengths (each an information box). What the program holds is sampled every
// hundred checks and printed; it must not grow with the checks.
TEST_F(SoakTest, SoakOfTwoThousandChecksKeepsResourcesFlat) {
  // Class 1 a six-digit number no check uses; class 2 wins every number ending in 67.
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("soak.txt", "1:\r\n999999\r\n2:\r\n67\r\n")));
  constexpr int kChecks = 2000;
  std::vector<Usage> samples;
  std::vector<std::optional<int>> traced;  // GDI objects by the trace
  GdiHandleTrace gdiTrace(logFile_, app_->processId());
  int wins = 0;
  int boxes = 0;
  for (int i = 0; i < kChecks; ++i) {
    wchar_t digits[16];
    if (i % 10 == 3) {  // a win
      std::swprintf(digits, 16, L"%04d67", i % 10000);
      ASSERT_TRUE(WriteText(txtNum_, digits));
      PressEnter();
      const std::wstring announcement = std::wstring(digits) + L" は2等です。";
      ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(announcement)) << "check " << i;
      PostClick(cmdOK_);
      ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(digits)) << "check " << i;
      ++wins;
    } else if (i % 20 == 7) {  // a wrong length: five or seven characters
      std::swprintf(digits, 16, i % 40 == 7 ? L"%05d" : L"%07d", i);
      ASSERT_TRUE(WriteText(txtNum_, digits));
      PressEnter();
      HWND box = WaitForBox(kAppTitle);
      ASSERT_NE(box, nullptr) << "check " << i;
      ASSERT_NO_FATAL_FAILURE(CloseBox(box)) << "check " << i;
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; })) << "check " << i;
      ++boxes;
    } else {  // a number that wins nothing
      std::swprintf(digits, 16, L"%04d00", i % 10000);
      ASSERT_TRUE(WriteText(txtNum_, digits));
      PressEnter();
      ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(digits)) << "check " << i;
    }
    if ((i + 1) % 100 == 0) {
      samples.push_back(app_->ResourceUsage());
      traced.push_back(gdiTrace.Count());
    }
  }
  EXPECT_GE(wins, 200);
  EXPECT_GE(boxes, 100);

  // The series, on standard output and in e2e/soak.txt beside the screenshots.
  std::string series = "checks  private KiB  working set KiB  windows  GDI objects  GDI traced\n";
  auto shown = [](std::optional<int> n) { return n ? std::to_string(*n) : std::string("n/a"); };
  for (std::size_t k = 0; k < samples.size(); ++k) {
    const Usage& u = samples[k];
    char row[128];
    std::snprintf(row, sizeof(row), "%6zu  %11zu  %15zu  %7d  %11s  %10s\n", (k + 1) * 100,
                  u.privateBytes / 1024, u.workingSet / 1024, u.windows,
                  shown(u.gdiObjects).c_str(), shown(traced[k]).c_str());
    series += row;
  }
  std::fputs(series.c_str(), stdout);
  std::ofstream(TestSettings().outDir / "soak.txt", std::ios::trunc) << series;

  // Flat: the sample at 500 checks (heaps and caches warmed up) against the last,
  // memory as the least of five samples: a sound or a box in flight adds to some of
  // them (about a megabyte, on a loaded machine to most), a leak to every one.
  ASSERT_EQ(samples.size(), 20u);
  auto least = [&](std::size_t from, std::size_t Usage::*field) {
    std::size_t value = samples[from].*field;
    for (std::size_t k = from + 1; k < from + 5; ++k) value = std::min(value, samples[k].*field);
    return value;
  };
  const Usage& early = samples[4];
  const Usage& last = samples.back();
  EXPECT_EQ(last.windows, early.windows);
  if (early.gdiObjects && last.gdiObjects) {
    EXPECT_LE(*last.gdiObjects, *early.gdiObjects + 2);
  }
  EXPECT_LE(least(15, &Usage::privateBytes), least(4, &Usage::privateBytes) + 512 * 1024);
  EXPECT_LE(least(15, &Usage::workingSet), least(4, &Usage::workingSet) + 1024 * 1024);
  ASSERT_TRUE(traced[4] && traced.back()) << "no GDI handle trace in " << logFile_.string();
  EXPECT_LE(*traced.back(), *traced[4] + 2);
}

// A copy of the program in a folder of its own, with the named (nearly empty) files
// beside it, started from another folder, as a shortcut with a working folder elsewhere
// starts it. Spaces and brackets in the folder's name; Wine keeps a name outside ASCII
// only where the Unix locale can hold it.
class ProgramFolderTest : public NengaTest {
 protected:
  explicit ProgramFolderTest(std::initializer_list<std::wstring_view> beside = {})
      : beside_(beside.begin(), beside.end()) {}

  void Prepare(LaunchOptions& options) override {
    programDir_ = workDir_ / "Program Files (x86) nenga";
    fs::create_directories(programDir_);
    fs::copy_file(options.exe, programDir_ / "nenga.exe", fs::copy_options::overwrite_existing);
    for (const std::wstring& file : beside_) std::ofstream(programDir_ / file) << "help\n";
    options.exe = programDir_ / "nenga.exe";
  }

  fs::path programDir_;

 private:
  std::vector<std::wstring> beside_;
};

// Help is told to close for the window that opened it, while that window still
// exists: when the main window is closed, and when the program ends by a quit request.
// The help file and the page are both beside the program; the help file wins.
class HelpFileTest : public ProgramFolderTest {
 protected:
  HelpFileTest() : ProgramFolderTest({L"vorel.hlp", L"help.html"}) {}
};

TEST_F(HelpFileTest, HelpClosesForTheMainWindowWhenItIsClosed) {
  const fs::path opened = workDir_ / "opened.txt";
  PageOpener opener(opened);
  HelpViewer viewer;
  PostClick(Control(main_, ids::kCmdHelp));
  ASSERT_TRUE(viewer.WaitForRequests(1)) << "help was not asked for";
  EXPECT_EQ(viewer.requests[0].command, static_cast<UINT>(HELP_CONTENTS));
  EXPECT_EQ(viewer.requests[0].owner, main_);
  EXPECT_EQ(viewer.requests[0].file, (programDir_ / "vorel.hlp").string());
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));

  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(viewer.WaitForRequests(2)) << "help was not told to close";
  EXPECT_EQ(viewer.requests[1].command, static_cast<UINT>(HELP_QUIT));
  EXPECT_EQ(viewer.requests[1].owner, main_);
  EXPECT_TRUE(viewer.requests[1].ownerExisted) << "the main window was gone already";
  EXPECT_EQ(viewer.requests[1].file, viewer.requests[0].file);
  EXPECT_EQ(app_->WaitForExit(), std::optional<DWORD>(0));
  // With a help file there, the page beside it was not opened.
  EXPECT_FALSE(fs::exists(opened));
}

TEST_F(HelpFileTest, HelpClosesForTheMainWindowAtAQuitRequest) {
  HelpViewer viewer;
  PostClick(Control(main_, ids::kCmdHelp));
  ASSERT_TRUE(viewer.WaitForRequests(1)) << "help was not asked for";
  // Ten numbers in a class: the overflow's message, then the quit request.
  std::string file = "1:\r\n";
  for (int i = 1; i <= 10; ++i) file += std::to_string(100000 + i) + "\r\n";
  ASSERT_NO_FATAL_FAILURE(ChooseFile(WriteFile("ten.txt", file)));
  HWND box = WaitForBox(kAppTitle);
  ASSERT_NE(box, nullptr) << "no information box at the overflow";
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  ASSERT_TRUE(viewer.WaitForRequests(2)) << "help was not told to close";
  EXPECT_EQ(viewer.requests[1].command, static_cast<UINT>(HELP_QUIT));
  EXPECT_EQ(viewer.requests[1].owner, main_);
  EXPECT_TRUE(viewer.requests[1].ownerExisted) << "the main window was gone already";
  EXPECT_EQ(app_->WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(ProgramFolderTest, CuesComeFromTheProgramsFolderWhateverTheCurrentFolder) {
  // The file dialog moves the current folder to the chosen file's.
  const fs::path elsewhere = workDir_ / "other" / "win.txt";
  fs::create_directories(elsewhere.parent_path());
  fs::rename(WriteFile("win.txt", kExampleFile), elsewhere);
  ASSERT_NO_FATAL_FAILURE(Load(elsewhere));
  ASSERT_NO_FATAL_FAILURE(Type(L"1"));

  // Windows looks a bare name up in the current folder and plays its default sound
  // when it finds nothing there (Wine looks in the program's folder too, and plays no
  // default): so the full path, and no default sound.
  const std::string folder = WineTraceText(programDir_.wstring() + L"\\");
  const SoundTrace sounds = Sounds(2);
  EXPECT_EQ(sounds.names, (std::vector<std::string>{folder + "kaeru.wav", folder + "pi.wav"}));
  EXPECT_EQ(sounds.flags, std::vector<DWORD>(2, SND_FILENAME | SND_ASYNC | SND_NODEFAULT));
}

// The same copy with a stranger's winmm.dll beside it. Wine loads its own winmm unless
// told to load one found on the search path first, as Windows does; it takes that from
// the Unix environment this test is started with, not from the program's.
class PlantedDllTest : public ProgramFolderTest {
 protected:
  void Prepare(LaunchOptions& options) override {
    ProgramFolderTest::Prepare(options);
    ASSERT_FALSE(TestSettings().plantedDll.empty()) << "no --planted-dll";
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const wchar_t* overrides = _wgetenv(L"WINEDLLOVERRIDES");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) {
      ASSERT_TRUE(overrides &&
                  std::wstring_view(overrides).find(L"winmm=n,b") != std::wstring_view::npos)
          << "under Wine, run with WINEDLLOVERRIDES=winmm=n,b";
    }
    fs::copy_file(TestSettings().plantedDll, programDir_ / "winmm.dll",
                  fs::copy_options::overwrite_existing);
  }
};

TEST_F(PlantedDllTest, SystemDllsComeFromTheSystemFolderOnly) {
  // The first keystroke plays the first cue, which loads winmm.
  PostChars(txtNum_, L"1");
  EXPECT_EQ(Cues(1), std::vector<std::string>{"pi.wav"}) << "the system's winmm played nothing";
  EXPECT_FALSE(fs::exists(programDir_ / "winmm-loaded.txt"))
      << "the winmm.dll beside the program was loaded";
  EXPECT_TRUE(app_->Running());
}

// The taskbar's pictures of the program, through a stand-in for the desktop window
// manager's dwmapi.dll (tests/e2e/recording_dwmapi.cpp), which records the calls and
// keeps the pictures handed over. The program loads system DLLs from the system folder
// only, so the stand-in goes there for the test, and Wine loads it instead of its own
// when told dwmapi=n in the environment the test is started with.
class TaskbarPreviewTest : public NengaTest {
 protected:
  struct Handed {
    int width = 0;
    int height = 0;
    int bits = 0;  // of the DIB section handed over
    bool opaque = false;
    POINT offset{};
    Pixels pixels;
  };

  void SetUp() override {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) {
      GTEST_SKIP() << "replaces the system's dwmapi.dll: only in a Wine prefix";
    }
    const wchar_t* overrides = _wgetenv(L"WINEDLLOVERRIDES");
    ASSERT_TRUE(overrides &&
                std::wstring_view(overrides).find(L"dwmapi=n") != std::wstring_view::npos)
        << "run with WINEDLLOVERRIDES=dwmapi=n";
    NengaTest::SetUp();
  }

  void Prepare(LaunchOptions&) override {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    installed_ = fs::path(system) / "dwmapi.dll";
    original_ = fs::path(system) / "dwmapi.dll.nenga-test";
    CopyFileW(installed_.c_str(), original_.c_str(), TRUE);  // a failed run's copy stays
    const fs::path recorder = fs::path(self).parent_path() / "recording" / "dwmapi.dll";
    ASSERT_TRUE(CopyFileW(recorder.c_str(), installed_.c_str(), FALSE)) << GetLastError();
    record_ = workDir_ / "dwm";
    fs::create_directories(record_);
    SetEnvironmentVariableW(L"NENGA_DWM_RECORD", record_.c_str());
    SetEnvironmentVariableW(L"NENGA_DWM_TASKBAR", L"1");  // Peek's place counts it
  }

  void TearDown() override {
    app_.reset();
    SetEnvironmentVariableW(L"NENGA_DWM_RECORD", nullptr);
    SetEnvironmentVariableW(L"NENGA_DWM_TASKBAR", nullptr);
    if (!original_.empty() && CopyFileW(original_.c_str(), installed_.c_str(), FALSE)) {
      DeleteFileW(original_.c_str());
    }
  }

  static std::string Handle(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  }

  std::vector<std::string> Log() const {
    std::ifstream in(record_ / "dwm.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  bool Logged(const std::string& line) const {
    const auto lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // Asks the application window for a picture, as the window manager does, and reads
  // the one it handed over.
  std::optional<Handed> Ask(UINT message, LPARAM lParam) {
    const std::size_t before = Log().size();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(appWindow_, message, 0, lParam, SMTO_ABORTIFHUNG, kStateTimeout,
                             &result)) {
      ADD_FAILURE() << "the application window did not answer";
      return std::nullopt;
    }
    const auto lines = Log();
    if (lines.size() != before + 1) {
      ADD_FAILURE() << "not one picture handed over but " << lines.size() - before;
      return std::nullopt;
    }
    std::istringstream line(lines.back());
    std::string kind, window, file;
    Handed handed;
    line >> kind >> window >> handed.width >> handed.height >> handed.bits;
    if (kind == "preview") line >> handed.offset.x >> handed.offset.y;
    line >> file;
    EXPECT_EQ(kind, message == WM_DWMSENDICONICTHUMBNAIL ? "thumbnail" : "preview");
    EXPECT_EQ(window, Handle(appWindow_)) << "handed over for another window";
    const std::string bytes = FileBytes(record_ / file);
    const auto count =
        static_cast<std::size_t>(handed.width) * static_cast<std::size_t>(handed.height);
    if (handed.bits != 32 || bytes.size() < 54 + count * 4) {
      ADD_FAILURE() << "not a 32-bit DIB section: " << lines.back();
      return std::nullopt;
    }
    handed.pixels = {handed.width, handed.height, std::vector<std::uint32_t>(count)};
    std::memcpy(handed.pixels.rgb.data(), bytes.data() + 54, count * 4);
    handed.opaque = std::all_of(handed.pixels.rgb.begin(), handed.pixels.rgb.end(),
                                [](std::uint32_t pixel) { return pixel >> 24 == 0xFF; });
    for (std::uint32_t& pixel : handed.pixels.rgb) pixel &= 0xFFFFFF;
    return handed;
  }

  std::optional<Handed> AskThumbnail(SIZE most) {
    auto handed = Ask(WM_DWMSENDICONICTHUMBNAIL, MAKELPARAM(most.cy, most.cx));
    if (handed) {
      std::printf("thumbnail asked %ldx%ld, handed %dx%d\n", most.cx, most.cy, handed->width,
                  handed->height);
    }
    return handed;
  }

  // The average colour of each cell of a picture cut into kCells x kCells.
  static constexpr int kCells = 8;
  static std::vector<double> Cells(const Pixels& picture) {
    std::vector<double> cells;
    for (int cy = 0; cy < kCells; ++cy) {
      for (int cx = 0; cx < kCells; ++cx) {
        double sum[3] = {0, 0, 0};
        int count = 0;
        for (int y = cy * picture.height / kCells; y < (cy + 1) * picture.height / kCells; ++y) {
          for (int x = cx * picture.width / kCells; x < (cx + 1) * picture.width / kCells; ++x) {
            const std::uint32_t pixel =
                picture.rgb[static_cast<std::size_t>(y * picture.width + x)];
            for (int c = 0; c < 3; ++c) sum[c] += (pixel >> (8 * c)) & 0xFF;
            ++count;
          }
        }
        for (double channel : sum) cells.push_back(channel / std::max(count, 1));
      }
    }
    return cells;
  }

  // The picture handed over is the window's own, at its size: cell by cell the same
  // colours as the screen shows (a missing control or picture changes a cell by far
  // more), and not one plain colour.
  static void ExpectPictureOf(const Handed& handed, const Pixels& window, SIZE most) {
    EXPECT_TRUE(handed.opaque) << "the window manager would show it transparent";
    EXPECT_LE(handed.width, most.cx);
    EXPECT_LE(handed.height, most.cy);
    const double wide = static_cast<double>(window.width) * handed.height / window.height;
    const double high = static_cast<double>(window.height) * handed.width / window.width;
    EXPECT_TRUE((handed.width == std::min<LONG>(most.cx, window.width) &&
                 std::abs(handed.height - high) <= 1) ||
                (handed.height == std::min<LONG>(most.cy, window.height) &&
                 std::abs(handed.width - wide) <= 1))
        << handed.width << "x" << handed.height << " for a window of " << window.width << "x"
        << window.height << " in " << most.cx << "x" << most.cy;
    const auto got = Cells(handed.pixels);
    const auto want = Cells(window);
    double worst = 0;
    for (std::size_t i = 0; i < got.size(); ++i)
      worst = std::max(worst, std::abs(got[i] - want[i]));
    EXPECT_LE(worst, 24) << "a cell of the picture differs from the window on the screen";
    const auto [least, most_] = std::minmax_element(want.begin(), want.end());
    EXPECT_GE(*most_ - *least, 64) << "the window itself shows one colour";
  }

  fs::path installed_;
  fs::path original_;
  fs::path record_;
};

TEST_F(TaskbarPreviewTest, ThumbnailAndPeekShowTheWindowInUse) {
  const std::string app = Handle(appWindow_);
  ASSERT_TRUE(WaitUntil([&] {
    return Logged("attribute " + app + " " + std::to_string(DWMWA_FORCE_ICONIC_REPRESENTATION) +
                  " 1") &&
           Logged("attribute " + app + " " + std::to_string(DWMWA_HAS_ICONIC_BITMAP) + " 1");
  })) << "the application window did not ask for iconic pictures";
  // The start-up needs neither: dwmapi comes after the first paint, from the event loop.
  EXPECT_TRUE(Logged("loaded after the first paint, from the event loop, shcore not loaded"));

  const auto main = SteadyPixels(main_);
  ASSERT_TRUE(main.has_value());
  Screenshot(main_, "preview-main");
  for (const SIZE most : {SIZE{200, 120}, SIZE{100, 300}}) {
    const auto thumbnail = AskThumbnail(most);
    ASSERT_TRUE(thumbnail.has_value());
    ExpectPictureOf(*thumbnail, *main, most);
  }
  // Peek: the window at full size, where it stands against the application window.
  auto preview = Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0);
  ASSERT_TRUE(preview.has_value());
  ExpectPictureOf(*preview, *main, {main->width, main->height});
  RECT frame{};
  RECT appFrame{};
  GetWindowRect(main_, &frame);
  GetWindowRect(appWindow_, &appFrame);
  EXPECT_EQ(preview->offset.x, frame.left - appFrame.left);
  EXPECT_EQ(preview->offset.y, frame.top - appFrame.top);

  // The file-open dialog stands in the work area beside the stand-in's taskbar, 48
  // pixels wide on the left and 32 high at the top: centred across, a third of the free
  // height above it.
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  const RECT& at = openDialogFrame_;
  EXPECT_EQ(at.left, 48 + (GetSystemMetrics(SM_CXSCREEN) - 48 - (at.right - at.left)) / 2);
  EXPECT_EQ(at.top, 32 + (GetSystemMetrics(SM_CYSCREEN) - 32 - (at.bottom - at.top)) / 3);

  // The win dialog, the window in use while it shows. Enter on the focused rabbit button
  // opens it within that one key's message: the pictures are dropped before it is handled.
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  EXPECT_TRUE(Logged("invalidate " + app)) << "typing left the thumbnail as it was";
  for (int i = 0; i < 4; ++i) PostKey(txtNum_, VK_TAB);  // after help, edit and open
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == cmdCheck_; })) << Focus();
  ASSERT_TRUE(AskThumbnail({200, 120}).has_value());
  PostKey(cmdCheck_, VK_RETURN);
  ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
  EXPECT_EQ(Log().back(), "invalidate " + app) << "the main window's pictures stayed";
  const auto dialog = SteadyPixels(atari_);
  ASSERT_TRUE(dialog.has_value());
  const auto shown = AskThumbnail({200, 120});
  ASSERT_TRUE(shown.has_value());
  ExpectPictureOf(*shown, *dialog, {200, 120});
  PostClick(cmdOK_);
  ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));

  // Minimised from the taskbar button, the program's windows hide: the picture of the
  // main window as it was goes on being handed over.
  const auto before = SteadyPixels(main_);
  ASSERT_TRUE(before.has_value());
  PostMessageW(appWindow_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_) && IsIconic(appWindow_); }));
  const auto hidden = AskThumbnail({200, 120});
  ASSERT_TRUE(hidden.has_value());
  ExpectPictureOf(*hidden, *before, {200, 120});
  preview = Ask(WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0);
  ASSERT_TRUE(preview.has_value());
  ExpectPictureOf(*preview, *before, {before->width, before->height});
}

// A key that comes before the start-up timer's message (which comes only once the queue
// is empty) finishes the start-up first, so that no key reaches txtNum with its input
// method open: the start-up's last step offers the taskbar's pictures even when a quit
// request follows the key. A second program gets both in its queue as soon as it has one.
TEST_F(TaskbarPreviewTest, KeyBeforeTheStartupTimerFinishesTheStartup) {
  const std::string offer = " " + std::to_string(DWMWA_HAS_ICONIC_BITMAP) + " 1";
  auto offers = [&] {
    const auto lines = Log();
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.starts_with("attribute ") && line.ends_with(offer);
    });
  };
  ASSERT_TRUE(WaitUntil([&] { return offers() == 1; })) << "the program never offered pictures";
  App early({TestSettings().nengaExe, workDir_, L"", {}});
  ASSERT_TRUE(early.started());
  while (!PostThreadMessageW(early.threadId(), WM_KEYDOWN, VK_SHIFT, 1) && early.Running()) {
    Sleep(1);
  }
  PostThreadMessageW(early.threadId(), WM_QUIT, 0, 0);
  EXPECT_EQ(early.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(offers(), 2) << "the start-up did not finish before the quit request";
}

// What Windows does when the user sets the monitor to another scale while the program
// runs, played inside the program by the stand-in dwmapi, which the program loads once
// its windows are up: both windows lay themselves out again as they would be made at
// that scale, what was typed stays, a win shows in the new layout and the taskbar's
// pictures are of it; then back. Twenty changes more leave the program's GDI objects as
// they were, as Wine's trace of its GDI handles counts them.
class ScaleChangeTest : public TaskbarPreviewTest {
 protected:
  void Prepare(LaunchOptions& options) override {
    TaskbarPreviewTest::Prepare(options);
    options.wineDebug += L",+pid,trace+gdi";
  }

  void ChangeScale(UINT dpi) {
    static const UINT kChangeScale = RegisterWindowMessageW(L"Nenga.Test.ChangeScale");
    const std::string want = " " + std::to_string(dpi) + " ";
    auto changed = [&](HWND window) {
      const auto lines = Log();
      return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.starts_with("scale " + Handle(window) + want);
      });
    };
    const std::string dropped = "invalidate " + Handle(appWindow_);
    auto drops = [&] {
      const auto lines = Log();
      return std::count(lines.begin(), lines.end(), dropped);
    };
    const auto mainBefore = changed(main_), atariBefore = changed(atari_), dropsBefore = drops();
    PostMessageW(main_, kChangeScale, dpi, 0);
    PostMessageW(atari_, kChangeScale, dpi, 0);
    ASSERT_TRUE(WaitUntil([&] {
      return changed(main_) > mainBefore && changed(atari_) > atariBefore;
    })) << "the scale change was not played";
    // The taskbar's pictures of the old layout are dropped, to be taken anew.
    EXPECT_GT(drops(), dropsBefore);
  }

  // The window and its controls where the layout at dpi puts them. The client area is
  // the layout's, or, under Wine, whose real frame keeps the metrics of the scale the
  // program started at, larger by what the frame at dpi adds over that one.
  void ExpectLaidOut(HWND window, const FormLayout& layout, UINT dpi) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT atDpi{0, 0, layout.clientWidth, layout.clientHeight};
    RECT atStart = atDpi;
    AdjustWindowRectForDpi(atDpi, style, exStyle, dpi);
    AdjustWindowRectForDpi(atStart, style, exStyle, SystemDpi());
    RECT frame{}, client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    EXPECT_EQ(frame.right - frame.left, atDpi.right - atDpi.left);
    EXPECT_EQ(frame.bottom - frame.top, atDpi.bottom - atDpi.top);
    const LONG extraX = (atDpi.right - atDpi.left) - (atStart.right - atStart.left);
    const LONG extraY = (atDpi.bottom - atDpi.top) - (atStart.bottom - atStart.top);
    EXPECT_TRUE(client.right == layout.clientWidth || client.right == layout.clientWidth + extraX)
        << client.right << " for " << layout.clientWidth;
    EXPECT_TRUE(client.bottom == layout.clientHeight ||
                client.bottom == layout.clientHeight + extraY)
        << client.bottom << " for " << layout.clientHeight;
    for (const ControlLayout& row : layout.controls) {
      SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << dpi << " dpi");
      const RECT r = test::RectInParent(Control(window, row.id));
      EXPECT_EQ(r.left, row.x);
      if (row.kind == ControlKind::kLabel || row.kind == ControlKind::kAutoSizeLabel) {
        EXPECT_LE(r.top, row.y);  // a label grows to its text
        EXPECT_GE(r.right - r.left, row.width);
        continue;
      }
      EXPECT_EQ(r.top, row.y);
      EXPECT_EQ(r.right - r.left, row.width);
      EXPECT_EQ(r.bottom - r.top, row.height);
    }
  }

  void CheckAWin(const std::string& shot) {
    ASSERT_NO_FATAL_FAILURE(Type(L"3456"));
    PressEnter();
    ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(L"123456 は1等です。"));
    const auto dialog = SteadyPixels(atari_);
    ASSERT_TRUE(dialog.has_value());
    Screenshot(atari_, shot);
    // The taskbar's picture is of the dialog as it shows now.
    const auto thumbnail = AskThumbnail({200, 120});
    ASSERT_TRUE(thumbnail.has_value());
    ExpectPictureOf(*thumbnail, *dialog, {200, 120});
    PostClick(cmdOK_);
    ASSERT_NO_FATAL_FAILURE(ExpectCheckDone(L"123456"));
  }
};

TEST_F(ScaleChangeTest, WindowsFollowTheirMonitorsScale) {
  const std::string app = Handle(appWindow_);
  ASSERT_TRUE(WaitUntil([&] {
    return Logged("attribute " + app + " " + std::to_string(DWMWA_HAS_ICONIC_BITMAP) + " 1");
  })) << "the program never loaded dwmapi";
  ASSERT_NO_FATAL_FAILURE(Load(WriteFile("win.txt", kExampleFile)));
  const UINT start = SystemDpi();
  const UINT other = start == 144 ? 96 : 144;
  for (const UINT dpi : {other, start}) {
    SCOPED_TRACE(testing::Message() << start << " dpi to " << dpi);
    ASSERT_NO_FATAL_FAILURE(Type(L"12"));
    ASSERT_NO_FATAL_FAILURE(ChangeScale(dpi));
    const int fontHeight = MeasureFormFontHeight(dpi);
    ExpectLaidOut(main_, MainFormLayout(fontHeight), dpi);
    EXPECT_EQ(ReadText(txtNum_), L"12");
    EXPECT_EQ(FocusOf(main_), txtNum_);
    Screenshot(main_, "scale-" + std::to_string(dpi) + "-main");
    ASSERT_NO_FATAL_FAILURE(CheckAWin("scale-" + std::to_string(dpi) + "-win"));
    ExpectLaidOut(atari_, AtariFormLayout(fontHeight), dpi);
  }

  // A picture is loaded when it is first painted: each count is taken with every
  // control painted.
  GdiHandleTrace gdiTrace(logFile_, app_->processId());
  auto painted = [&] {
    return Activate(main_) &&
           RedrawWindow(main_, nullptr, nullptr,
                        RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN) &&
           DrainPostedMessages(txtNum_);
  };
  ASSERT_NO_FATAL_FAILURE(ChangeScale(other));
  ASSERT_NO_FATAL_FAILURE(ChangeScale(start));
  ASSERT_TRUE(painted());
  const auto before = gdiTrace.Count();
  ASSERT_TRUE(before.has_value()) << "no GDI trace";
  for (int i = 0; i < 20; ++i) {
    ASSERT_NO_FATAL_FAILURE(ChangeScale(other));
    ASSERT_NO_FATAL_FAILURE(ChangeScale(start));
  }
  ASSERT_TRUE(painted());
  EXPECT_EQ(gdiTrace.Count(), before) << "GDI objects after twenty changes and back";

  // Minimised, the picture kept for the thumbnail is taken anew: at its full size (a
  // thumbnail is never enlarged), as large as the main window now is.
  PostMessageW(appWindow_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_) && IsIconic(appWindow_); }));
  ASSERT_NO_FATAL_FAILURE(ChangeScale(other));
  RECT frame{};
  GetWindowRect(main_, &frame);
  const auto kept = AskThumbnail({4000, 4000});
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->width, frame.right - frame.left);
  EXPECT_EQ(kept->height, frame.bottom - frame.top);
}

// Without a help file, the help page beside the program opens in the user's program
// for pages, by its full path; the help viewer is never asked, not even at exit.
class HelpPageTest : public ProgramFolderTest {
 protected:
  HelpPageTest() : ProgramFolderTest({L"help.html"}) {}
};

TEST_F(HelpPageTest, HelpOpensThePageBesideTheProgramWithoutAHelpFile) {
  PageOpener opener(workDir_ / "opened.txt");
  HelpViewer viewer;
  PostClick(Control(main_, ids::kCmdHelp));
  const auto page = opener.WaitForPage();
  ASSERT_TRUE(page.has_value()) << "the help page was not opened; " << Shown();
  EXPECT_EQ(*page, (programDir_ / L"help.html").wstring());
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; }));
  EXPECT_EQ(Cues(1), std::vector<std::string>{"chop.wav"});

  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_->WaitForExit(), std::optional<DWORD>(0));
  viewer.WaitForRequests(0);
  EXPECT_TRUE(viewer.requests.empty())
      << "the help viewer was asked for " << viewer.requests[0].file;
}

// While it exists, the system folder's notepad.exe is the recording editor (Wine runs
// it instead of its own only when told notepad.exe=n); Wine's own is put back after.
class SystemNotepadStandIn {
 public:
  explicit SystemNotepadStandIn(const fs::path& recorder) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    notepad_ = fs::path(folder) / "notepad.exe";
    saved_ = fs::path(folder) / "notepad.exe.nenga-test";
    std::error_code ignored;
    // A run that ended before putting Wine's own back left it saved.
    if (!fs::exists(saved_)) fs::rename(notepad_, saved_, ignored);
    fs::remove(Record(), ignored);
    fs::copy_file(recorder, notepad_, fs::copy_options::overwrite_existing);
  }
  ~SystemNotepadStandIn() {
    std::error_code ignored;
    // The stand-in may not have ended yet, and a running program cannot be removed.
    WaitUntil([&] { return fs::remove(notepad_, ignored) || !fs::exists(notepad_); });
    fs::rename(saved_, notepad_, ignored);
    fs::remove(Record(), ignored);
  }
  SystemNotepadStandIn(const SystemNotepadStandIn&) = delete;
  SystemNotepadStandIn& operator=(const SystemNotepadStandIn&) = delete;

  fs::path Record() const { return notepad_.parent_path() / "notepad-ran.txt"; }

 private:
  fs::path notepad_;
  fs::path saved_;
};

// What a recording editor wrote: its command line and its working folder.
std::optional<std::pair<std::wstring, std::wstring>> ReadEditorRecord(const fs::path& file) {
  const std::optional<std::wstring> text = FileUtf16(file);
  if (!text) return std::nullopt;
  const std::size_t end = text->find(L'\n');
  if (end == std::wstring::npos) return std::nullopt;
  return std::make_pair(text->substr(0, end), text->substr(end + 1));
}

// A command line without its program's name, as the program reads its arguments.
std::wstring ArgumentsOf(std::wstring_view commandLine) {
  std::size_t at = 0;
  if (commandLine.starts_with(L'"')) {
    at = commandLine.find(L'"', 1);
    at = at == std::wstring_view::npos ? commandLine.size() : at + 1;
  } else {
    at = std::min(commandLine.find(L' '), commandLine.size());
  }
  while (at < commandLine.size() && commandLine[at] == L' ') ++at;
  return std::wstring(commandLine.substr(at));
}

// A stranger's notepad.exe lies beside the program; the edit command starts the
// system's own, on the year's file beside the program as one quoted full path (the
// folder has spaces in its name), with the program's folder as its working folder; the
// box after a load starts it so on the file just loaded, in that file's folder.
class EditorTest : public ProgramFolderTest {
 protected:
  void Prepare(LaunchOptions& options) override {
    ProgramFolderTest::Prepare(options);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const wchar_t* overrides = _wgetenv(L"WINEDLLOVERRIDES");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) {
      ASSERT_TRUE(overrides &&
                  std::wstring_view(overrides).find(L"notepad.exe=n") != std::wstring_view::npos)
          << "under Wine, run with WINEDLLOVERRIDES=notepad.exe=n";
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    recorder_ = fs::path(self).parent_path() / "stand-in" / "notepad.exe";
    fs::copy_file(recorder_, programDir_ / "notepad.exe", fs::copy_options::overwrite_existing);
  }

  fs::path recorder_;
};

// A folder that takes no new file, then a disk that fills while the year's file is
// written: the warning names the folder and the system's reason, nothing is left of the
// file, and Notepad, which could never save it, stays shut.
class UnwritableFolderTest : public EditorTest {
 protected:
  void Prepare(LaunchOptions& options) override {
    EditorTest::Prepare(options);
    for (const auto& file : fs::directory_iterator(programDir_)) {
      fs::copy_file(file, source_ / file.path().filename(), fs::copy_options::overwrite_existing);
    }
    programDir_ = target_;
    options.exe = target_ / "nenga.exe";
    if (source_ != target_) return;
    // On the small disk, a file of its own takes what room is left, a page at a time.
    std::ofstream filler(target_ / "filler", std::ios::binary);
    const std::string page(4096, '\0');
    while (filler.write(page.data(), static_cast<std::streamsize>(page.size())).flush()) {
    }
  }

  fs::path mounts_ = TestSettings().outDir / "unwritable";
  fs::path source_ = mounts_ / "source";
  fs::path target_ = mounts_ / "read-only";
};

TEST_F(UnwritableFolderTest, NeitherFolderStartsNotepadOnAFileItCannotSave) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto notepadRuns = [] {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
      found = _wcsicmp(entry.szExeFile, L"notepad.exe") == 0;
    }
    CloseHandle(snapshot);
    return found;
  };
  for (const DWORD error : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_DISK_FULL}}) {
    SCOPED_TRACE(programDir_.string());
    SystemNotepadStandIn notepad(recorder_);
    PostClick(Control(main_, ids::kCmdEdit));
    HWND box = WaitForBox(kAppTitle);
    wchar_t reason[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   reason, 512, nullptr);
    std::wstring why = reason;
    while (!why.empty() && iswspace(why.back())) why.pop_back();
    EXPECT_EQ(BoxText(box, kInfoTextId),
              L"このフォルダーには今年のファイルを作れないので、メモ帳で開きません。\r\n\r\n" +
                  programDir_.wstring() + L"\\\r\n\r\n理由: " + why +
                  L"\r\n\r\nプログラムのフォルダーを、ドキュメントやデスクトップなど、"
                  L"書き込めるところへ移してから、もう一度押してください。");
    ASSERT_NO_FATAL_FAILURE(CloseBox(box));
    // Notepad would have been started before the number box took the focus back.
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == txtNum_; })) << Focus();
    EXPECT_FALSE(fs::exists(notepad.Record()) || notepadRuns()) << "Notepad ran";
    EXPECT_FALSE(fs::exists(programDir_ / (std::to_wstring(now.wYear) + L".txt")));
    if (error == ERROR_DISK_FULL) break;
    app_.reset();
    fs::remove_all(workDir_ / "Program Files (x86) nenga");
    source_ = target_ = mounts_ / "full";
    ASSERT_NO_FATAL_FAILURE(Launch(TestSettings().nengaExe));
  }
}

TEST_F(EditorTest, EditorIsTheSystemsNotepadOnTheYearsFileOrTheFileJustLoaded) {
  SystemNotepadStandIn notepad(recorder_);
  PostClick(Control(main_, ids::kCmdEdit));
  std::optional<std::pair<std::wstring, std::wstring>> record;
  WaitUntil([&] { return (record = ReadEditorRecord(notepad.Record())).has_value(); });
  EXPECT_FALSE(fs::exists(programDir_ / "notepad-ran.txt"))
      << "the notepad.exe beside the program ran";
  ASSERT_TRUE(record.has_value()) << "the system's notepad.exe did not run";
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::wstring file = (programDir_ / (std::to_wstring(now.wYear) + L".txt")).wstring();
  EXPECT_EQ(ArgumentsOf(record->first), L"\"" + file + L"\"") << "command line " << record->first;
  EXPECT_TRUE(fs::equivalent(record->second, programDir_)) << "working folder " << record->second;

  // There was none: it was written before Notepad ran, and alone it names no line. With
  // a number under each header it loads clean and wins in each class, and it is kept.
  std::string filled;
  for (const char c : FileBytes(file)) filled += c == '\n' ? "\n123456\r\n" : std::string(1, c);
  EXPECT_EQ(std::ranges::count(filled, '\r'), std::ranges::count(filled, '\n')) << "not CR LF";
  ASSERT_NO_FATAL_FAILURE(ChooseFile(file));
  HWND box = WaitForBox(kAppTitle);
  EXPECT_EQ(std::ranges::count(BoxText(box, kInfoTextId).value_or(L""), L'\n'), 2) << Shown();
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  // 3等 left for later: its header is named, as nothing else tells that it is never checked.
  std::ofstream(fs::path(file), std::ios::binary) << filled.substr(0, filled.rfind("123456"));
  ASSERT_NO_FATAL_FAILURE(ChooseFile(file));
  const std::wstring text = BoxText(box = WaitForBox(kAppTitle), kInfoTextId).value_or(L"");
  EXPECT_NE(text.find(L"\n5 行目「3:3等の当たり番号を、この行の下に書き…」：3等の番号がない"),
            std::wstring::npos)
      << text;
  ASSERT_NO_FATAL_FAILURE(CloseBox(box));
  std::ofstream(fs::path(file), std::ios::binary) << filled;
  ASSERT_NO_FATAL_FAILURE(Load(file));
  ASSERT_NO_FATAL_FAILURE(Type(L"123456"));
  PressEnter();
  for (const wchar_t* win : {L"123456 は1等です。", L"123456 は2等です。", L"123456 は3等です。"}) {
    ASSERT_NO_FATAL_FAILURE(ExpectWinDialog(win));
    PostClick(cmdOK_);
  }
  fs::remove(notepad.Record());
  PostClick(Control(main_, ids::kCmdEdit));
  ASSERT_TRUE(WaitUntil([&] { return ReadEditorRecord(notepad.Record()).has_value(); }));
  EXPECT_EQ(FileBytes(file), filled);

  fs::remove(notepad.Record());
  const fs::path typed = WriteFile("typed.txt", "1:\r\n123456 \r\n");
  ASSERT_NO_FATAL_FAILURE(ChooseFile(typed));
  PostClick(GetDlgItem(WaitForBox(kAppTitle), kInfoNotepadId));
  ASSERT_TRUE(WaitUntil([&] { return (record = ReadEditorRecord(notepad.Record())).has_value(); }));
  EXPECT_EQ(ArgumentsOf(record->first), L"\"" + typed.wstring() + L"\"") << record->first;
  EXPECT_TRUE(fs::equivalent(record->second, workDir_)) << "working folder " << record->second;
}

}  // namespace
}  // namespace nenga::e2e

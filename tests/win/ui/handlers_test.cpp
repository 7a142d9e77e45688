// The main window's commands: their cues, boxes and steps, in order.
#include <algorithm>
#include <iterator>

#include "ui_fixture.h"

// After windows.h (from the fixture), which it needs.
#include <imm.h>

namespace nenga::test {
namespace {

using Events = std::vector<std::string>;

void LoadTable(std::initializer_list<std::initializer_list<const char*>> classes) {
  WinCount.fill(0);
  std::size_t k = 0;
  for (const auto& numbers : classes) {
    std::size_t i = 0;
    for (const char* number : numbers) WinNumbers[k][i++] = number;
    WinCount[k++] = static_cast<std::int32_t>(i);
  }
  FileLoaded = 1;
}

TEST_F(Windows, CreationSetsTheProgramWideValues) {
  FileLoaded = 1;
  MainWindow other(platform_, atari_);
  ASSERT_TRUE(other.Create(instance_, kDesignFontHeight));
  EXPECT_EQ(FileLoaded, 0);
  EXPECT_EQ(other.OpenDialog().title, "当たり番号のファイルを開く");
  EXPECT_EQ(other.OpenDialog().defaultExt, "txt");
  static const char kFilter[] = "(年賀当たり番号ファイル)*.txt\0*.txt\0(ALL)*.*\0*.*\0";
  EXPECT_EQ(other.OpenDialog().filter, std::string(kFilter, sizeof(kFilter) - 1));
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(EditFileName, std::to_wstring(now.wYear) + L".txt");
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  EXPECT_EQ(AppDir, folder);
  EXPECT_TRUE(platform_.events.empty());  // no cue at start-up
  other.Destroy();
}

TEST_F(Windows, EnterBeforeAnyLoadWarnsAndKeepsTheText) {
  ShowMain();
  FileLoaded = 0;
  Type("123456");
  platform_.events.clear();
  PressEnterInNumber();
  EXPECT_EQ(platform_.events,
            (Events{"cue:Chop.wav", "warning:当たり番号ファイルを読み込んで下さい。|警告"}));
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "123456");
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtLast)), "");
}

TEST_F(Windows, WrongLengthShowsTheTypedTextInTheInformationBox) {
  ShowMain();
  LoadTable({{"123456"}});
  const struct {
    const char* typed;
    const char* box;
  } cases[] = {
      {"12345", "info:12345 は入力ミスです。"},
      {"", "info: は入力ミスです。"},
      {"1234567", "info:1234567 は入力ミスです。"},
  };
  for (const auto& c : cases) {
    Type(c.typed);
    platform_.events.clear();
    PressEnterInNumber();
    EXPECT_EQ(platform_.events, (Events{"cue:Chop.wav", c.box})) << c.typed;
    EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), c.typed);
    EXPECT_EQ(TextShiftJis(Main(ids::kTxtLast)), "");
  }
}

TEST_F(Windows, LengthCountsShiftJisBytes) {
  ShowMain();
  LoadTable({{"123456"}});
  Type("１２３");  // three full-width digits, six bytes: checked, wins nothing
  platform_.events.clear();
  PressEnterInNumber();
  EXPECT_EQ(platform_.events, (Events{"cue:Chop.wav", "cue:pi.wav"}));
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtLast)), "１２３");
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "");
}

TEST_F(Windows, WinningCheckAnnouncesEveryClassBeforeUpdatingTheBoxes) {
  ShowMain();
  LoadTable({{"123456"}, {"3456"}, {"11", "22"}});
  SetWindowTextShiftJis(Main(ids::kTxtLast), "999999");
  Type("123456");
  platform_.events.clear();

  std::vector<std::string> seen;  // label, txtLast and txtNum while each dialog shows
  auto look = [&](HWND) {
    seen.push_back(TextShiftJis(Atari(ids::kLblAtari)) + "|" + TextShiftJis(Main(ids::kTxtLast)) +
                   "|" + TextShiftJis(Main(ids::kTxtNum)));
    platform_.events.push_back("dialog");
    EXPECT_FALSE(IsWindowEnabled(main_.hwnd()));  // the main window takes no input
    PostMessageW(Atari(ids::kCmdOK), BM_CLICK, 0, 0);
  };
  ModalScript script(atari_, {look, look});
  PressEnterInNumber();

  EXPECT_EQ(script.StepsRun(), 2u);
  EXPECT_FALSE(script.ForcedClose());
  EXPECT_EQ(seen, (std::vector<std::string>{"123456 は1等です。|999999|123456",
                                            "123456 は2等です。|999999|123456"}));
  EXPECT_EQ(platform_.events, (Events{"cue:Chop.wav", "cue:fan.wav", "dialog", "cue:fan.wav",
                                      "dialog", "cue:pi.wav"}));
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtLast)), "123456");
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "");
  EXPECT_TRUE(IsWindowEnabled(main_.hwnd()));
  EXPECT_FALSE(IsWindowVisible(atari_.hwnd()));
}

// A wrong-length number stays in txtNum. After the picture button the focus comes back
// and selects it, so that typing replaces it; after Enter the focus never left, and the
// caret stays at the end of the text for the user to correct it. The button goes first:
// Enter must not take the selection over from the command before it.
TEST_F(Windows, WrongLengthCheckSelectsTheTextOnlyAfterTheButton) {
  ShowMain();
  LoadTable({{"123456"}});
  const struct {
    const char* how;
    int focused;
    std::function<void()> check;
    const char* cue;
    DWORD selectionStart;
  } ways[] = {
      {"button", ids::kCmdCheck, [&] { SendMessageW(Main(ids::kCmdCheck), BM_CLICK, 0, 0); },
       "cue:kaeru.wav", 0},
      {"Enter", ids::kTxtNum, [&] { PressEnterInNumber(); }, "cue:Chop.wav", 4},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    Type("12a4");
    SendMessageW(Main(ids::kTxtNum), EM_SETSEL, 4, 4);  // the caret where typing leaves it
    SetFocus(Main(way.focused));
    ASSERT_EQ(GetFocus(), Main(way.focused));
    platform_.events.clear();
    way.check();
    Pump();
    EXPECT_EQ(platform_.events, (Events{way.cue, "info:12a4 は入力ミスです。"}));
    EXPECT_EQ(GetFocus(), Main(ids::kTxtNum));
    EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "12a4");
    DWORD start = 9;
    DWORD end = 0;
    SendMessageW(Main(ids::kTxtNum), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, way.selectionStart);
    EXPECT_EQ(end, 4u);
  }
}

// A file chosen by a double-click: the dialog closes on the second press, so the
// mouse button is still down when the command puts the focus back.
TEST_F(Windows, LoadFromTheButtonSelectsTheTextEvenWithTheMouseButtonDown) {
  ShowMain();
  Type("12345");
  SetFocus(Main(ids::kCmdOpen));
  ASSERT_EQ(GetFocus(), Main(ids::kCmdOpen));
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  platform_.onOpenDialog = [&] {
    BYTE down[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(down));
    down[VK_LBUTTON] = 0x80;
    SetKeyboardState(down);
  };
  SendMessageW(Main(ids::kCmdOpen), BM_CLICK, 0, 0);
  const bool buttonDown = GetKeyState(VK_LBUTTON) < 0;
  SetKeyboardState(keys);
  ASSERT_TRUE(buttonDown) << "the mouse button was not held";
  EXPECT_EQ(GetFocus(), Main(ids::kTxtNum));
  DWORD start = 1;
  DWORD end = 0;
  SendMessageW(Main(ids::kTxtNum), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
}

TEST_F(Windows, NumberBoxOpensWithTheInputMethodClosed) {
  HWND number = Main(ids::kTxtNum);
  HIMC context = ImmGetContext(number);
  if (context == nullptr) GTEST_SKIP() << "no input context on this system";
  ImmSetOpenStatus(context, TRUE);
  ImmReleaseContext(number, context);
  ShowMain();
  main_.FinishStartup();
  context = ImmGetContext(number);
  EXPECT_FALSE(ImmGetOpenStatus(context));
  // The user can switch it on; the box keeps it and takes any text.
  ImmSetOpenStatus(context, TRUE);
  Type("ａｂｃ１２３");
  EXPECT_TRUE(ImmGetOpenStatus(context));
  EXPECT_EQ(TextShiftJis(number), "ａｂｃ１２３");
  ImmSetOpenStatus(context, FALSE);
  ImmReleaseContext(number, context);
}

TEST_F(Windows, EnterInTheNumberBoxReachesItThroughTheDialogManager) {
  ShowMain();
  FileLoaded = 0;
  SetFocus(Main(ids::kTxtNum));
  ASSERT_EQ(GetFocus(), Main(ids::kTxtNum));
  Type("1");
  platform_.events.clear();
  // As the event loop delivers a key: the dialog manager first, then translation.
  MSG key{Main(ids::kTxtNum), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  if (!IsDialogMessageW(main_.hwnd(), &key)) {
    TranslateMessage(&key);
    DispatchMessageW(&key);
  }
  Pump();
  EXPECT_EQ(platform_.events,
            (Events{"cue:Chop.wav", "warning:当たり番号ファイルを読み込んで下さい。|警告"}));
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "1");  // the Enter character is not inserted
}

TEST_F(Windows, TypingPlaysTheChangeCue) {
  Type("1");
  Type("12");
  Type("");
  EXPECT_EQ(platform_.events, (Events{"cue:pi.wav", "cue:pi.wav", "cue:pi.wav"}));
}

TEST_F(Windows, SideCommandsCallThePlatform) {
  ShowMain();
  SendMessageW(Main(ids::kCmdEdit), BM_CLICK, 0, 0);
  SendMessageW(Main(ids::kCmdHelp), BM_CLICK, 0, 0);
  platform_.chosenFile.reset();
  FileLoaded = 0;
  SendMessageW(Main(ids::kCmdOpen), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(
      platform_.events,
      (Events{"cue:chop.wav", "new:" + testing::PathText(AppDir) + testing::PathText(EditFileName),
              "edit:" + testing::PathText(AppDir) + testing::PathText(EditFileName) + "|" +
                  testing::PathText(AppDir),
              "cue:chop.wav",
              "help:" + testing::PathText(AppDir) + "vorel.hlp|" + testing::PathText(AppDir) +
                  "help.html|" + testing::PathText(AppDir),
              "cue:kaeru.wav", "open:当たり番号のファイルを開く"}));
  EXPECT_EQ(FileLoaded, 0);  // a cancelled dialog loads nothing

  // Notepad from the file's warning starts in its folder: "C:" alone is the current one.
  platform_.openInNotepad = true;
  platform_.files["C:\\a.txt"] = {"1:\r\n123456 \r\n"};
  platform_.chosenFile = L"C:\\a.txt";
  SendMessageW(Main(ids::kCmdOpen), BM_CLICK, 0, 0);
  EXPECT_EQ(platform_.events.back(), "edit:C:\\a.txt|C:\\");
}

TEST_F(Windows, FailedLoadIsReportedAndTheWindowGoesOn) {
  ShowMain();
  platform_.chosenFile = L"C:\\no\\such\\file.txt";
  SendMessageW(Main(ids::kCmdOpen), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(platform_.events.size(), 3u);
  EXPECT_EQ(platform_.events[0], "cue:kaeru.wav");
  EXPECT_EQ(platform_.events[2], "error:ファイルが見つかりません");
  EXPECT_TRUE(IsWindow(main_.hwnd()));
  platform_.events.clear();
  Type("1");  // still answering
  EXPECT_EQ(platform_.events, (Events{"cue:pi.wav"}));
}

}  // namespace
}  // namespace nenga::test

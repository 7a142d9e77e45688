#include "ui/main.h"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "platform/win32/program_folder.h"
#include "platform/win32/wide.h"
#include "toolkit/dpi.h"
#include "ui/app_paths.h"
#include "ui/control_ids.h"
#include "ui/layouts.h"
#include "ui/picture.h"
#include "winning/words.h"

namespace nenga {

PathString AppDir;
PathString EditFileName;

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME;

constexpr UINT_PTR kStartupTimer = 1;

constexpr int kPictureButtons[] = {ids::kCmdCheck, ids::kCmdOpen, ids::kCmdEdit, ids::kCmdHelp};

bool IsPictureButton(int id) {
  for (int button : kPictureButtons) {
    if (button == id) return true;
  }
  return false;
}

std::string OpenDialogFilter() {
  std::string filter;
  for (const char* part : {words::kWinFileFilter, words::kWinFilePattern, words::kAllFilesFilter,
                           words::kAllFilesPattern}) {
    filter += part;
    filter += '\0';
  }
  return filter;
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance, int fontHeight, HWND owner) {
  const FormLayout layout = MainFormLayout(fontHeight);
  const std::wstring caption = WideFromShiftJis(layout.caption);
  if (!CreateFrame(instance, layout.className, caption.c_str(), kMainStyle, kMainExStyle,
                   layout.clientWidth, layout.clientHeight, owner)) {
    return false;
  }
  if (!BuildControls(hwnd_, instance, layout, controls_)) return false;
  // txtNum and the picture buttons see their messages here first; the window travels in
  // the subclass's reference data. The labels and txtLast keep their own procedures.
  const auto self = reinterpret_cast<DWORD_PTR>(this);
  if (!SetWindowSubclass(Control(ids::kTxtNum), &ControlProc<&MainWindow::OnNumberMessage>, 0,
                         self)) {
    return false;
  }
  for (int id : kPictureButtons) {
    if (!SetWindowSubclass(Control(id), &ControlProc<&MainWindow::OnButtonMessage>, 0, self)) {
      return false;
    }
  }
  RunGuarded(platform_, [this] { FormCreate(); });
  return true;
}

void MainWindow::Show(int showCommand) {
  // The window has a fixed size: a shortcut's "maximised" shows it as it is, and its
  // "minimised" leaves the program on its taskbar button, minimised the way the user
  // minimises it there, so that it comes back the same way.
  switch (showCommand) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
      if (const HWND taskbarButton = GetWindow(hwnd_, GW_OWNER)) {
        SendMessageW(taskbarButton, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      } else {
        ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
      }
      break;
    default: {
      // SW_SHOWDEFAULT would let the system choose, and it may choose "maximised".
      const bool asItIs = showCommand == SW_SHOWMAXIMIZED || showCommand == SW_SHOWDEFAULT;
      ShowWindow(hwnd_, asItIs ? SW_SHOWNORMAL : showCommand);
      UpdateWindow(hwnd_);
      SetForegroundWindow(hwnd_);
      SetFocus(Control(ids::kTxtNum));
      break;
    }
  }
  // A timer message only comes when the queue is empty: the window is up and drawn.
  SetTimer(hwnd_, kStartupTimer, USER_TIMER_MINIMUM, nullptr);
}

void MainWindow::FinishStartup() {
  if (startupFinished_) return;
  startupFinished_ = true;
  KillTimer(hwnd_, kStartupTimer);
  AddTooltips();
  // Numbers are typed in half-width digits, straight from the keyboard; the user can
  // still switch the input method on.
  HWND number = Control(ids::kTxtNum);
  if (const HIMC context = ImmGetContext(number)) {
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(number, context);
  }
  if (startupStep_) startupStep_();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CTLCOLORSTATIC:
      // Labels and the read-only txtLast show the button face; txtNum the window colour.
      return ColorControl(controls_, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                          false);
    case WM_CTLCOLOREDIT:
      return ColorControl(controls_, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                          true);
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam != kStartupTimer) return Default(message, wParam, lParam);
      FinishStartup();
      return 0;
    case WM_CLOSE:
      // Ends the program: the event loop ends, help is told to close while this
      // window still exists, and then the windows are destroyed.
      PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

SIZE MainWindow::ClientSize(int fontHeight) const {
  const FormLayout layout = MainFormLayout(fontHeight);
  return {layout.clientWidth, layout.clientHeight};
}

void MainWindow::LayOut(int fontHeight) {
  LayOutControls(hwnd_, MainFormLayout(fontHeight), controls_);
  SetTooltipFont();
  if (scaleStep_) scaleStep_(Dpi());
}

void MainWindow::SetTooltipFont() {
  if (tooltip_ == nullptr) return;
  // The system's own tooltip font, the status font, at the window's scale.
  NONCLIENTMETRICSW metrics{};
  Font font(NonClientMetricsForDpi(metrics, Dpi()) ? CreateFontIndirectW(&metrics.lfStatusFont)
                                                   : nullptr);
  if (!font) return;
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  tooltipFont_ = std::move(font);
}

void MainWindow::AddTooltips() {
  if (tooltip_ != nullptr) return;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  if (tooltip_ == nullptr) return;
  // Only the hints are read: they are the same at every scale.
  for (const ControlLayout& row : MainFormLayout(kDesignFontHeight).controls) {
    if (row.hint == nullptr) continue;
    std::wstring hint = WideFromShiftJis(row.hint);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(row.id));
    tool.hinst = instance;
    tool.lpszText = hint.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(500, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(2500, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(0, 0));
  SetTooltipFont();
}

void MainWindow::OnCommand(int id, int code) {
  // Where the focus was when a button was pressed decides, at the command's end,
  // whether txtNum's text is selected; by then a dialog may have moved it anywhere.
  if (code == BN_CLICKED) commandFocus_ = GetFocus();
  switch (id) {
    case ids::kTxtNum:
      if (code == EN_CHANGE) txtNumChange();
      break;
    case ids::kCmdCheck:
      if (code == BN_CLICKED) cmdCheckClick();
      break;
    case ids::kCmdOpen:
      if (code == BN_CLICKED) cmdOpenClick();
      break;
    case ids::kCmdEdit:
      if (code == BN_CLICKED) cmdEditClick();
      break;
    case ids::kCmdHelp:
      if (code == BN_CLICKED) cmdHelpClick();
      break;
    case IDOK: {
      // Enter, sent by the dialog manager: it presses the focused button.
      const int focused = GetDlgCtrlID(GetFocus());
      if (IsChild(hwnd_, GetFocus()) && IsPictureButton(focused)) OnCommand(focused, BN_CLICKED);
      break;
    }
    default:  // IDCANCEL (Escape) does nothing
      break;
  }
}

void MainWindow::OnActivate(bool active) {
  // A plain window forgets its focused control when it loses the activation; keep it
  // the way a dialog does.
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) savedFocus_ = focus;
    return;
  }
  HWND target =
      savedFocus_ != nullptr && IsWindow(savedFocus_) ? savedFocus_ : Control(ids::kTxtNum);
  if (!IsIconic(hwnd_)) SetFocus(target);
}

void MainWindow::PaintButton(HWND button, HDC dc, bool pressed, bool focused) {
  const auto picture = controls_.pictures.find(GetDlgCtrlID(button));
  RECT rect{};
  GetClientRect(button, &rect);
  PaintPictureButton(dc, rect, picture != controls_.pictures.end() ? &picture->second : nullptr,
                     pressed, focused);
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return;
  PaintButton(item.hwndItem, item.hDC, (item.itemState & ODS_SELECTED) != 0,
              (item.itemState & ODS_FOCUS) != 0);
}

template <LRESULT (MainWindow::*OnMessage)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK MainWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR window) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &ControlProc<OnMessage>, id);
  auto& self = *reinterpret_cast<MainWindow*>(window);
  LRESULT result = 0;
  const bool ran = RunGuarded(
      self.platform_, [&] { result = (self.*OnMessage)(control, message, wParam, lParam); });
  return ran ? result : 0;
}

LRESULT MainWindow::OnNumberMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter must reach the edit box as a character, not be taken by the dialog manager.
      LRESULT code = DefSubclassProc(control, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_CHAR:
      if (wParam == L'\r') {
        txtNumKeyPress(static_cast<wchar_t>(wParam));
        return 0;  // a one-line edit box only beeps at it
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT MainWindow::OnButtonMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCPAINT:
      return 0;  // a picture button has no border: nothing to paint outside its face
    case WM_ERASEBKGND:
      return TRUE;  // the face and the picture cover every pixel when it is drawn
    case WM_LBUTTONDBLCLK:
      // Every click presses the button, however quickly it follows the last one.
      return DefSubclassProc(control, WM_LBUTTONDOWN, wParam, lParam);
    case WM_PRINTCLIENT: {
      const auto state = SendMessageW(control, BM_GETSTATE, 0, 0);
      PaintButton(control, reinterpret_cast<HDC>(wParam), (state & BST_PUSHED) != 0,
                  GetFocus() == control);
      return 0;
    }
    default:
      return DefSubclassProc(control, message, wParam, lParam);
  }
}

void MainWindow::FormCreate() {
  openDialog_.title = words::kOpenDialogTitle;
  openDialog_.filter = OpenDialogFilter();
  openDialog_.defaultExt = words::kWinFileExtension;
  AppDir = ProgramFolder();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EditFileName = EditFileNameForYear(now.wYear);
  FileLoaded = 0;
}

void MainWindow::txtNumChange() { platform_.PlaySoundCue(words::kCueTyped); }

void MainWindow::txtNumKeyPress(wchar_t key) {
  if (key != L'\r') return;
  commandFocus_ = Control(ids::kTxtNum);
  platform_.PlaySoundCue(words::kCueEnter);
  CheckNumberInBox();
}

void MainWindow::cmdCheckClick() {
  platform_.PlaySoundCue(words::kCueButton);
  CheckNumberInBox();
}

void MainWindow::CheckNumberInBox() {
  if (FileLoaded == 0) {
    platform_.WarningBox(words::kLoadFileFirst, words::kWarningCaption);
    return;
  }
  const std::string number = WindowTextShiftJis(Control(ids::kTxtNum));
  if (nenga::CheckTypedNumber(number, platform_, winDialog_)) {
    SetWindowTextShiftJis(Control(ids::kTxtLast), number);
    SetWindowTextShiftJis(Control(ids::kTxtNum), "");
  } else {
    platform_.InfoBox(InputMistake(number));
  }
  FocusNumber();
}

void MainWindow::cmdOpenClick() {
  platform_.PlaySoundCue(words::kCueButton);
  if (const auto file = platform_.OpenFileDialog(openDialog_)) {
    LoadFindings findings;
    LoadWinFile(*file, platform_, findings);
    // A file typed by hand can hold lines that never win: say so, or every postcard
    // would seem to have lost. The file to mend is this one, wherever it was saved, not
    // the year's file beside the program.
    if (findings.total > 0 && platform_.FileWarningBox(*file, FindingsBoxText(findings))) {
      // The folder keeps its last separator: "C:" alone is the drive's current folder.
      platform_.LaunchEditor(*file, FolderOfPath(*file));
    }
  }
  FocusNumber();
}

void MainWindow::cmdEditClick() {
  platform_.PlaySoundCue(words::kCueCommand);
  // A first press finds no year's file: it begins in the file's form, so that Notepad
  // opens it at once and shows what to type under which header. Where none can be
  // made, Notepad could never save what the user typed in it: it stays shut.
  if (platform_.WriteNewFile(AppDir + EditFileName, words::kYearFile)) {
    // The year's file by its full path: an editor in Notepad's place that changes its
    // folder still opens and saves the file beside the program.
    platform_.LaunchEditor(AppDir + EditFileName, AppDir);
  }
  FocusNumber();
}

void MainWindow::cmdHelpClick() {
  platform_.PlaySoundCue(words::kCueCommand);
  platform_.ShowHelp(AppDir + L"vorel.hlp", AppDir + L"help.html", AppDir);
  FocusNumber();
}

void MainWindow::FocusNumber() {
  HWND number = Control(ids::kTxtNum);
  if (GetFocus() != number) SetFocus(number);
  // Coming back from a button, the whole text is selected so that typing replaces it,
  // however the command ended (a double-click in the file dialog leaves the mouse
  // button down here).
  if (commandFocus_ != nullptr && commandFocus_ != number && IsChild(hwnd_, commandFocus_)) {
    SendMessageW(number, EM_SETSEL, 0, -1);
  }
}

}  // namespace nenga

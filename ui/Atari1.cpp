#include "ui/Atari1.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "toolkit/dpi.h"
#include "toolkit/modal_guard.h"
#include "ui/control_ids.h"
#include "ui/layouts.h"
#include "ui/picture.h"

namespace nenga {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

}  // namespace

bool AtariDialog::Create(HINSTANCE instance, HWND owner, int fontHeight) {
  FormLayout layout = AtariFormLayout(fontHeight);
  const std::wstring caption = WideFromShiftJis(layout.caption);
  if (!CreateFrame(instance, layout.className, caption.c_str(), kDialogStyle, kDialogExStyle,
                   layout.clientWidth, layout.clientHeight, owner)) {
    return false;
  }
  SendMessageW(hwnd_, WM_SETFONT, 0, FALSE);
  // Nothing needs the congratulation picture before the first win: it is made then.
  // The label starts empty and as small as its text.
  rows_ = layout.controls;
  SetPictureAside(layout);
  monitorDpi_ = Dpi();  // made at its monitor's scale
  return BuildControls(hwnd_, instance, layout, controls_);
}

void AtariDialog::SetPictureAside(FormLayout& layout) {
  std::vector<ControlLayout>& rows = layout.controls;
  const auto picture = std::find_if(
      rows.begin(), rows.end(), [](const ControlLayout& row) { return row.id == ids::kImCongrat; });
  if (picture != rows.end()) {
    pictureRow_.controls.assign(1, *picture);
    rows.erase(picture);
  }
  pictureRow_.fontHeight = layout.fontHeight;
}

UINT AtariDialog::OwnMonitorDpi() const {
  return MonitorDpi(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY));
}

SIZE AtariDialog::ClientSize(int fontHeight) const {
  const FormLayout layout = AtariFormLayout(fontHeight);
  return {layout.clientWidth, layout.clientHeight};
}

void AtariDialog::LayOut(int fontHeight) {
  FormLayout layout = AtariFormLayout(fontHeight);
  rows_ = layout.controls;
  // A picture not made yet will be made at this scale.
  if (!pictureRow_.controls.empty()) SetPictureAside(layout);
  LayOutControls(hwnd_, layout, controls_);
  FitAnnouncement(WindowTextShiftJis(Control(ids::kLblAtari)));
  monitorDpi_ = OwnMonitorDpi();
}

void AtariDialog::PrepareToShow() {
  const UINT monitorDpi = OwnMonitorDpi();
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  if (monitorDpi != monitorDpi_) ScaleTo(monitorDpi, {frame.left, frame.top});
  if (!shownBefore_) {
    // The first showing is centred on the screen, at whatever size it has now.
    GetWindowRect(hwnd_, &frame);
    const POINT at = CentredOnScreen({frame.right - frame.left, frame.bottom - frame.top});
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shownBefore_ = true;
  }
}

bool AtariDialog::BuildPicture() {
  if (hwnd_ == nullptr || pictureRow_.controls.empty()) return hwnd_ != nullptr;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  const bool built = BuildControls(hwnd_, instance, pictureRow_, controls_);
  pictureRow_.controls.clear();
  return built;
}

void AtariDialog::SetAnnouncement(std::string_view text) {
  HWND label = Control(ids::kLblAtari);
  if (label == nullptr) return;
  SetWindowTextShiftJis(label, text);
  FitAnnouncement(text);
}

void AtariDialog::FitAnnouncement(std::string_view text) {
  HWND label = Control(ids::kLblAtari);
  const auto row = std::find_if(rows_.begin(), rows_.end(),
                                [](const ControlLayout& r) { return r.id == ids::kLblAtari; });
  if (label == nullptr || row == rows_.end()) return;
  FitLabelToText(label, *row, text, rows_);
  InvalidateRect(label, nullptr, TRUE);
}

void AtariDialog::ShowModal() {
  if (hwnd_ == nullptr || modal_) return;
  PrepareToShow();
  BuildPicture();
  HWND previous = GetActiveWindow();
  modal_ = true;
  {
    const ModalGuard others;  // the dialog itself is still hidden here
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(Control(ids::kCmdOK));

    MSG msg{};
    while (modal_ && hwnd_ != nullptr) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        // A quit request ends the showing; the main loop must still see it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got == -1) break;
      if (!IsDialogMessageW(hwnd_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    modal_ = false;
    // The owner is enabled again before this window hides, so the activation goes back
    // to the program and not to another application.
  }
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
}

void AtariDialog::EndModal() {
  modal_ = false;
  // Wakes the modal loop's GetMessage.
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void AtariDialog::cmdOKClick() { EndModal(); }

LRESULT AtariDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColorControl(controls_, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                          false);
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      // OK is the only control that takes the focus; it gets it back whenever the
      // dialog is activated again, so Enter and Space work at once.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(Control(ids::kCmdOK));
      return 0;
    case WM_CLOSE:  // the close button acts as OK
      cmdOKClick();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void AtariDialog::OnCommand(int id, int code) {
  if (id == ids::kCmdOK && code == BN_CLICKED) {
    cmdOKClick();
  } else if (id == IDOK && GetFocus() == Control(ids::kCmdOK)) {
    // Enter, sent by the dialog manager while cmdOK has the focus.
    cmdOKClick();
  }
  // IDCANCEL (Escape) does nothing: the dialog has no cancel button.
}

void AtariDialog::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const auto picture = controls_.pictures.find(static_cast<int>(item.CtlID));
  if (picture != controls_.pictures.end()) {
    PaintPicture(item.hDC, item.rcItem, picture->second);  // enlarged on first showing
  }
}

}  // namespace nenga

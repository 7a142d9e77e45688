#include "platform/win32/info_box.h"

#include <iterator>
#include <utility>

#include "platform/win32/platform_words.h"
#include "toolkit/dpi.h"
#include "toolkit/gdi.h"
#include "toolkit/geometry.h"

namespace nenga {
namespace {

// A dialog template without controls: they are built in WM_INITDIALOG from the
// message font, which a template cannot measure.
struct alignas(4) EmptyDialogTemplate {
  DLGTEMPLATE header;
  WORD menu;
  WORD windowClass;
  WORD title;
};

class InfoBoxDialog {
 public:
  InfoBoxDialog(std::wstring text, std::wstring caption, UINT dpi, InfoBoxKind kind)
      : text_(std::move(text)), caption_(std::move(caption)), dpi_(dpi), kind_(kind) {}

  // The id of the button that closed the box.
  INT_PTR Run(HINSTANCE instance, HWND owner) {
    instance_ = instance;
    EmptyDialogTemplate box{};
    box.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    return ::DialogBoxIndirectParamW(instance, &box.header, owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      auto* self = reinterpret_cast<InfoBoxDialog*>(lParam);
      self->dialog_ = dialog;
      return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<InfoBoxDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self && message == WM_COMMAND) {
      self->OnCommand(LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  }

  INT_PTR OnInitDialog() {
    try {
      Build();
    } catch (...) {
      ::EndDialog(dialog_, IDCANCEL);
    }
    return FALSE;  // the focus is set already
  }

  void Build() {
    ::SetWindowTextW(dialog_, caption_.c_str());
    NONCLIENTMETRICSW metrics{};
    if (NonClientMetricsForDpi(metrics, dpi_))
      font_ = Font(::CreateFontIndirectW(&metrics.lfMessageFont));
    const HFONT font =
        font_.get() ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

    const bool warning = kind_ == InfoBoxKind::kFileWarning;
    const UINT prefix = warning ? DT_NOPREFIX : 0;
    SIZE iconSize{};
    if (warning) {
      const int size = MetricForDpi(SM_CXICON, dpi_);
      icon_.reset(LoadIconOfSize(nullptr, IDI_WARNING, size));
      if (icon_) iconSize = {size, size};
    }
    SIZE letters{};
    SIZE ok{};
    RECT text{0, 0, MetricForDpi(SM_CXSCREEN, dpi_) / 2, 0};
    RECT notepad{};
    {
      WindowDcWithFont dc(dialog_, font);
      static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
      ::GetTextExtentPoint32W(dc.get(), kLetters, 52, &letters);
      ::GetTextExtentPoint32W(dc.get(), platform_words::kInfoBoxButton,
                              static_cast<int>(std::size(platform_words::kInfoBoxButton)) - 1, &ok);
      ::DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &text,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
      if (warning) {  // as the button shows it, without its "&"
        ::DrawTextW(dc.get(), platform_words::kInfoBoxNotepadButton, -1, &notepad,
                    DT_CALCRECT | DT_SINGLELINE);
      }
    }
    const InfoBoxLayout layout =
        LayoutInfoBox(letters.cx / 52, letters.cy, {text.right - text.left, text.bottom - text.top},
                      ok.cx, iconSize, notepad.right - notepad.left);

    if (icon_) {
      const HWND picture = CreateChild(L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON,
                                       layout.icon, kInfoIconId);
      if (picture) ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    }
    const HWND label = CreateChild(L"STATIC", text_.c_str(),
                                   WS_CHILD | WS_VISIBLE | SS_LEFT | (warning ? SS_NOPREFIX : 0),
                                   layout.text, kInfoTextId);
    const HWND button =
        CreateChild(L"BUTTON", platform_words::kInfoBoxButton,
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, layout.button, IDOK);
    const HWND notepadButton = warning
                                   ? CreateChild(L"BUTTON", platform_words::kInfoBoxNotepadButton,
                                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                                 layout.second, kInfoNotepadId)
                                   : nullptr;
    for (HWND control : {label, button, notepadButton}) {
      if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    SizeAndCentre(layout.client);
    if (button) ::SetFocus(button);
  }

  HWND CreateChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, const RECT& where,
                   int id) {
    return ::CreateWindowExW(0, windowClass, text, style, where.left, where.top,
                             where.right - where.left, where.bottom - where.top, dialog_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  }

  // Gives the dialog the wanted client size, then centres it on the primary screen.
  void SizeAndCentre(SIZE client) {
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(::GetWindowLongW(dialog_, GWL_STYLE)),
                           static_cast<DWORD>(::GetWindowLongW(dialog_, GWL_EXSTYLE)), dpi_);
    SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    ::SetWindowPos(dialog_, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame may differ from what AdjustWindowRectEx assumed; correct by what came out.
    RECT got{};
    ::GetClientRect(dialog_, &got);
    size.cx += client.cx - got.right;
    size.cy += client.cy - got.bottom;
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const POINT at = CentreIn(screen, size);
    ::SetWindowPos(dialog_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void OnCommand(int id) {
    if (id == IDOK || id == IDCANCEL || id == kInfoNotepadId) ::EndDialog(dialog_, id);
  }

  std::wstring text_;
  std::wstring caption_;
  UINT dpi_;
  InfoBoxKind kind_;
  HINSTANCE instance_ = nullptr;
  HWND dialog_ = nullptr;
  Font font_;
  OwnedIcon icon_;  // outlives the dialog's icon control, which does not destroy it
};

}  // namespace

bool ShowInfoBox(HINSTANCE instance, HWND owner, std::wstring text, std::wstring caption, UINT dpi,
                 InfoBoxKind kind) {
  InfoBoxDialog box(std::move(text), std::move(caption), dpi, kind);
  return box.Run(instance, owner) == kInfoNotepadId;
}

}  // namespace nenga

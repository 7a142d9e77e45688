// The program's working window, where numbers are typed and checked. Its names: frmMain
// the window, TfrmMain its window class, main.h/main.cpp its files, MainWindow the C++ class.
#pragma once

#include <windows.h>
// (comctl32's declarations need windows.h first)
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "winning/myProc.h"

namespace nenga {

// Set once when the main window is created; live until the program ends. Paths, so
// they reach the editor and the help viewer whatever characters the folder holds.
extern PathString AppDir;        // the executable's folder, ending with its separator
extern PathString EditFileName;  // the current year's file, "yyyy.txt"

class MainWindow : public Window {
 public:
  MainWindow(Platform& platform, WinDialog& winDialog) : Window(platform), winDialog_(winDialog) {}
  ~MainWindow() override { Destroy(); }  // while the controls' fonts and pictures live

  // Builds the window, hidden, on the primary monitor at its scale, laid out for the
  // font height measured there, owned by owner (the application window, which carries
  // the taskbar button); FormCreate runs before this returns.
  bool Create(HINSTANCE instance, int fontHeight, HWND owner = nullptr);

  // Shows the window with the focus in txtNum. What the first moments do not need
  // follows once the program has first waited for input (FinishStartup).
  void Show(int showCommand);

  // The hints as tooltips, and txtNum's input method closed: done once, shortly after
  // the program has first had nothing to do, or before the first key if that is sooner.
  void FinishStartup();
  // One more step for FinishStartup, from the application frame (the platform's).
  void SetStartupStep(std::function<void()> step) { startupStep_ = std::move(step); }
  // What else follows the window to another scale (the taskbar's icons and pictures).
  void SetScaleStep(std::function<void(UINT dpi)> step) { scaleStep_ = std::move(step); }

  // Test seams: read by the window tests only.
  HWND Tooltip() const { return tooltip_; }
  const OpenDialogSettings& OpenDialog() const { return openDialog_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  SIZE ClientSize(int fontHeight) const override;
  void LayOut(int fontHeight) override;
  void SetTooltipFont();
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void PaintButton(HWND button, HDC dc, bool pressed, bool focused);
  void AddTooltips();

  // The messages of txtNum and of the picture buttons, seen before the control's own
  // procedure through comctl32's subclassing; window, the reference data, is this object.
  template <LRESULT (MainWindow::*OnMessage)(HWND, UINT, WPARAM, LPARAM)>
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR window);
  LRESULT OnNumberMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnButtonMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  // Event handlers.
  void FormCreate();
  void txtNumChange();
  void txtNumKeyPress(wchar_t key);
  void cmdCheckClick();
  void cmdOpenClick();
  void cmdEditClick();
  void cmdHelpClick();

  void CheckNumberInBox();  // the check's steps after its cue
  void FocusNumber();

  WinDialog& winDialog_;
  OpenDialogSettings openDialog_;
  BuiltControls controls_;
  HWND tooltip_ = nullptr;
  Font tooltipFont_;
  HWND savedFocus_ = nullptr;
  HWND commandFocus_ = nullptr;  // where the focus was when the running command began
  bool startupFinished_ = false;
  std::function<void()> startupStep_;
  std::function<void(UINT)> scaleStep_;
};

}  // namespace nenga

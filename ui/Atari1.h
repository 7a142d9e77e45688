// The win dialog, created hidden once and shown modally for every win. Its names:
// frmAtari the window, TfrmAtari its window class, Atari1.h/Atari1.cpp its files, AtariDialog the
// C++ class, and WinDialog (winning/myProc.h) the interface through which the check shows it.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/layouts.h"
#include "ui/window.h"
#include "winning/myProc.h"

namespace nenga {

class AtariDialog : public Window, public WinDialog {
 public:
  explicit AtariDialog(Platform& platform) : Window(platform) {}
  ~AtariDialog() override { Destroy(); }  // while the fonts and the picture live

  // Creates the dialog, hidden, owned by owner, scaled for the measured font height.
  bool Create(HINSTANCE instance, HWND owner, int fontHeight);

  // Sets the text of lblAtari and sizes the label to it; its left edge stays put.
  void SetAnnouncement(std::string_view text) override;

  // Shows the dialog while the program's other windows take no input; returns when it
  // has been closed, with the window that was active before active again.
  void ShowModal() override;

  // Test seam, public for the window tests: makes the congratulation picture, which
  // the dialog only needs when it shows; the first showing does this itself.
  bool BuildPicture();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  SIZE ClientSize(int fontHeight) const override;
  void LayOut(int fontHeight) override;
  void FitAnnouncement(std::string_view text);
  // Moves the picture's row out of layout, to be made at the first showing.
  void SetPictureAside(FormLayout& layout);
  UINT OwnMonitorDpi() const;
  // Before it shows: the scale and the place of the monitor it shows on.
  void PrepareToShow();
  void OnCommand(int id, int code);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void cmdOKClick();
  void EndModal();

  BuiltControls controls_;
  std::vector<ControlLayout> rows_;  // every row, the picture's too: they bound the label
  FormLayout pictureRow_{};          // the picture's row until the picture is made
  bool modal_ = false;
  bool shownBefore_ = false;
  // Its monitor's scale when it last laid itself out. A hidden window may not be told
  // that its monitor's scale changed: a different answer now says it was.
  UINT monitorDpi_ = 0;
};

}  // namespace nenga

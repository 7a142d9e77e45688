// The two windows built in-process on a platform that records what they ask of it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/win32/wide.h"
#include "ui/Atari1.h"
#include "ui/control_ids.h"
#include "ui/controls.h"
#include "ui/layouts.h"
#include "ui/main.h"
#include "win32_test_helpers.h"
#include "winning/myProc.h"

namespace nenga::test {

using RecordingPlatform = testing::FakePlatform;

// The screen scale the run was started at (--dpi=N, set in the Wine prefix by the
// caller); 0 when the run names none.
int ExpectedScreenDpi();

// The face set to stand in for "ＭＳ Ｐゴシック" (--face=NAME, set in the Wine prefix by the
// caller); empty when the run names none.
const std::wstring& ExpectedFace();

// The window's text as the program reads it back: Shift-JIS.
inline std::string TextShiftJis(HWND window) { return WindowTextShiftJis(window); }

// A 32-bit memory surface to paint into and read back, black to begin with.
class Canvas {
 public:
  Canvas(int width, int height) : dc_(nullptr), count_(static_cast<std::size_t>(width * height)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    selected_.emplace(dc_.get(), bitmap_.get());
    RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  HDC dc() const { return dc_.get(); }
  COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
  // Every pixel, row after row from the top.
  std::vector<std::uint32_t> Pixels() const {
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits_);
    return pixels != nullptr ? std::vector<std::uint32_t>(pixels, pixels + count_)
                             : std::vector<std::uint32_t>();
  }

 private:
  MemoryDc dc_;
  Bitmap bitmap_;
  void* bits_ = nullptr;
  std::size_t count_;
  std::optional<SelectedObject> selected_;
};

// Both windows as the program builds them, at the design font height.
class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    instance_ = GetModuleHandleW(nullptr);
    ASSERT_TRUE(main_.Create(instance_, kDesignFontHeight));
    ASSERT_TRUE(atari_.Create(instance_, main_.hwnd(), kDesignFontHeight));
    platform_.events.clear();
  }
  void TearDown() override {
    atari_.Destroy();
    main_.Destroy();
    Pump();
  }

  void ShowMain() {
    main_.Show(SW_SHOWNORMAL);
    ASSERT_TRUE(HoldActive(main_.hwnd())) << "the main window never became active";
  }
  HWND Main(int id) const { return main_.Control(id); }
  HWND Atari(int id) const { return atari_.Control(id); }
  void Type(const char* text) { SetWindowTextShiftJis(Main(ids::kTxtNum), text); }
  void PressEnterInNumber() { SendMessageW(Main(ids::kTxtNum), WM_CHAR, L'\r', 1); }

  HINSTANCE instance_ = nullptr;
  RecordingPlatform platform_;
  AtariDialog atari_{platform_};
  MainWindow main_{platform_, atari_};
};

// Acts on the win dialog from inside its modal loop: each time the timer finds it
// shown, the next step runs. A dialog still shown after the last step is closed by
// the script, which records that.
class ModalScript {
 public:
  using Step = std::function<void(HWND dialog)>;

  ModalScript(const AtariDialog& dialog, std::vector<Step> steps)
      : dialog_(dialog), steps_(std::move(steps)) {
    self_ = this;
    timer_ = SetTimer(nullptr, 0, 30, &ModalScript::Tick);
  }
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    self_ = nullptr;
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  std::size_t StepsRun() const { return next_; }
  bool ForcedClose() const { return forcedClose_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = self_;
    if (self == nullptr) return;
    HWND dialog = self->dialog_.hwnd();
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++](dialog);
    } else if (++self->idleTicks_ > 60) {
      self->forcedClose_ = true;
      self->idleTicks_ = 0;
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
  }

  static inline ModalScript* self_ = nullptr;
  const AtariDialog& dialog_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int idleTicks_ = 0;
  bool forcedClose_ = false;
  UINT_PTR timer_ = 0;
};

}  // namespace nenga::test

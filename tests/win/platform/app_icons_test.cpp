// The application window's own icons at each screen scale.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/driver.h"
#include "toolkit/dpi.h"

namespace nenga {
namespace {

using Size = std::pair<int, int>;  // width, height

// The width and height of an icon's colour image; {0, 0} for no icon.
Size IconSize(LRESULT answer) {
  const auto icon = reinterpret_cast<HICON>(answer);
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

// The GDI objects this process holds: Windows counts them; Wine answers 0 there, and
// its handle table is read instead.
std::optional<int> GdiObjects() {
  if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) {
    return static_cast<int>(count);
  }
  return e2e::GdiObjectCount(::GetCurrentProcess());
}

class AppWindowIcons : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // As the program does before its windows: the common controls 6 are loaded.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
  }

  const HINSTANCE instance_ = ::GetModuleHandleW(nullptr);
};

// The small and large icons are the sizes Windows shows at each scale, told by the
// program or by the window's own notice of a change, and back again.
TEST_F(AppWindowIcons, AreTheSizesOfEachScale) {
  Win32Platform platform(instance_, L"Tool");
  const HWND app = platform.AppWindow();
  // Made at the system scale, it loads no icon of its own: the class's are of its sizes.
  EXPECT_EQ(::SendMessageW(app, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(IconSize(static_cast<LRESULT>(::GetClassLongPtrW(app, GCLP_HICON))),
            Size(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
  EXPECT_FALSE(IconSizesMatchSystemScale(2 * SystemDpi()));
  const struct {
    UINT dpi;
    Size smallIcon, largeIcon;
  } scales[] = {{120, {20, 20}, {40, 40}},
                {144, {24, 24}, {48, 48}},
                {192, {32, 32}, {64, 64}},
                {96, {16, 16}, {32, 32}}};
  for (const bool notice : {false, true}) {
    for (const auto& scale : scales) {
      SCOPED_TRACE(testing::Message() << scale.dpi << (notice ? " by WM_DPICHANGED" : ""));
      if (notice) {
        RECT suggested{};
        ::SendMessageW(app, WM_DPICHANGED, MAKEWPARAM(scale.dpi, scale.dpi),
                       reinterpret_cast<LPARAM>(&suggested));
      } else {
        platform.ScaleChanged(scale.dpi);
      }
      EXPECT_EQ(IconSize(::SendMessageW(app, WM_GETICON, ICON_SMALL, 0)), scale.smallIcon);
      EXPECT_EQ(IconSize(::SendMessageW(app, WM_GETICON, ICON_BIG, 0)), scale.largeIcon);
    }
  }
}

// Made at a scale other than the system's (its monitor's changed since sign-in), it takes
// icons of its own at once. Wine makes each window at the system scale: a hook keeps
// another for the window as it is made.
TEST_F(AppWindowIcons, AreOfTheWindowsScaleAtStart) {
  static const UINT dpi = 2 * SystemDpi();
  const HOOKPROC keepDpi = [](int code, WPARAM window, LPARAM lParam) -> LRESULT {
    if (code == HCBT_CREATEWND) KeepWindowDpi(reinterpret_cast<HWND>(window), dpi);
    return ::CallNextHookEx(nullptr, code, window, lParam);
  };
  std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&::UnhookWindowsHookEx)> hook(
      ::SetWindowsHookExW(WH_CBT, keepDpi, nullptr, ::GetCurrentThreadId()),
      &::UnhookWindowsHookEx);
  Win32Platform platform(instance_, L"Tool");
  const int size = MetricForDpi(SM_CXICON, dpi);
  EXPECT_EQ(IconSize(::SendMessageW(platform.AppWindow(), WM_GETICON, ICON_BIG, 0)),
            Size(size, size));
}

// The icons are the program's own: every change destroys those it replaced (a shared
// icon would live on), and the platform takes its last ones with it.
TEST_F(AppWindowIcons, ScaleChangesLeaveNoObjectsBehind) {
  { Win32Platform warmUp(instance_, L"Tool"); }  // the class and its shared icon stay
  const std::optional<int> before = GdiObjects();
  ASSERT_TRUE(before) << "the process's GDI objects cannot be counted";
  {
    Win32Platform platform(instance_, L"Tool");
    const HWND app = platform.AppWindow();
    int replacedButAlive = 0;
    for (int i = 0; i < 20; ++i) {
      for (const UINT dpi : {144u, 96u}) {
        const LRESULT replaced[] = {::SendMessageW(app, WM_GETICON, ICON_SMALL, 0),
                                    ::SendMessageW(app, WM_GETICON, ICON_BIG, 0)};
        platform.ScaleChanged(dpi);
        for (const LRESULT icon : replaced) replacedButAlive += IconSize(icon) != Size{0, 0};
      }
    }
    EXPECT_EQ(replacedButAlive, 0);
    EXPECT_EQ(IconSize(::SendMessageW(app, WM_GETICON, ICON_BIG, 0)), Size(32, 32));
  }
  EXPECT_EQ(GdiObjects(), before);
}

}  // namespace
}  // namespace nenga

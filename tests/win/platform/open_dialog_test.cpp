// The file-open dialog: its settings, its place, cancelling and choosing a file.
#include <windows.h>
// These build on windows.h.
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/win/platform/dialog_watch.h"

namespace nenga {
namespace {

using test::DialogWatch;
using test::TestWindow;
using test::TextOf;

OpenDialogSettings YearFileSettings() {
  static constexpr char kFilter[] = "(年賀当たり番号ファイル)*.txt\0*.txt\0(ALL)*.*\0*.*\0";
  return {"当たり番号のファイルを開く", std::string(kFilter, sizeof(kFilter) - 1), "txt"};
}

// The file-name field: a combo box in newer dialogs, an edit box in older ones.
HWND FileNameField(HWND dialog) {
  const HWND combo = ::GetDlgItem(dialog, cmb13);
  return combo ? combo : ::GetDlgItem(dialog, edt1);
}

class OpenDialogTest : public ::testing::Test {
 protected:
  OpenDialogTest() : platform_(::GetModuleHandleW(nullptr), L"Tool") {
    platform_.SetMainWindow(main_.get());
  }

  void SetUp() override {
    ASSERT_TRUE(test::HoldActive(main_.get())) << "the stand-in main window never became active";
  }

  test::Watchdog watchdog_{60000};  // see the boxes test
  TestWindow main_;
  Win32Platform platform_;
};

TEST_F(OpenDialogTest, ShowsTheSettingsOnTheMainMonitorAndCancelGivesNothing) {
  bool blocked = false;
  DialogWatch watch([&](HWND dialog) {
    EXPECT_EQ(TextOf(dialog), L"当たり番号のファイルを開く");
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), platform_.AppWindow());
    blocked = !::IsWindowEnabled(main_.get());

    const HWND types = ::GetDlgItem(dialog, cmb1);
    EXPECT_TRUE(types);
    EXPECT_EQ(::SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(::SendMessageW(types, CB_GETCURSEL, 0, 0), 0);
    wchar_t label[128] = {};
    ::SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(label));
    EXPECT_STREQ(label, L"(年賀当たり番号ファイル)*.txt");
    ::SendMessageW(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(label));
    EXPECT_STREQ(label, L"(ALL)*.*");

    const HWND name = FileNameField(dialog);
    EXPECT_TRUE(name);
    EXPECT_EQ(TextOf(name), L"");  // nothing chosen yet

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(main_.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    EXPECT_EQ(frame.left, work.left + ((work.right - work.left) - width) / 2);
    EXPECT_EQ(frame.top, work.top + std::max(0L, ((work.bottom - work.top) - height) / 3));

    test::Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(platform_.OpenFileDialog(YearFileSettings()), std::nullopt);
  ASSERT_TRUE(watch.Dialog()) << "the dialog never showed";
  EXPECT_FALSE(watch.ClosedByWatch()) << "Cancel did not close the dialog";
  EXPECT_TRUE(blocked) << "the main window took input meanwhile";
  EXPECT_TRUE(::IsWindowEnabled(main_.get()));
  EXPECT_EQ(::GetForegroundWindow(), main_.get());  // as it returns, as after a box
}

// The file the dialog offers: the name field, put in the dialog's folder when the
// dialog split a full path into the two.
std::filesystem::path OfferedFile(HWND dialog) {
  const std::filesystem::path name = TextOf(FileNameField(dialog));
  if (name.is_absolute()) return name;
  wchar_t folder[MAX_PATH] = {};
  ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  return std::filesystem::path(folder) / name;
}

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::wstring x = a.lexically_normal().wstring();
  const std::wstring y = b.lexically_normal().wstring();
  return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

TEST_F(OpenDialogTest, TypedNamesAreReturnedAndTheLastIsOfferedNextTime) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::filesystem::path missing = folder / L"年賀_missing.txt";
  std::filesystem::remove(missing);
  // ASCII: Wine without a Japanese locale on the host cannot create other names.
  const std::filesystem::path present = folder / L"nenga_present.txt";
  const HANDLE file = ::CreateFileW(present.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);

  struct Case {
    std::filesystem::path typed, want;
  };
  const Case cases[] = {
      {missing, missing},                    // need not exist
      {folder / L"nenga_present", present},  // the default extension is added
  };
  std::filesystem::path last;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed: " << c.typed);
    std::filesystem::path offered;
    DialogWatch choose([&](HWND dialog) {
      offered = OfferedFile(dialog);
      const HWND name = FileNameField(dialog);
      ASSERT_TRUE(name);
      ::SetWindowTextW(name, c.typed.c_str());
      test::Click(dialog, IDOK);
    });
    const auto chosen = platform_.OpenFileDialog(YearFileSettings());
    ASSERT_TRUE(choose.Dialog()) << "the dialog never showed";
    EXPECT_FALSE(choose.ClosedByWatch()) << "OK did not close the dialog";
    if (!last.empty()) {
      EXPECT_TRUE(SamePath(offered, last)) << offered;
    }
    ASSERT_TRUE(chosen.has_value());
    const std::filesystem::path chosenPath(*chosen);
    EXPECT_TRUE(chosenPath.is_absolute()) << chosenPath;
    EXPECT_TRUE(SamePath(chosenPath, c.want)) << chosenPath;
    last = chosenPath;
  }

  // A cancel keeps the remembered file.
  for (int i = 0; i < 2; ++i) {
    std::filesystem::path offered;
    DialogWatch again([&](HWND dialog) {
      offered = OfferedFile(dialog);
      test::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(platform_.OpenFileDialog(YearFileSettings()), std::nullopt);
    ASSERT_TRUE(again.Dialog()) << "the dialog never showed";
    EXPECT_TRUE(SamePath(offered, last)) << offered;
  }
  std::filesystem::remove(present);
}

}  // namespace
}  // namespace nenga

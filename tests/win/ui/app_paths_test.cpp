#include "ui/app_paths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/program_folder.h"

namespace nenga {
namespace {

TEST(AppTitle, FromExecutableName) {
  const struct {
    const wchar_t* path;
    const wchar_t* title;
  } cases[] = {
      {L"C:\\Tools\\TOOL.EXE", L"Tool"}, {L"C:\\Tools\\my.app.exe", L"My"},
      {L"D:\\nenga.exe", L"Nenga"},      {L"Z:\\work\\NenGa", L"Nenga"},
      {L"C:\\a.b\\x.exe", L"X"},         {L"nengaTOOL.exe", L"Nengatool"},
      {L"C:\\dir\\.exe", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AppTitleFromExePath(c.path), c.title) << std::wstring(c.path).size();
  }
}

TEST(AppDir, KeepsTheLastSeparator) {
  EXPECT_EQ(FolderOfPath(L"C:\\Program Files\\Nenga\\nenga.exe"), L"C:\\Program Files\\Nenga\\");
  EXPECT_EQ(FolderOfPath(L"C:\\nenga.exe"), L"C:\\");
  EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\nenga.exe"), L"\\\\server\\share\\");
  EXPECT_EQ(FolderOfPath(L"nenga.exe"), L"");
}

TEST(EditFileName, YearInFourDigits) {
  EXPECT_EQ(EditFileNameForYear(2025), L"2025.txt");
  EXPECT_EQ(EditFileNameForYear(999), L"0999.txt");
}

}  // namespace
}  // namespace nenga

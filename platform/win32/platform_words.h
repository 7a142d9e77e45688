// The Win32 platform's own words: the information box's buttons, and the two messages it
// composes itself, when the help page does not open and when the year's file cannot be
// made. Shift-JIS, like every text inside the program, but for the buttons', which go to
// the wide API as they stand.
//
// The rest of the program's words live in winning/words.h, which the platform, beneath
// winning/, does not include. These messages are built here rather than handed in
// because the path in each must stay UTF-16 up to the box. Three of the reasons read as
// words.h's file errors do (kFileNotFound, kAccessDenied, kOutOfMemory); keep them alike.
#pragma once

namespace nenga::platform_words {

// The information box's button, and the one beside it in a file's warning, which opens
// the file in Notepad; "&" marks its access key, read out with its name.
inline constexpr wchar_t kInfoBoxButton[] = L"OK";
inline constexpr wchar_t kInfoBoxNotepadButton[] = L"メモ帳で開く(&O)";

// "ヘルプのページ「path」を開けません: reason", the reason by ShellExecute's result.
inline constexpr char kHelpPageBefore[] = "ヘルプのページ「";
inline constexpr char kHelpPageAfter[] = "」を開けません: ";
inline constexpr char kHelpFileNotFound[] = "ファイルが見つかりません";
inline constexpr char kHelpAccessDenied[] = "ファイルへのアクセスが拒否されました";
inline constexpr char kHelpNoProgram[] = "この種類のファイルを開くプログラムが決まっていません";
inline constexpr char kHelpOutOfMemory[] = "メモリが足りません";
inline constexpr char kHelpOtherError[] = "エラー (";  // the code, then ")"

// The warning when the year's file cannot be made beside the program: its folder, then
// the system's reason, then what to do.
inline constexpr char kCannotWriteBefore[] =
    "このフォルダーには今年のファイルを作れないので、メモ帳で開きません。\r\n\r\n";
inline constexpr char kCannotWriteReason[] = "\r\n\r\n理由: ";
inline constexpr char kCannotWriteAfter[] =
    "\r\n\r\nプログラムのフォルダーを、ドキュメントやデスクトップなど、書き込めるところへ"
    "移してから、もう一度押してください。";

}  // namespace nenga::platform_words

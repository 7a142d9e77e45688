// The program's words: every text the user sees and every sound cue's name, each
// defined once, by name. Shift-JIS bytes, like every text inside the program.
//
// Portable: no Windows header. The windows (ui/), the loader and the check (winning/)
// and nenga-check (cli/) all take their words from here.
#pragma once

namespace nenga::words {

// frmMain: caption, labels and the picture buttons' hints.
inline constexpr char kMainCaption[] = "年賀はがき当たり番号判定";
inline constexpr char kLabel1Text[] = "年賀はがき番号の入力";
inline constexpr char kLabel2Text[] = "直前の値";
inline constexpr char kCheckHint[] = "当たり番号を検索します";
inline constexpr char kLastHint[] = "さっきの番号はこれでしたね";
inline constexpr char kOpenHint[] = "当たり番号ファイルの読み込み";
inline constexpr char kEditHint[] = "当たり番号ファイルの編集";
inline constexpr char kHelpHint[] = "ヘルプです";

// frmAtari, the win dialog: caption and button.
inline constexpr char kWinCaption[] = "当たり番号発見";
inline constexpr char kOkText[] = "OK";

// The file-open dialog: its title, and its filters as label and pattern.
inline constexpr char kOpenDialogTitle[] = "当たり番号のファイルを開く";
inline constexpr char kWinFileFilter[] = "(年賀当たり番号ファイル)*.txt";
inline constexpr char kWinFilePattern[] = "*.txt";
inline constexpr char kAllFilesFilter[] = "(ALL)*.*";
inline constexpr char kAllFilesPattern[] = "*.*";
inline constexpr char kWinFileExtension[] = "txt";

// A check before any winning-number file has loaded: the warning and its caption.
inline constexpr char kLoadFileFirst[] = "当たり番号ファイルを読み込んで下さい。";
inline constexpr char kWarningCaption[] = "警告";

// A typed number that is not a postcard number: the number, then this.
inline constexpr char kInputMistakeAfter[] = " は入力ミスです。";

// The announcement of a win, "123456 は2等です。": number, kAnnouncementBefore, class,
// kAnnouncementAfter.
inline constexpr char kAnnouncementBefore[] = " は";
inline constexpr char kAnnouncementAfter[] = "等です。";

// The loader: the overflow's information-box text (three lines joined by CR LF), and a
// class header that is not a digit, "'x' は数値ではありません", in two pieces.
inline constexpr char kOverflowMessage[] =
    "データが大きすぎます。\r\n安全のためプログラムを終了します。\r\n当たり番号のファイルが不正です"
    "。";
inline constexpr char kNotANumberBefore[] = "'";
inline constexpr char kNotANumberAfter[] = "' は数値ではありません";

// What a load tells of lines that can never win (see FindingsBoxText and nenga-check):
// a lead, each line as "12 行目「１２３４５６」：reason", and how many more there are.
inline constexpr char kFindingsLead[] =
    "次の番号は当たりを調べられません。ファイルを直して、読み込み直してください。";
inline constexpr char kLineBefore[] = " 行目「";
inline constexpr char kLineAfter[] = "」：";
inline constexpr char kCutMark[] = "…";
inline constexpr char kMoreFindingsBefore[] = "ほかに ";
inline constexpr char kMoreFindingsAfter[] = " 件あります。";
inline constexpr char kFindingsTotalBefore[] = "直すところは全部で ";
inline constexpr char kFindingsTotalAfter[] = " 件です。";
// Why, and what to change.
inline constexpr char kNothingCompared[] =  // the whole file
    "このファイルには調べる当たり番号が1つもないので、どのはがきも当たりになりません。"
    "番号は等級の行（1: など）の次の行から、1行に1つずつ書いてください。";
inline constexpr char kNumberOnHeader[] =
    "等級の行の「:」より後ろは読み込みません。番号は次の行に書いてください。";
inline constexpr char kNotAHeader[] =
    "等級の行として読み込みません。等級の行は、半角の数字のすぐ後に半角の「:」を書きます（1: "
    "など）。";
inline constexpr char kSeveralNumbers[] =
    "番号が1行に2つ以上あります。1行に1つずつ書いてください。";
inline constexpr char kBeforeFirstHeader[] =
    "等級の行（1: など）より前にあるので読み込みません。等級の行の後に書いてください。";
inline constexpr char kTitle[] =
    "番号ではないので読み込みません。見出しは、等級の行の「:」の後ろに書けます（1:令和8年 "
    "当せん番号 など）。";
inline constexpr char kClassZero[] = "「0:」の後にあるので読み込みません。等級は 1 から 9 です。";
inline constexpr char kReplaced[] =  // after the line number that replaces it
    " 行目の番号が同じ場所に入るので調べません。等級の行は 1: から順に1回ずつ書いてください。";
inline constexpr char kNotCounted[] =
    "等級の行が抜けているか順番が違うので、この番号は数えられません。等級の行は 1: "
    "から順に、抜けなく書いてください。";
inline constexpr char kClassNotReachedMiddle[] = "等の番号がないので、";  // class, this, class
inline constexpr char kClassNotReachedAfter[] = "等から後の等級は調べません。";
inline constexpr char kClassEmptyAfter[] =  // after kClassNotReached's words
    "番号はこの行の次の行から、1行に1つずつ書いてください。";
inline constexpr char kFullWidth[] = "全角の数字です。半角の数字で書いてください。";
inline constexpr char kSpaces[] = "前後に空白があります。空白を消してください。";
inline constexpr char kNotDigits[] = "数字でない文字があります。半角の数字だけで書いてください。";
inline constexpr char kTooLong[] = "はがきの番号（6 けた）より長い番号です。";
inline constexpr char kWrongLength[] = "この等級の最初の番号と桁数が違います。";
inline constexpr char kWrongLengthBefore[] = "この等級の最初の番号（";  // its digits between
inline constexpr char kWrongLengthAfter[] = " けた）と桁数が違います。";
inline constexpr char kEarlierFileMiddle[] = "等の番号「";  // class, this, number, then
inline constexpr char kEarlierFileAfter[] =
    "」はこのファイルにありませんが、前に読み込んだファイルから残っていて、これも調べます。"
    "等級の行は 1: から順に書いてください。";

// The year's file as the edit command writes it when there is none yet: the class
// headers, each with a note after its colon (never read) saying what goes under it.
inline constexpr char kYearFile[] =
    "1:1等の当たり番号を、この行の下に書きます。半角の数字で、一行に一つずつ書きます。\r\n"
    "2:2等の当たり番号を、この行の下に書きます。\r\n"
    "3:3等の当たり番号を、この行の下に書きます。\r\n";

// File errors by code (see FileErrorMessage); any other code is "I/O エラー (code)",
// in two pieces.
inline constexpr char kFileNotFound[] = "ファイルが見つかりません";
inline constexpr char kBadFileName[] = "不正なファイル名です";
inline constexpr char kTooManyOpenFiles[] = "オープンしたファイルが多すぎます";
inline constexpr char kAccessDenied[] = "ファイルへのアクセスが拒否されました";
inline constexpr char kReadPastEnd[] = "ファイルの末尾以降を読み込みました";
inline constexpr char kDiskFull[] = "ディスクがいっぱいです";
inline constexpr char kNotANumberInput[] = "入力値が数値ではありません";
inline constexpr char kIoErrorBefore[] = "I/O エラー (";
inline constexpr char kIoErrorAfter[] = ")";

// Start-up failures, each followed by the system's error code.
inline constexpr char kMainWindowFailed[] = "メインウィンドウを作成できませんでした";
inline constexpr char kWinDialogFailed[] = "当たり番号発見のウィンドウを作成できませんでした";

// nenga-check's own failures.
inline constexpr char kCannotReadInput[] = "標準入力を読み込めません: ";
inline constexpr char kCannotWriteOutput[] = "標準出力に書き込めません: ";
inline constexpr char kOutOfMemory[] = "メモリが足りません";

// nenga-check started by a double-click, which gives it a console of its own that
// closes as it ends: what it is and how to start it. Lines end with "\n"; the last
// one's comes with its printing.
inline constexpr char kCheckUsageOnOwnConsole[] =
    "nenga-check: 年賀はがきの番号をまとめて調べるコマンドライン版です。\n"
    "\n"
    "コマンド プロンプトから、当選番号ファイルと調べる番号を付けて起動します。\n"
    "  nenga-check 当選番号ファイル [番号 ...]\n"
    "  例: nenga-check 2026.txt 123456 654321\n"
    "番号を付けなければ、標準入力から1行に1つずつ読みます。当たった番号ごとに\n"
    "「123456 は1等です。」のように書き出し、6バイトでない番号は入力ミスと書きます。\n"
    "\n"
    "Enter キーを押すと閉じます。";

// The sound cues, wave files by bare name.
inline constexpr char kCueTyped[] = "pi.wav";      // txtNum's text changed
inline constexpr char kCueEnter[] = "Chop.wav";    // Enter in txtNum
inline constexpr char kCueButton[] = "kaeru.wav";  // cmdCheck, cmdOpen
inline constexpr char kCueCommand[] = "chop.wav";  // cmdEdit, cmdHelp
inline constexpr char kCueBigWin[] = "fan.wav";    // classes 1 to 3
inline constexpr char kCueWin[] = "fin.wav";       // classes 4 to 8

}  // namespace nenga::words

// Control identifiers of the program's windows. Test drivers find controls by these.
#pragma once

namespace nenga::ids {

// frmMain, window class "TfrmMain"
inline constexpr int kLabel1 = 101;
inline constexpr int kTxtNum = 102;
inline constexpr int kCmdCheck = 103;
inline constexpr int kLabel2 = 104;
inline constexpr int kTxtLast = 105;
inline constexpr int kCmdOpen = 106;
inline constexpr int kCmdEdit = 107;
inline constexpr int kCmdHelp = 108;

// frmAtari, window class "TfrmAtari"
inline constexpr int kLblAtari = 201;
inline constexpr int kImCongrat = 202;
inline constexpr int kCmdOK = 203;

}  // namespace nenga::ids

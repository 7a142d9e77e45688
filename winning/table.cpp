#include "winning/myProc.h"

namespace nenga {

WinNumberTable WinNumbers;
WinCountTable WinCount{};
std::int32_t FileLoaded = 0;

}  // namespace nenga

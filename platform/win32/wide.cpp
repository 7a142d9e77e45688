#include "platform/win32/wide.h"

#include <algorithm>

namespace nenga {

std::wstring WideFilterList(std::string_view sjisFilter) {
  std::wstring list;
  while (!sjisFilter.empty()) {
    const std::size_t end = std::min(sjisFilter.find('\0'), sjisFilter.size());
    list += WideFromShiftJis(sjisFilter.substr(0, end));
    list += L'\0';
    sjisFilter.remove_prefix(std::min(end + 1, sjisFilter.size()));
  }
  if (!list.empty()) list += L'\0';
  return list;
}

}  // namespace nenga

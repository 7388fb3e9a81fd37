#pragma once
// Tooltips show one sentence a line, so that they stay narrow without rich text.

#include <string>
#include <string_view>

namespace quillomat {

inline std::u16string OneSentenceALine(std::u16string_view text) {
  std::u16string lines(text);
  for (std::size_t at = lines.find(u". "); at != std::u16string::npos; at = lines.find(u". ", at + 2))
    lines[at + 1] = u'\n';
  return lines;
}

}  // namespace quillomat

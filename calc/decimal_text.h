#pragma once
// Decimal numbers read from text without passing through binary floating point, so that a
// displayed value can be re-formatted and compared exactly as it reads.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillomat {

// value = (negative ? -1 : 1) * 0.d1d2d3... * 10^exponent. The digits carry no leading or
// trailing zeros; zero has no digits and is never negative.
struct Decimal {
  bool negative = false;
  std::string digits;
  std::int64_t exponent = 0;

  bool IsZero() const { return digits.empty(); }
};

inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// ASCII text, as the number formatters of the standard library write it, in UTF-16.
inline std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

// Appends the run of digits that starts at `pos` to `digits`, as ASCII, and moves `pos` past it;
// returns how many there were.
std::size_t TakeDigits(std::u16string_view text, std::size_t& pos, std::string& digits);

// The whole text as a plain number, "-" digits ["." digits] [("E"|"e") [sign] digits], as the
// number and text layer writes them; nothing for any other text.
std::optional<Decimal> ParseDecimal(std::u16string_view text);

// Negative, 0 or positive as left is less than, equal to or greater than right.
int CompareDecimal(const Decimal& left, const Decimal& right);

}  // namespace quillomat

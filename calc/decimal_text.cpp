#include "decimal_text.h"

#include <algorithm>
#include <iterator>

namespace quillomat {
namespace {

// An exponent far beyond any double still has to be held without overflow; clamped this far,
// it keeps its meaning (astronomically large or small) for any text that fits in memory.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000;

std::optional<std::int64_t> TakeExponent(std::u16string_view text, std::size_t& pos) {
  if (pos == text.size()) return 0;
  if (text[pos] != u'E' && text[pos] != u'e') return std::nullopt;
  ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
  if (pos == text.size() || !IsDigit(text[pos])) return std::nullopt;
  std::int64_t exponent = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    exponent = std::min(exponent * 10 + (text[pos] - u'0'), kExponentLimit);
  return negative ? -exponent : exponent;
}

}  // namespace

std::size_t TakeDigits(std::u16string_view text, std::size_t& pos, std::string& digits) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  std::transform(text.begin() + static_cast<std::ptrdiff_t>(start), text.begin() + static_cast<std::ptrdiff_t>(pos),
                 std::back_inserter(digits), [](char16_t c) { return static_cast<char>(c); });
  return pos - start;
}

std::optional<Decimal> ParseDecimal(std::u16string_view text) {
  // Every number ends in a digit; this turns a Percentage text away before any work.
  if (text.empty() || !IsDigit(text.back())) return std::nullopt;
  Decimal number;
  number.digits.reserve(text.size());
  std::size_t pos = 0;
  if (pos < text.size() && text[pos] == u'-') number.negative = (++pos, true);

  const auto integerDigits = static_cast<std::int64_t>(TakeDigits(text, pos, number.digits));
  if (integerDigits == 0) return std::nullopt;
  if (pos < text.size() && text[pos] == u'.') {
    ++pos;
    if (TakeDigits(text, pos, number.digits) == 0) return std::nullopt;
  }
  const auto exponent = TakeExponent(text, pos);
  if (!exponent || pos != text.size()) return std::nullopt;

  const auto firstSignificant = number.digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) return Decimal{};
  number.digits.erase(number.digits.find_last_not_of('0') + 1);
  number.digits.erase(0, firstSignificant);
  number.exponent = integerDigits - static_cast<std::int64_t>(firstSignificant) + *exponent;
  return number;
}

int CompareDecimal(const Decimal& left, const Decimal& right) {
  const auto sign = [](const Decimal& d) { return d.IsZero() ? 0 : (d.negative ? -1 : 1); };
  if (sign(left) != sign(right)) return sign(left) < sign(right) ? -1 : 1;
  if (sign(left) == 0) return 0;

  int magnitude = 0;
  if (left.exponent != right.exponent)
    magnitude = left.exponent < right.exponent ? -1 : 1;
  else if (const int c = left.digits.compare(right.digits); c != 0)
    magnitude = c < 0 ? -1 : 1;
  return left.negative ? -magnitude : magnitude;
}

}  // namespace quillomat

#include "evidence_text.h"

#include <charconv>
#include <string_view>

#include "decimal_text.h"
#include "float_chars.h"

namespace quillomat {
namespace {

constexpr char16_t kNoEvidence[] =
    u"The extra numbers need whole counts: each base at least 1 and each results count from 0 to its base";
constexpr char16_t kNoZ[] = u"z and p are not defined when both players' results are 0 or both equal their bases";
constexpr char16_t kNoFisher[] = u"Fisher's exact p is computed only for bases up to 16777216";
constexpr char16_t kEqualRates[] = u"No bases needed: the two rates are equal";
constexpr char16_t kTooManyBases[] = u"No bases needed: more than 1000000000000000 would be needed";
constexpr char16_t kMinusSign = u'\u2212';

enum class Minus { kHyphen, kSign };

// Rounded to `decimals` places; a value that rounds to zero has no minus.
std::u16string Fixed(double value, int decimals, Minus minus = Minus::kHyphen) {
  char buffer[400];  // room for the largest double in full
  const char* end = DoubleToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
  std::u16string text = Widen({buffer, static_cast<std::size_t>(end - buffer)});
  if (text[0] == u'-' && text.find_first_of(u"123456789") == std::u16string::npos) text.erase(0, 1);
  if (text[0] == u'-' && minus == Minus::kSign) text[0] = kMinusSign;
  return text;
}

// Two significant digits ("0.00052", "0.10"), "1" for what rounds to 1, "< 0.0001" below that.
std::u16string PValue(double p) {
  if (p < 1e-4) return u"< 0.0001";
  char buffer[32];
  const char* end = DoubleToChars(buffer, buffer + sizeof buffer, p, std::chars_format::scientific, 1).ptr;
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));  // "5.2e-04"
  int exponent = 0;
  std::from_chars(text.data() + 5, text.data() + text.size(), exponent);
  if (text[4] != '-') return u"1";
  return u"0." + std::u16string(static_cast<std::size_t>(exponent - 1), u'0') + Widen(text.substr(0, 1)) +
         Widen(text.substr(2, 1));
}

// " = 0.32" or " < 0.0001", to follow "p".
std::u16string PClause(double p) {
  const std::u16string value = PValue(p);
  return (value[0] == u'<' ? u" " : u" = ") + value;
}

std::u16string Percent(double fraction) { return Fixed(100 * fraction, 2) + u"%"; }

std::u16string Whole(std::int64_t value) {
  char buffer[24];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return Widen({buffer, static_cast<std::size_t>(end - buffer)});
}

std::u16string SmallCountsSentence(const Evidence& e) {
  std::u16string text = u" The counts are small for this test (smallest expected count " + Fixed(e.smallestExpected, 1);
  if (e.fisherP) return text + u"); Fisher's exact two-sided p" + PClause(*e.fisherP) + u".";
  return text + u").";
}

}  // namespace

std::u16string LevelText(ConfidenceLevel level) { return Whole(ValuesOf(level).percent) + u"%"; }

std::u16string CriticalValueText(ConfidenceLevel level) { return Fixed(ValuesOf(level).criticalValue, 2); }

std::u16string EvidenceSentences(const std::optional<Evidence>& evidence) {
  if (!evidence) return std::u16string(kNoEvidence) + u".";
  const Evidence& e = *evidence;
  std::u16string text = e.z ? u"z = " + Fixed(*e.z, 2, Minus::kSign) + u", two-sided p" + PClause(*e.p) + u". "
                            : std::u16string(kNoZ) + u". ";
  text += LevelText(e.level) + u" confidence interval for Player 1 % \u2212 Player 2 %: " +
          Fixed(100 * e.low, 2, Minus::kSign) + u" to " + Fixed(100 * e.high, 2, Minus::kSign) + u" points.";
  if (e.z && e.smallestExpected < 5) text += SmallCountsSentence(e);
  return text;
}

std::vector<CopyLine> EvidenceCopyLines(const std::optional<Evidence>& evidence) {
  if (!evidence) return {{u"Note", kNoEvidence}};
  const Evidence& e = *evidence;
  std::vector<CopyLine> lines;
  if (e.z) {
    lines.push_back({u"z", Fixed(*e.z, 2)});
    lines.push_back({u"p (two-sided)", PValue(*e.p)});
  } else {
    lines.push_back({u"Note", kNoZ});
  }
  lines.push_back({u"Interval low", Percent(e.low)});
  lines.push_back({u"Interval high", Percent(e.high)});
  lines.push_back({u"Smallest expected count", Fixed(e.smallestExpected, 1)});
  lines.push_back(e.fisherP ? CopyLine{u"Exact p (Fisher)", PValue(*e.fisherP)} : CopyLine{u"Note", kNoFisher});
  if (e.basesNeeded) {
    lines.push_back({u"Player 1 base needed", Whole(e.basesNeeded->base1)});
    lines.push_back({u"Player 2 base needed", Whole(e.basesNeeded->base2)});
  } else {
    lines.push_back({u"Note", e.equalRates ? kEqualRates : kTooManyBases});
  }
  return lines;
}

}  // namespace quillomat

// libFuzzer target for the evidence and its texts. Any four Singles and any level must give
// evidence exactly when they are whole counts, with every present value finite and in its range,
// and texts that hold no NaN, infinity or negative zero; a broken promise traps.
//
// Input layout: byte 0 chooses the level (bits 0-1) and how bytes 1..16 become the entries
// (bits 2-3): 0 reads them as the bits of four Singles (base 1, results 1, base 2, results 2);
// 1, 2 and 3 as four 32-bit numbers that make whole counts with bases up to 64, 2^20 and 2^25.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "calc/evidence.h"
#include "calc/evidence_text.h"

namespace {

using quillomat::ConfidenceLevel;
using quillomat::Evidence;

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

struct Entries {
  float base1 = 0, resp1 = 0, base2 = 0, resp2 = 0;
};

Entries WholeCounts(const std::uint32_t (&words)[4], std::uint32_t largestBase) {
  const std::uint32_t base1 = 1 + words[0] % largestBase, base2 = 1 + words[2] % largestBase;
  // Rounding to a Single keeps the order, so a results count stays within its base.
  return {static_cast<float>(base1), static_cast<float>(words[1] % (base1 + 1)), static_cast<float>(base2),
          static_cast<float>(words[3] % (base2 + 1))};
}

bool IsWhole(float value) { return std::isfinite(value) && std::trunc(value) == value; }

bool AreWholeCounts(const Entries& e) {
  return IsWhole(e.base1) && IsWhole(e.resp1) && IsWhole(e.base2) && IsWhole(e.resp2) && e.base1 >= 1 && e.base2 >= 1 &&
         e.resp1 >= 0 && e.resp2 >= 0 && e.resp1 <= e.base1 && e.resp2 <= e.base2;
}

bool InRange(double value, double low, double high) { return std::isfinite(value) && value >= low && value <= high; }

void CheckValues(const Entries& in, const Evidence& e) {
  const double n1 = in.base1, r1 = in.resp1, n2 = in.base2, r2 = in.resp2;
  const bool poolAtAnEnd = (r1 == 0 && r2 == 0) || (r1 == n1 && r2 == n2);
  Require(e.z.has_value() == !poolAtAnEnd);
  Require(e.p.has_value() == e.z.has_value());
  // Exact for Singles: the sign of the difference of the rates.
  const double cross = r1 * n2 - r2 * n1;
  Require(e.equalRates == (cross == 0));
  if (e.z) {
    Require(std::isfinite(*e.z));
    Require((*e.z > 0) == (cross > 0) && (*e.z < 0) == (cross < 0));
    Require(InRange(*e.p, 0, 1));
  }
  Require(InRange(e.low, -1, 1) && InRange(e.high, -1, 1) && e.low <= e.high);
  const double difference = r1 / n1 - r2 / n2;
  Require(e.low <= difference + 1e-12 && difference - 1e-12 <= e.high);
  Require(InRange(e.smallestExpected, 0, std::fmin(n1, n2)));
  Require(e.fisherP.has_value() == (n1 <= quillomat::kFisherBaseLimit && n2 <= quillomat::kFisherBaseLimit));
  if (e.fisherP) Require(InRange(*e.fisherP, 0, 1));
  if (e.equalRates) Require(!e.basesNeeded);
  if (e.basesNeeded) {
    Require(e.basesNeeded->base1 >= 1 && e.basesNeeded->base1 <= quillomat::kMostBasesNeeded);
    Require(e.basesNeeded->base2 >= 1 && e.basesNeeded->base2 <= quillomat::kMostBasesNeeded);
  }
}

// ASCII but for the minus sign; no "nan" or "inf" in any case; no minus before a zero that has
// no further digits.
void CheckText(std::u16string_view text) {
  std::string lower;
  for (const char16_t c : text) {
    Require(c < 0x80 || c == u'\u2212');
    lower.push_back(c < 0x80 ? static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) : '-');
  }
  Require(lower.find("nan") == std::string::npos && lower.find("inf") == std::string::npos);
  for (std::size_t at = lower.find("-0"); at != std::string::npos; at = lower.find("-0", at + 1)) {
    std::size_t end = at + 1;
    while (end < lower.size() && (lower[end] == '0' || lower[end] == '.')) ++end;
    Require(end < lower.size() && lower[end] >= '1' && lower[end] <= '9');
  }
}

void CheckTexts(const std::optional<Evidence>& evidence) {
  CheckText(quillomat::EvidenceSentences(evidence));
  for (const quillomat::CopyLine& line : quillomat::EvidenceCopyLines(evidence)) {
    CheckText(line.label);
    CheckText(line.value);
    Require(!line.value.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 17) return 0;
  const auto level = static_cast<ConfidenceLevel>(data[0] & 3u);
  Entries entries;
  const unsigned mode = (data[0] >> 2) & 3u;
  if (mode == 0) {
    std::memcpy(&entries, data + 1, sizeof entries);
  } else {
    std::uint32_t words[4];
    std::memcpy(words, data + 1, sizeof words);
    constexpr std::uint32_t kLargestBase[] = {0, 64, 1u << 20, 1u << 25};
    entries = WholeCounts(words, kLargestBase[mode]);
  }
  const std::optional<Evidence> evidence =
      quillomat::AssessEvidence(entries.base1, entries.resp1, entries.base2, entries.resp2, level);
  Require(evidence.has_value() == AreWholeCounts(entries));
  if (evidence) CheckValues(entries, *evidence);
  CheckTexts(evidence);
  return 0;
}

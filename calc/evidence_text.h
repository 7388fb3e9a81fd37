#pragma once
// The evidence in words for the window's tooltip, and as the label and value lines a copy of the
// results carries. ASCII text, but for the minus sign U+2212 in the sentences.

#include <optional>
#include <string>
#include <vector>

#include "evidence.h"

namespace quillomat {

// "z = −3.47, two-sided p = 0.00052. 95% confidence interval for Player 1 % − Player 2 %: −22.87
// to −6.61 points.", and a sentence on Fisher's exact test when the counts are small for the z
// test. Without evidence, why there is none.
std::u16string EvidenceSentences(const std::optional<Evidence>& evidence);

// "95%" and "1.96": the level as its button shows it, and the window's critical value for it.
std::u16string LevelText(ConfidenceLevel level);
std::u16string CriticalValueText(ConfidenceLevel level);

struct CopyLine {
  std::u16string label, value;
  bool operator==(const CopyLine&) const = default;
};

// In this order, each when defined: z, p (two-sided), Interval low, Interval high, Smallest
// expected count, Exact p (Fisher), Player 1 base needed, Player 2 base needed; a "Note" line in
// place of what is left out, saying why.
std::vector<CopyLine> EvidenceCopyLines(const std::optional<Evidence>& evidence);

}  // namespace quillomat

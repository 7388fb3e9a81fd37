#pragma once
// The window's results as they leave it: the lines Copy Results puts on the clipboard, and the
// verdict's numbers in plain words. Read from the controls as they stand, through the same
// interface the calculation writes them with.

#include <optional>
#include <string>
#include <vector>

#include "evidence.h"
#include "evidence_text.h"
#include "form_controls.h"

namespace quillomat {

// What the evidence is computed from: the entries as the calculation reads them, and the level of
// the first selected level button, in the order the calculation reads them.
struct EvidenceInputs {
  float base1 = 0, resp1 = 0, base2 = 0, resp2 = 0;
  std::optional<ConfidenceLevel> level;
};
EvidenceInputs EvidenceInputsOf(const FormControls& window);

// The evidence for the inputs; none without a level or without whole counts.
std::optional<Evidence> EvidenceOf(const EvidenceInputs& inputs);

// Player 1 base, Player 1 results, Player 2 base, Player 2 results (as typed), Player 1 %,
// Player 2 %, Weighted average, Difference, Difference needed (as shown), Significance level,
// Critical value, Verdict (without its padding blanks), then the evidence's lines.
std::vector<CopyLine> ResultsReport(const FormControls& window);

// One "label<TAB>value" line each, which pastes into a spreadsheet as two columns.
std::u16string PlainTextOf(const std::vector<CopyLine>& lines);
// The same lines as a two-column HTML table.
std::u16string HtmlOf(const std::vector<CopyLine>& lines);

}  // namespace quillomat

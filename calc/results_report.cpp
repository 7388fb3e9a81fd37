#include "results_report.h"

#include <array>
#include <string>

#include "calculate.h"

namespace quillomat {
namespace {

using C = Control;

struct LevelButton {
  Control button;
  ConfidenceLevel level;
};

// The order the calculation reads the buttons in: the first selected one decides.
constexpr std::array<LevelButton, 4> kLevelButtons{{
    {C::opt80, ConfidenceLevel::k80},
    {C::opt90, ConfidenceLevel::k90},
    {C::opt95, ConfidenceLevel::k95},
    {C::opt99, ConfidenceLevel::k99},
}};

std::u16string WithoutPadding(std::u16string text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

float Entry(const FormControls& window, Control box) { return ReadEntry(window.Text(box)); }

void AppendEscaped(std::u16string& html, std::u16string_view text) {
  for (char16_t c : text) {
    switch (c) {
      case u'&': html += u"&amp;"; break;
      case u'<': html += u"&lt;"; break;
      case u'>': html += u"&gt;"; break;
      case u'"': html += u"&quot;"; break;
      default: html += c;
    }
  }
}

std::optional<ConfidenceLevel> SelectedLevel(const FormControls& window) {
  for (const LevelButton& b : kLevelButtons)
    if (window.Value(b.button)) return b.level;
  return std::nullopt;
}

}  // namespace

EvidenceInputs EvidenceInputsOf(const FormControls& window) {
  return {Entry(window, C::txtBase1), Entry(window, C::txtResp1), Entry(window, C::txtBase2),
          Entry(window, C::txtResp2), SelectedLevel(window)};
}

std::optional<Evidence> EvidenceOf(const EvidenceInputs& inputs) {
  if (!inputs.level) return std::nullopt;
  return AssessEvidence(inputs.base1, inputs.resp1, inputs.base2, inputs.resp2, *inputs.level);
}

std::vector<CopyLine> ResultsReport(const FormControls& window) {
  std::vector<CopyLine> lines{
      {u"Player 1 base", window.Text(C::txtBase1)},
      {u"Player 1 results", window.Text(C::txtResp1)},
      {u"Player 2 base", window.Text(C::txtBase2)},
      {u"Player 2 results", window.Text(C::txtResp2)},
      {u"Player 1 %", window.Caption(C::lblPer1b)},
      {u"Player 2 %", window.Caption(C::lblPer2b)},
      {u"Weighted average", window.Caption(C::lblWAvgb)},
      {u"Difference", window.Caption(C::lblActDiffb)},
      {u"Difference needed", window.Caption(C::lblDiffNeedb)},
  };
  if (const auto level = SelectedLevel(window)) {
    lines.push_back({u"Significance level", LevelText(*level)});
    lines.push_back({u"Critical value", CriticalValueText(*level)});
  }
  lines.push_back({u"Verdict", WithoutPadding(window.Text(C::txtSigDiff))});
  for (CopyLine& line : EvidenceCopyLines(EvidenceOf(EvidenceInputsOf(window)))) lines.push_back(std::move(line));
  return lines;
}

std::u16string PlainTextOf(const std::vector<CopyLine>& lines) {
  std::u16string text;
  for (const CopyLine& line : lines) text += line.label + u'\t' + line.value + u'\n';
  return text;
}

std::u16string HtmlOf(const std::vector<CopyLine>& lines) {
  std::u16string html = u"<table>\n";
  for (const CopyLine& line : lines) {
    html += u"<tr><td>";
    AppendEscaped(html, line.label);
    html += u"</td><td>";
    AppendEscaped(html, line.value);
    html += u"</td></tr>\n";
  }
  return html + u"</table>\n";
}

}  // namespace quillomat

#include "form_handlers.h"

#include "number_text.h"

namespace quillomat {
namespace {

using C = Control;

constexpr C kValueLabels[] = {C::lblPer1b, C::lblPer2b, C::lblActDiffb, C::lblDiffNeedb, C::lblWAvgb};

}  // namespace

FormHandlers::FormHandlers(FormControls& controls, Platform& platform) : controls_(controls), platform_(platform) {}

bool FormHandlers::HasText(Control textBox) const { return CompareText(controls_.Text(textBox), u"") != 0; }

// All four texts are read before any is tested.
bool FormHandlers::AllFilled() const {
  const bool base1 = HasText(C::txtBase1);
  const bool resp1 = HasText(C::txtResp1);
  const bool base2 = HasText(C::txtBase2);
  const bool resp2 = HasText(C::txtResp2);
  return base1 && resp1 && base2 && resp2;
}

void FormHandlers::Form_Load() { cmdClearAll_Click(); }

void FormHandlers::InputChange() {
  EmptyBoxes(C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2);
  if (AllFilled()) Calculate(controls_, singles_);
}

void FormHandlers::LevelClick() {
  if (AllFilled())
    Calculate(controls_, singles_);
  else
    platform_.MessageBox(kInsertAllNumbers);
}

void FormHandlers::lblDiffNeedb_Change() { HideLabel(C::lblDiffNeedb); }

void FormHandlers::cmdClear1_Click() {
  controls_.SetText(C::txtBase1, u"");
  controls_.SetText(C::txtResp1, u"");
  controls_.SetEnabled(C::cmdClear1, false);
  controls_.SetEnabled(C::cmdClearAll, false);
}

void FormHandlers::cmdClear2_Click() {
  controls_.SetText(C::txtBase2, u"");
  controls_.SetText(C::txtResp2, u"");
  controls_.SetEnabled(C::cmdClear2, false);
  controls_.SetEnabled(C::cmdClearAll, false);
}

void FormHandlers::cmdClearAll_Click() {
  for (C box : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2}) controls_.SetText(box, u"");
  for (C button : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) controls_.SetEnabled(button, false);
}

void FormHandlers::cmdExit_Click() { platform_.EndProgram(); }

// Sets the clear buttons by which pairs hold text; buttons the state does not name keep their
// enabled flags. Then shows the value labels if all four boxes hold text, or hides the result
// area and the warning.
void FormHandlers::EmptyBoxes(Control txt1, Control txt2, Control txt3, Control txt4) {
  const bool firstPair = HasText(txt1) || HasText(txt2);
  const bool secondPair = HasText(txt3) || HasText(txt4);
  const FillState fill = firstPair ? (secondPair ? FillState::BothPairs : FillState::FirstPairOnly)
                                   : (secondPair ? FillState::SecondPairOnly : FillState::AllEmpty);
  switch (fill) {
    case FillState::AllEmpty:
      for (C button : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) controls_.SetEnabled(button, false);
      break;
    case FillState::FirstPairOnly: controls_.SetEnabled(C::cmdClear1, true); break;
    case FillState::SecondPairOnly: controls_.SetEnabled(C::cmdClear2, true); break;
    case FillState::BothPairs:
      for (C button : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) controls_.SetEnabled(button, true);
      break;
  }

  const bool allFilled = HasText(txt1) && HasText(txt2) && HasText(txt3) && HasText(txt4);
  for (C label : kValueLabels) controls_.SetVisible(label, allFilled);
  if (!allFilled) {
    controls_.SetVisible(C::txtSigDiff, false);
    controls_.SetVisible(C::txtWarnSign, false);
  }
}

// Re-formats every result caption as a Percentage text and shows the result area again while
// all four inputs hold text. Its own first write re-raises the change that called it once; the
// second run finds every caption formatted already, and the chain stops.
void FormHandlers::HideLabel(Control lblName) {
  controls_.SetCaption(lblName, FormatPercent(controls_.Caption(lblName)));
  for (C label : {C::lblWAvgb, C::lblPer1b, C::lblPer2b, C::lblDiffNeedb, C::lblActDiffb})
    controls_.SetCaption(label, FormatPercent(controls_.Caption(label)));

  const C resultArea[] = {lblName,         C::lblWAvgb,    C::lblPer1b,  C::lblPer2b,
                          C::lblDiffNeedb, C::lblActDiffb, C::txtSigDiff};
  for (C control : resultArea) controls_.SetVisible(control, false);
  if (AllFilled())
    for (C control : resultArea) controls_.SetVisible(control, true);
}

}  // namespace quillomat

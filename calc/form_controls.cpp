#include "form_controls.h"

namespace quillomat {

std::string_view ControlName(Control control) {
  static constexpr std::array<std::string_view, kControlCount> kNames{
      "txtSigDiff", "txtWarnSign",  "opt95",       "opt90",       "opt99",    "opt80",    "cmdClearAll", "cmdClear2",
      "cmdClear1",  "cmdExit",      "txtResp2",    "txtBase2",    "txtResp1", "txtBase1", "Label4",      "Label1",
      "Image1",     "Label3",       "Label2",      "lblSigLevel", "Line1",    "lblWAvg",  "lblWAvgb",    "lblActDiffb",
      "lblActDiff", "lblDiffNeedb", "lblDiffNeed", "lblPer2b",    "lblPer2",  "lblPer1",  "lblPer1b",    "lblResp2",
      "lblBase2",   "lblResp1",     "lblTitle",    "lblBase1",
  };
  return kNames.at(Index(control));
}

}  // namespace quillomat

// The results as they leave the window, read from a window model filled as a calculation leaves it.
#include "results_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "form_model.h"

namespace quillomat {
namespace {

using C = Control;
using testing::FormModel;
using testing::Narrow;

struct Shown {
  std::u16string_view base1, resp1, base2, resp2;
  C level;
  std::u16string_view per1, per2, wavg, diff, needed, verdict;
};

// "label=value" for each line, so a failure shows the whole report.
std::vector<std::string> Lines(const std::vector<CopyLine>& lines) {
  std::vector<std::string> text;
  for (const CopyLine& line : lines) text.push_back(Narrow(line.label) + "=" + Narrow(line.value));
  return text;
}

std::vector<std::string> ReportOf(const Shown& s) {
  FormModel window;
  const std::pair<C, std::u16string_view> texts[] = {
      {C::txtBase1, s.base1},      {C::txtResp1, s.resp1},     {C::txtBase2, s.base2}, {C::txtResp2, s.resp2},
      {C::lblPer1b, s.per1},       {C::lblPer2b, s.per2},      {C::lblWAvgb, s.wavg},  {C::lblActDiffb, s.diff},
      {C::lblDiffNeedb, s.needed}, {C::txtSigDiff, s.verdict},
  };
  for (const auto& [control, text] : texts) window.StateOf(control).text = text;
  window.Select(s.level);
  return Lines(ResultsReport(window));
}

TEST(ResultsReport, TheTypicalRunInOrderWithItsEvidence) {
  const Shown typical{u"200",
                      u"50",
                      u"300",
                      u"120",
                      C::opt95,
                      u"25.00%",
                      u"40.00%",
                      u"34.00%",
                      u"15.00%",
                      u"08.48%",
                      u"  SIGNIFICANTLY DIFFERENT  "};
  EXPECT_EQ(ReportOf(typical), (std::vector<std::string>{
                                   "Player 1 base=200",
                                   "Player 1 results=50",
                                   "Player 2 base=300",
                                   "Player 2 results=120",
                                   "Player 1 %=25.00%",
                                   "Player 2 %=40.00%",
                                   "Weighted average=34.00%",
                                   "Difference=15.00%",
                                   "Difference needed=08.48%",
                                   "Significance level=95%",
                                   "Critical value=1.96",
                                   "Verdict=SIGNIFICANTLY DIFFERENT",
                                   "z=-3.47",
                                   "p (two-sided)=0.00052",
                                   "Interval low=-22.87%",
                                   "Interval high=-6.61%",
                                   "Smallest expected count=68.0",
                                   "Exact p (Fisher)=0.00052",
                                   "Player 1 base needed=64",
                                   "Player 2 base needed=96",
                               }));
}

TEST(ResultsReport, LevelEntriesAndVerdictAsTheWindowHasThem) {
  struct Case {
    Shown shown;
    std::vector<std::string> expected;  // lines that must be there
  };
  const Case cases[] = {
      {{u"100", u"10", u"100", u"20", C::opt99, u"10.00%", u"20.00%", u"15.00%", u"10.00%", u"11.77%",
        u"  NOT significantly different  "},
       {"Significance level=99%", "Critical value=2.33", "Verdict=NOT significantly different"}},
      {{u"100", u"10", u"100", u"20", C::opt80, u"10.00%", u"20.00%", u"15.00%", u"10.00%", u"06.46%",
        u"  SIGNIFICANTLY DIFFERENT  "},
       {"Significance level=80%", "Critical value=1.28", "Verdict=SIGNIFICANTLY DIFFERENT"}},
      // Entries exactly as typed; the evidence is read from them as the calculation reads them.
      {{u" 12", u"3abc", u"12", u"6", C::opt90, u"25.00%", u"50.00%", u"37.50%", u"25.00%", u"32.50%",
        u"  NOT significantly different  "},
       {"Player 1 base= 12", "Player 1 results=3abc", "Critical value=1.64", "z=-1.26"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> report = ReportOf(c.shown);
    for (const std::string& line : c.expected)
      EXPECT_NE(std::find(report.begin(), report.end(), line), report.end()) << line;
  }
}

TEST(ResultsReport, WithoutWholeCountsTheEvidenceIsANote) {
  const std::vector<std::string> report = ReportOf({u"2.5", u"1", u"4", u"2", C::opt95, u"40.00%", u"50.00%", u"46.15%",
                                                    u"10.00%", u"62.73%", u"  NOT significantly different  "});
  ASSERT_EQ(report.size(), 13u);
  EXPECT_EQ(report[11], "Verdict=NOT significantly different");
  EXPECT_EQ(report[12].rfind("Note=", 0), 0u) << report[12];
}

TEST(ResultsReport, PlainTextAndHtmlCarryTheSameLines) {
  const std::vector<CopyLine> lines{{u"Player 1 base", u"1<2 & 3>\"0\""}, {u"z", u"-3.47"}};
  EXPECT_EQ(Narrow(PlainTextOf(lines)), "Player 1 base\t1<2 & 3>\"0\"\nz\t-3.47\n");
  EXPECT_EQ(Narrow(HtmlOf(lines)),
            "<table>\n<tr><td>Player 1 base</td><td>1&lt;2 &amp; 3&gt;&quot;0&quot;</td></tr>\n"
            "<tr><td>z</td><td>-3.47</td></tr>\n</table>\n");
}

}  // namespace
}  // namespace quillomat

// Speed of the number and text layer, of one full calculation on the in-memory window, and of the
// evidence for a difference.
#include <benchmark/benchmark.h>

#include <string>

#include "calculate.h"
#include "evidence.h"
#include "form_model.h"
#include "number_text.h"

namespace quillomat {
namespace {

using C = Control;

void BM_SingleToText(benchmark::State& state) {
  float value = 0.08475725f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SingleToText(value));
    value += 1e-7f;
  }
}
BENCHMARK(BM_SingleToText);

void BM_FormatPercent(benchmark::State& state) {
  const std::u16string text = u"0.08475725";
  for (auto _ : state) benchmark::DoNotOptimize(FormatPercent(text));
}
BENCHMARK(BM_FormatPercent);

// One keystroke's calculation: the results re-formatted through the difference-needed label's
// change event, as the window wires it.
void BM_Calculate(benchmark::State& state) {
  testing::FormModel form;
  form.OnChange(C::lblDiffNeedb, [&form] {
    for (C label : {C::lblDiffNeedb, C::lblWAvgb, C::lblPer1b, C::lblPer2b, C::lblDiffNeedb, C::lblActDiffb})
      form.SetCaption(label, FormatPercent(form.Caption(label)));
  });
  form.Select(C::opt95);
  form.StateOf(C::txtBase1).text = u"200";
  form.StateOf(C::txtResp1).text = u"50";
  form.StateOf(C::txtBase2).text = u"300";
  Singles singles;
  const std::u16string results[] = {u"120", u"121"};
  int i = 0;
  for (auto _ : state) {
    form.StateOf(C::txtResp2).text = results[i ^= 1];  // a new value each time, as typing gives
    Calculate(form, singles);
  }
  benchmark::DoNotOptimize(form.StateOf(C::txtSigDiff).text);
}
BENCHMARK(BM_Calculate);

void BM_Evidence(benchmark::State& state, float base1, float resp1, float base2, float resp2) {
  for (auto _ : state) benchmark::DoNotOptimize(AssessEvidence(base1, resp1, base2, resp2, ConfidenceLevel::k95));
}
BENCHMARK_CAPTURE(BM_Evidence, Typical, 200.0f, 50.0f, 300.0f, 120.0f);
BENCHMARK_CAPTURE(BM_Evidence, Million, 1e6f, 250000.0f, 1e6f, 251000.0f);
// The dearest for Fisher's exact test: the largest bases it is computed for, half of all results,
// and the observed table next to the most probable one, so that both tails it sums are as long as
// they can be.
BENCHMARK_CAPTURE(BM_Evidence, WorstForFisher, 16777216.0f, 8388609.0f, 16777216.0f, 8388607.0f);

}  // namespace
}  // namespace quillomat

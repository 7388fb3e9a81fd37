// Speed of the number and text layer and of one full calculation on the in-memory window.
#include <benchmark/benchmark.h>

#include <string>

#include "calculate.h"
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

}  // namespace
}  // namespace quillomat

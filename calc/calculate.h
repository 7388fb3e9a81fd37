#pragma once
// The significance test: from the four entered texts and the chosen level to the five result
// captions and the verdict, or to the warning that a results count exceeds its base.

#include <string_view>

#include "form_controls.h"

namespace quillomat {

// The nine Singles the window owns; all 0 when the window is created, kept between runs.
struct Singles {
  float Resp1 = 0, Resp2 = 0, Base1 = 0, Base2 = 0;
  float Per1 = 0, Per2 = 0, WAvg = 0, ZValue = 0, DiffNeed = 0;
};

inline constexpr char16_t kSignificant[] = u"  SIGNIFICANTLY DIFFERENT  ";
inline constexpr char16_t kNotSignificant[] = u"  NOT significantly different  ";

// An entry as the calculation holds it: the number its text begins with, as a Single.
float ReadEntry(std::u16string_view text);

// One run. Throws FloatingPointFault when a checked step faults (nothing of this run's captions
// is written then) and whatever the controls throw; what was written before an error stays.
void Calculate(FormControls& form, Singles& singles);

}  // namespace quillomat

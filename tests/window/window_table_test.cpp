// Lookups in the window's table that every shell shares.
#include <gtest/gtest.h>

#include <string>

#include "run_time_error.h"
#include "window_table.h"

namespace quillomat::table {
namespace {

TEST(WindowTable, OnlyAControlOfTheKindThatHasAPropertyMayBeAskedForIt) {
  struct Property {
    Kind kind;
    const char* name;
  };
  const Property properties[] = {{Kind::TextBox, "Text"}, {Kind::Label, "Caption"}, {Kind::OptionButton, "Value"}};
  for (const ControlRow& row : Controls()) {
    for (const Property& property : properties) {
      const std::string what = std::string(ControlName(row.control)) + " " + property.name;
      if (row.kind == property.kind) {
        EXPECT_NO_THROW(RequireKind(row.control, property.kind, property.name)) << what;
        continue;
      }
      try {
        RequireKind(row.control, property.kind, property.name);
        ADD_FAILURE() << what << ": no error";
      } catch (const ControlAccessError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(ControlName(row.control)) + " refused " + property.name);
      }
    }
  }
}

TEST(WindowTable, EachTooltipIsFoundForItsControlAndNoneForAControlWithout) {
  for (const ToolTipRow& tip : ToolTips()) EXPECT_EQ(ToolTipOf(tip.control), tip.text) << ControlName(tip.control);
  // The verdict's tip is its explanation, worked out from the results, not a row of the table.
  for (Control control : {Control::txtBase1, Control::txtSigDiff, Control::cmdExit, Control::Image1})
    EXPECT_EQ(ToolTipOf(control), std::nullopt) << ControlName(control);
}

}  // namespace
}  // namespace quillomat::table

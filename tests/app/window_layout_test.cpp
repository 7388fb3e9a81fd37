#include "window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using quillomat::Control;
using namespace quillomat::layout;

namespace {

TEST(WindowLayout, TabIndexesRunFromZeroToThirtyThreeOnceEach) {
  std::multiset<int> indexes;
  for (const ControlSpec& spec : Controls()) {
    const bool drawnOnly = spec.kind == Kind::Picture || spec.kind == Kind::Line;
    EXPECT_EQ(spec.tabIndex.has_value(), !drawnOnly) << quillomat::ControlName(spec.control);
    if (spec.tabIndex) indexes.insert(*spec.tabIndex);
  }
  std::multiset<int> expected;
  for (int i = 0; i <= 33; ++i) expected.insert(i);
  EXPECT_EQ(indexes, expected);
}

TEST(WindowLayout, KindDefaultColoursFollowTheKind) {
  struct Case {
    Control control;
    SystemColour background;
    SystemColour foreground;
  };
  const Case cases[] = {
      {Control::txtBase1, SystemColour::WindowBackground, SystemColour::WindowText},
      {Control::lblBase1, SystemColour::ButtonFace, SystemColour::ButtonText},
      {Control::cmdExit, SystemColour::ButtonFace, SystemColour::ButtonText},
      {Control::opt95, SystemColour::ActiveBorder, SystemColour::ButtonText},
      {Control::lblTitle, SystemColour::ButtonFace, SystemColour::WindowText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(quillomat::ControlName(c.control).data());
    EXPECT_EQ(Background(Spec(c.control)), System(c.background));
    EXPECT_EQ(Foreground(Spec(c.control)), System(c.foreground));
  }
}

TEST(WindowLayout, AccessibleTextsTellTheGroupsApart) {
  std::set<QString> names;
  std::set<QString> descriptions;
  for (const AccessibleSpec& spec : Accessibility()) {
    if (!spec.name.isEmpty()) {
      EXPECT_TRUE(names.insert(spec.name.toString()).second);
    }
    if (!spec.description.isEmpty()) {
      EXPECT_TRUE(descriptions.insert(spec.description.toString()).second);
    }
    // A value label shows its value as its name; naming it would hide the value.
    if (Spec(spec.control).kind == Kind::Label) {
      EXPECT_TRUE(spec.name.isEmpty());
    }
    if (spec.labelledBy) {
      EXPECT_EQ(Spec(*spec.labelledBy).kind, Kind::Label);
    }
  }
  EXPECT_EQ(names.size(), 6U);
  EXPECT_EQ(descriptions.size(), 5U);
}

}  // namespace

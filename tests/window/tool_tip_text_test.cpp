#include "tool_tip_text.h"

#include <gtest/gtest.h>

namespace quillomat {
namespace {

TEST(OneSentenceALine, BreaksAfterEachSentenceOnly) {
  struct Case {
    std::u16string_view text, lines;
  };
  const Case cases[] = {
      {u"", u""},
      {u"One sentence.", u"One sentence."},
      {u"First. Second. Third.", u"First.\nSecond.\nThird."},
      {u"p = 0.00052. Next", u"p = 0.00052.\nNext"},  // a decimal point is no sentence's end
      {u"Ends with a blank. ", u"Ends with a blank.\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(OneSentenceALine(c.text), c.lines);
}

}  // namespace
}  // namespace quillomat

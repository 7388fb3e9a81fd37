// The page and style sheet written from the window table: every control once, as the element of its
// kind with its state, names and keys, and placed where the table puts it.
#include "page_markup.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "site_files.h"
#include "window_table.h"

namespace quillomat::web {
namespace {

using C = Control;

std::string Name(C control) { return std::string(ControlName(control)); }

// The start tags of the page, by the value of one of their attributes.
std::map<std::string, std::string> TagsBy(const std::string& html, const std::string& attribute) {
  std::map<std::string, std::string> tags;
  const std::regex tag("<[a-z0-9]+[^>]*>");
  const std::regex value(" " + attribute + "=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator(); ++it) {
    std::smatch found;
    const std::string text = it->str();
    if (std::regex_search(text, found, value)) tags[found[1]] += text;
  }
  return tags;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PageMarkupTest, EveryControlIsOneElementOfItsKind) {
  const std::string html = PageHtml(kSiteFiles);
  const auto byId = TagsBy(html, "id");
  const auto byBox = TagsBy(html, "data-control");
  struct Kind {
    C control;
    const char* element;  // the start of the element the id names
  };
  const Kind kinds[] = {
      {C::txtBase1, "<input type=\"text\""},
      {C::txtSigDiff, "<input type=\"text\""},
      {C::lblTitle, "<h1"},
      {C::Label2, "<h2"},
      {C::lblBase1, "<label"},
      {C::lblPer1b, "<output"},
      {C::lblSigLevel, "<p"},
      {C::cmdClear1, "<button"},
      {C::opt95, "<input type=\"radio\""},
      {C::Image1, "<img"},
      {C::Line1, "<hr"},
  };
  for (const Kind& k : kinds) {
    ASSERT_EQ(byId.count(Name(k.control)), 1u) << Name(k.control);
    EXPECT_EQ(byId.at(Name(k.control)).rfind(k.element, 0), 0u) << byId.at(Name(k.control));
  }
  for (const table::ControlRow& row : table::Controls()) {
    const std::string name = Name(row.control);
    EXPECT_EQ(std::regex_search(byId.at(name), std::regex("^<[^>]*>$")), true) << name << ": one element";
    EXPECT_EQ(std::regex_search(byBox.at(name), std::regex("^<[^>]*>$")), true) << name << ": one place";
  }
}

TEST(PageMarkupTest, StatesAsFirstShownNamesAndKeysFollowTheTable) {
  const auto byId = TagsBy(PageHtml(kSiteFiles), "id");
  const auto byBox = TagsBy(PageHtml(kSiteFiles), "data-control");
  struct Expected {
    C control;
    std::vector<std::string> has;
  };
  const Expected expected[] = {
      {C::txtBase1, {"aria-label=\"Player 1 base\"", "tabindex=\"3\"", "inputmode=\"decimal\""}},
      {C::txtResp2, {"aria-label=\"Player 2 results\"", "tabindex=\"9\""}},
      {C::txtSigDiff, {" disabled", "aria-label=\"Verdict\"", "aria-describedby=\"txtSigDiff-description\""}},
      {C::txtWarnSign, {" disabled", "value=\"Base has to be higher than Results\""}},
      {C::opt95, {" checked", "tabindex=\"27\""}},
      {C::cmdClearAll, {"aria-keyshortcuts=\"Alt+A\"", "tabindex=\"13\""}},
      {C::cmdExit, {"aria-keyshortcuts=\"Alt+X\"", "tabindex=\"10\""}},
      {C::lblPer1b, {"aria-describedby=\"lblPer1b-description\"", "aria-live=\"off\""}},
      {C::lblResp1, {"for=\"txtResp1\""}},
      {C::lblWAvg, {"for=\"lblWAvgb\""}},
      // As first shown: the load handler has disabled the clear buttons.
      {C::cmdClear1, {" disabled"}},
      {C::cmdClear2, {" disabled"}},
      {C::cmdClearAll, {" disabled"}},
  };
  for (const Expected& e : expected)
    for (const std::string& part : e.has) EXPECT_TRUE(Has(byId.at(Name(e.control)), part)) << byId.at(Name(e.control));
  for (C hidden : {C::txtSigDiff, C::txtWarnSign}) EXPECT_TRUE(Has(byBox.at(Name(hidden)), "class=\"hidden\""));
  for (C shown : {C::lblPer1b, C::txtBase1, C::cmdExit}) EXPECT_FALSE(Has(byBox.at(Name(shown)), "hidden"));
  for (C other : {C::opt80, C::opt90, C::opt99}) EXPECT_FALSE(Has(byId.at(Name(other)), "checked"));
  EXPECT_FALSE(Has(byId.at(Name(C::cmdExit)), "disabled"));
  // Only what takes the focus is in the tab order: no label, no display box.
  for (C none : {C::lblBase1, C::lblTitle, C::txtSigDiff, C::Label4, C::Image1})
    EXPECT_FALSE(Has(byId.at(Name(none)), "tabindex")) << Name(none);
}

TEST(PageMarkupTest, CaptionsAreEscapedAndShowTheirAccessKeys) {
  const std::string html = PageHtml(kSiteFiles);
  EXPECT_TRUE(Has(html, ">Clear <span class=\"key\">O</span>ne</button>"));
  EXPECT_TRUE(Has(html, ">E<span class=\"key\">x</span>it</button>"));
  EXPECT_TRUE(Has(html, ">Player One %</label>"));
  EXPECT_TRUE(Has(html, "<title>Created by Brannoch</title>"));
  // A tooltip shows one sentence a line.
  EXPECT_TRUE(
      Has(html, "data-tip=\"How sure the verdict must be before it calls the two rates different.&#10;A higher"));
  EXPECT_FALSE(Has(html, "&O")) << "an access key's ampersand is never shown";
}

TEST(PageMarkupTest, TheStyleSheetPlacesEveryControlWhereTheTableDoes) {
  const std::string css = WindowCss();
  const std::regex rule(
      "\\[data-control=\"([A-Za-z0-9]+)\"\\] \\{ left: (-?\\d+)px; top: (-?\\d+)px; width: (\\d+)px; "
      "height: (\\d+)px; \\}");
  std::map<std::string, std::vector<int>> placed;
  for (auto it = std::sregex_iterator(css.begin(), css.end(), rule); it != std::sregex_iterator(); ++it)
    placed[(*it)[1]] = {std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4]), std::stoi((*it)[5])};
  ASSERT_EQ(placed.size(), kControlCount);
  // The levels sit in their group, which starts at the first level's corner.
  const auto& first = table::Row(C::opt80).box;
  for (const table::ControlRow& row : table::Controls()) {
    std::vector<int> expected{table::Pixels(row.box.left), table::Pixels(row.box.top), table::Pixels(row.box.width),
                              table::Pixels(row.box.height)};
    if (row.kind == table::Kind::Line)
      expected = {table::Pixels(row.line.x1), table::Pixels(row.line.y1), table::Pixels(row.line.x2 - row.line.x1), 1};
    if (row.kind == table::Kind::OptionButton) {
      expected[0] -= table::Pixels(first.left);
      expected[1] -= table::Pixels(first.top);
    }
    EXPECT_EQ(placed[Name(row.control)], expected) << Name(row.control);
  }
  EXPECT_TRUE(Has(css, ".levels { left: 40px; top: 320px; width: 97px; height: 57px; }")) << css;
  EXPECT_TRUE(Has(css, ".window { width: 638px; height: 399px; }"));
}

TEST(PageMarkupTest, ColoursAreTheTablesRolesAndReadableOnFixedBackgrounds) {
  const std::string css = WindowCss();
  const auto appearance = [&css](C control) {
    const std::string start = "[data-control=\"" + Name(control) + "\"] { font-size";
    const auto at = css.find(start);
    return at == std::string::npos ? std::string() : css.substr(at, css.find('}', at) - at);
  };
  EXPECT_TRUE(Has(appearance(C::Label2), "font-size: 11px; font-weight: 700;"));
  EXPECT_TRUE(Has(appearance(C::Label2), "background-color: #C0C0FF; color: #000000;"));
  EXPECT_TRUE(Has(appearance(C::txtWarnSign), "background-color: #FFC0C0; color: #000000;"));
  EXPECT_TRUE(Has(appearance(C::txtBase1), "font-size: 13px;"));
  EXPECT_TRUE(Has(appearance(C::txtBase1), "text-align: right;"));
  EXPECT_TRUE(Has(appearance(C::txtBase1), "background-color: var(--window-background); color: var(--window-text);"));
  EXPECT_TRUE(Has(appearance(C::lblTitle), "font-size: 32px;"));
  EXPECT_TRUE(Has(appearance(C::lblTitle), "color: var(--window-text);"));
  EXPECT_TRUE(Has(appearance(C::opt95), "background-color: var(--active-border);"));
  EXPECT_TRUE(Has(appearance(C::lblPer1), "background-color: var(--button-face); color: var(--button-text);"));
  EXPECT_TRUE(Has(appearance(C::txtSigDiff), "font-size: 16px; font-weight: 700; text-align: center;"));
}

}  // namespace
}  // namespace quillomat::web

#include "window_table.h"

#include <algorithm>
#include <cmath>

#include "run_time_error.h"

namespace quillomat::table {
namespace {

using C = Control;
using K = Kind;
using A = Align;

constexpr Font kRegular8{8.25, 400};
constexpr Font kBold8{8.25, 700};
constexpr Font kRegular9{9.75, 400};
constexpr Font kBold9{9.75, 700};
constexpr Font kBold12{12, 700};
constexpr Font kRegular24{24, 400};

constexpr Colour kDefault = KindDefault();
constexpr Colour kHeadingBlue = FixedRgb(0xC0C0FF);
constexpr Colour kWarningPink = FixedRgb(0xFFC0C0);
constexpr Colour kActiveBorder = System(SystemColour::ActiveBorder);
constexpr Colour kWindowText = System(SystemColour::WindowText);

constexpr std::optional<int> kNoTab;
// Three digits before the point: results equal to their base, or a large difference needed.
constexpr std::u16string_view kPercentage = u"100.00%";
constexpr std::uint8_t kDisplayBox = kDisabled | kHidden;

constexpr WindowRow kWindow{
    .objectName = u"frmStart",
    .title = u"Created by Brannoch",
    .clientWidthTwips = 9570,
    .clientHeightTwips = 5985,
    .background = SystemColour::ActiveBorder,
    .font = kRegular8,
    .icons = {u"icon-16.png", u"icon-32.png"},
};

// clang-format off
constexpr std::array<ControlRow, kControlCount> kControls{{
  {C::txtSigDiff,   K::TextBox,       u"",                                   {2880, 4080, 4575, 375},  kBold12,    kDefault,      kDefault,    29,     A::Centre, kDisplayBox, {}},
  {C::txtWarnSign,  K::TextBox,       u"Base has to be higher than Results", {2160, 3600, 3855, 375},  kBold9,     kWarningPink,  kDefault,    28,     A::Centre, kDisplayBox, {}},
  {C::opt95,        K::OptionButton,  u"95%",                                {600, 5280, 735, 375},    kRegular9,  kActiveBorder, kDefault,    26,     A::Left,   kSelected,   {}},
  {C::opt90,        K::OptionButton,  u"90%",                                {1320, 4800, 735, 375},   kRegular9,  kActiveBorder, kDefault,    25,     A::Left,   0,           {}},
  {C::opt99,        K::OptionButton,  u"99%",                                {1320, 5280, 735, 375},   kRegular9,  kActiveBorder, kDefault,    24,     A::Left,   0,           {}},
  {C::opt80,        K::OptionButton,  u"80%",                                {600, 4800, 735, 375},    kRegular9,  kActiveBorder, kDefault,    23,     A::Left,   0,           {}},
  {C::cmdClearAll,  K::CommandButton, u"Clear &All",                         {8160, 1200, 975, 375},   kRegular8,  kDefault,      kDefault,    12,     A::Centre, 0,           {}},
  {C::cmdClear2,    K::CommandButton, u"Clear &Two",                         {5040, 1200, 975, 375},   kRegular8,  kDefault,      kDefault,    11,     A::Centre, 0,           {}},
  {C::cmdClear1,    K::CommandButton, u"Clear &One",                         {2160, 1200, 975, 375},   kRegular8,  kDefault,      kDefault,    10,     A::Centre, 0,           {}},
  {C::cmdExit,      K::CommandButton, u"E&xit",                              {8160, 4080, 975, 375},   kRegular8,  kDefault,      kDefault,    9,      A::Centre, 0,           {}},
  {C::txtResp2,     K::TextBox,       u"",                                   {5160, 2400, 735, 375},   kRegular9,  kDefault,      kDefault,    8,      A::Right,  0,           {}},
  {C::txtBase2,     K::TextBox,       u"",                                   {5160, 1800, 735, 375},   kRegular9,  kDefault,      kDefault,    5,      A::Right,  0,           {}},
  {C::txtResp1,     K::TextBox,       u"",                                   {2280, 2400, 735, 375},   kRegular9,  kDefault,      kDefault,    4,      A::Right,  0,           {}},
  {C::txtBase1,     K::TextBox,       u"",                                   {2280, 1800, 735, 375},   kRegular9,  kDefault,      kDefault,    2,      A::Right,  0,           {}},
  {C::Label4,       K::Label,         u"CALCULATIONS",                       {6480, 1320, 1575, 255},  kBold8,     kHeadingBlue,  kDefault,    33,     A::Left,   0,           {}},
  {C::Label1,       K::Label,         u"CHOOSE",                             {600, 4080, 1455, 255},   kBold8,     kHeadingBlue,  kDefault,    32,     A::Centre, 0,           {}},
  {C::Image1,       K::Picture,       u"banner.gif",                         {2640, 4680, 6330, 1065}, kRegular8,  kDefault,      kDefault,    kNoTab, A::Left,   0,           {}},
  {C::Label3,       K::Label,         u"PLAYER 2",                           {3600, 1320, 1215, 255},  kBold8,     kHeadingBlue,  kDefault,    31,     A::Left,   0,           {}},
  {C::Label2,       K::Label,         u"PLAYER 1",                           {360, 1320, 1575, 255},   kBold8,     kHeadingBlue,  kDefault,    30,     A::Left,   0,           {}},
  {C::lblSigLevel,  K::Label,         u"Significance Level",                 {600, 4320, 1455, 375},   kRegular8,  kHeadingBlue,  kDefault,    27,     A::Centre, 0,           {}},
  {C::Line1,        K::Line,          u"",                                   {},                       kRegular8,  kDefault,      kDefault,    kNoTab, A::Left,   0,           {0, 960, 9600, 960}},
  {C::lblWAvg,      K::Label,         u"Weighted Average",                   {6480, 3120, 1575, 255},  kRegular8,  kDefault,      kDefault,    22,     A::Left,   0,           {}},
  {C::lblWAvgb,     K::Label,         u"",                                   {8400, 3120, 735, 255},   kRegular9,  kDefault,      kDefault,    21,     A::Left,   0,           {}, kPercentage},
  {C::lblActDiffb,  K::Label,         u"",                                   {8400, 1920, 735, 255},   kRegular9,  kDefault,      kDefault,    20,     A::Left,   0,           {}, kPercentage},
  {C::lblActDiff,   K::Label,         u"Difference",                         {6480, 1920, 1575, 255},  kRegular8,  kDefault,      kDefault,    19,     A::Left,   0,           {}},
  {C::lblDiffNeedb, K::Label,         u"",                                   {8400, 2520, 735, 255},   kRegular9,  kDefault,      kDefault,    18,     A::Left,   0,           {}, kPercentage},
  {C::lblDiffNeed,  K::Label,         u"Difference Needed",                  {6480, 2520, 1575, 255},  kRegular8,  kDefault,      kDefault,    17,     A::Left,   0,           {}},
  {C::lblPer2b,     K::Label,         u"",                                   {5160, 3120, 735, 255},   kRegular9,  kDefault,      kDefault,    16,     A::Right,  0,           {}, kPercentage},
  {C::lblPer2,      K::Label,         u"Player Two %",                       {3600, 3120, 1335, 255},  kRegular9,  kDefault,      kDefault,    15,     A::Left,   0,           {}},
  {C::lblPer1,      K::Label,         u"Player One %",                       {360, 3120, 1695, 255},   kRegular9,  kDefault,      kDefault,    14,     A::Left,   0,           {}},
  {C::lblPer1b,     K::Label,         u"",                                   {2280, 3120, 735, 255},   kRegular9,  kDefault,      kDefault,    13,     A::Right,  0,           {}, kPercentage},
  {C::lblResp2,     K::Label,         u"Results",                            {3600, 2520, 1335, 255},  kRegular9,  kDefault,      kDefault,    7,      A::Left,   0,           {}},
  {C::lblBase2,     K::Label,         u"Base",                               {3600, 1920, 1335, 255},  kRegular9,  kDefault,      kDefault,    6,      A::Left,   0,           {}},
  {C::lblResp1,     K::Label,         u"Results (I.e. H, ER)",               {360, 2520, 1695, 255},   kRegular9,  kDefault,      kDefault,    3,      A::Left,   0,           {}},
  {C::lblTitle,     K::Label,         u"Significance Testing Using T-Test",  {1080, 120, 7455, 735},   kRegular24, kDefault,      kWindowText, 1,      A::Centre, 0,           {}},
  {C::lblBase1,     K::Label,         u"Base (I.e. AB, IP)",                 {360, 1920, 1695, 255},   kRegular9,  kDefault,      kDefault,    0,      A::Left,   0,           {}},
}};

constexpr std::array<AccessibleRow, 11> kAccessibility{{
  {C::txtBase1,     u"Player 1 base",    u"",                    C::lblBase1},
  {C::txtResp1,     u"Player 1 results", u"",                    C::lblResp1},
  {C::txtBase2,     u"Player 2 base",    u"",                    C::lblBase2},
  {C::txtResp2,     u"Player 2 results", u"",                    C::lblResp2},
  {C::lblPer1b,     u"",                 u"Player 1 percentage", C::lblPer1},
  {C::lblPer2b,     u"",                 u"Player 2 percentage", C::lblPer2},
  {C::lblWAvgb,     u"",                 u"Weighted average",    C::lblWAvg},
  {C::lblActDiffb,  u"",                 u"Difference",          C::lblActDiff},
  {C::lblDiffNeedb, u"",                 u"Difference needed",   C::lblDiffNeed},
  {C::txtSigDiff,   u"Verdict",          u"",                    std::nullopt},
  {C::txtWarnSign,  u"Warning",          u"",                    std::nullopt},
}};
// clang-format on

constexpr std::u16string_view kPer1Tip =
    u"Player 1's results divided by Player 1's base: hits per at-bat, earned runs per inning.";
constexpr std::u16string_view kPer2Tip =
    u"Player 2's results divided by Player 2's base: hits per at-bat, earned runs per inning.";
constexpr std::u16string_view kWAvgTip =
    u"Both players' results divided by both bases: the rate the two would share if there were no real difference "
    u"between them.";
constexpr std::u16string_view kActDiffTip = u"How far apart the two players' rates are, whichever of them is higher.";
constexpr std::u16string_view kDiffNeedTip =
    u"How far apart the rates must be, with these bases, for the verdict to call them significantly different at the "
    u"chosen level. Larger bases need a smaller difference.";

constexpr std::array<ToolTipRow, 15> kToolTips{{
    {C::lblPer1, kPer1Tip},
    {C::lblPer1b, kPer1Tip},
    {C::lblPer2, kPer2Tip},
    {C::lblPer2b, kPer2Tip},
    {C::lblWAvg, kWAvgTip},
    {C::lblWAvgb, kWAvgTip},
    {C::lblActDiff, kActDiffTip},
    {C::lblActDiffb, kActDiffTip},
    {C::lblDiffNeed, kDiffNeedTip},
    {C::lblDiffNeedb, kDiffNeedTip},
    {C::lblSigLevel,
     u"How sure the verdict must be before it calls the two rates different. A higher level asks for a larger "
     u"difference."},
    {C::opt80, u"80%: the difference must be at least 1.28 standard errors."},
    {C::opt90, u"90%: the difference must be at least 1.64 standard errors."},
    {C::opt95, u"95%: the difference must be at least 1.96 standard errors. The usual choice."},
    {C::opt99,
     u"99%: the difference must be at least 2.33 standard errors. That is the one-sided 99% value, the same as the "
     u"two-sided 98% value; a two-sided 99% test would need 2.58."},
}};

constexpr bool InCreationOrder() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (Index(kControls[i].control) != i) return false;
  }
  return true;
}
static_assert(InCreationOrder(), "rows must follow the order in which the window creates them");

constexpr bool WholePixels(const ControlRow& row) {
  const auto whole = [](int twips) { return twips % kTwipsPerPixel == 0; };
  return whole(row.box.left) && whole(row.box.top) && whole(row.box.width) && whole(row.box.height) &&
         whole(row.line.x1) && whole(row.line.y1) && whole(row.line.x2) && whole(row.line.y2);
}
static_assert(std::all_of(kControls.begin(), kControls.end(), WholePixels),
              "every position and size is a whole number of pixels");

constexpr Colour KindBackground(Kind kind) {
  switch (kind) {
    case Kind::TextBox: return System(SystemColour::WindowBackground);
    case Kind::Picture:
    case Kind::Line: return System(kWindow.background);
    case Kind::Label:
    case Kind::CommandButton:
    case Kind::OptionButton: break;
  }
  return System(SystemColour::ButtonFace);
}

constexpr Colour KindForeground(Kind kind) {
  switch (kind) {
    case Kind::TextBox:
    case Kind::Picture:
    case Kind::Line: return System(SystemColour::WindowText);
    case Kind::Label:
    case Kind::CommandButton:
    case Kind::OptionButton: break;
  }
  return System(SystemColour::ButtonText);
}

}  // namespace

const WindowRow& Window() { return kWindow; }
const std::array<ControlRow, kControlCount>& Controls() { return kControls; }
const ControlRow& Row(Control control) { return kControls[Index(control)]; }
const std::array<AccessibleRow, 11>& Accessibility() { return kAccessibility; }
const std::array<ToolTipRow, 15>& ToolTips() { return kToolTips; }

std::optional<std::u16string_view> ToolTipOf(Control control) {
  // The web build's library has no std::ranges::find.
  const auto row = std::find_if(kToolTips.begin(), kToolTips.end(),
                                [control](const ToolTipRow& tip) { return tip.control == control; });
  if (row == kToolTips.end()) return std::nullopt;
  return row->text;
}

void RequireKind(Control control, Kind kind, const char* property) {
  if (Row(control).kind != kind) throw ControlAccessError(control, property);
}

Colour Background(const ControlRow& row) {
  return row.background == KindDefault() ? KindBackground(row.kind) : row.background;
}

Colour Foreground(const ControlRow& row) {
  return row.foreground == KindDefault() ? KindForeground(row.kind) : row.foreground;
}

// WCAG 2's contrast ratio: (L + 0.05) / 0.05 against black, 1.05 / (L + 0.05) against white.
std::uint32_t ReadableTextOn(std::uint32_t backgroundRgb) {
  const auto linear = [](std::uint32_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double luminance = 0.2126 * linear((backgroundRgb >> 16) & 0xFF) +
                           0.7152 * linear((backgroundRgb >> 8) & 0xFF) + 0.0722 * linear(backgroundRgb & 0xFF);
  return (luminance + 0.05) * (luminance + 0.05) > 1.05 * 0.05 ? 0x000000 : 0xFFFFFF;
}

}  // namespace quillomat::table

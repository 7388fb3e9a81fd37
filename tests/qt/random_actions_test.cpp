// Model-based random test of the working window.
//
// Seeded random sequences of user actions go to the real window as real key and mouse events:
// a digit, a point, a minus, a blank or a letter typed into one of the four input boxes,
// Backspace, select-all-and-delete (Ctrl+A, Delete), clicks on the three clear buttons (enabled
// or not) and on the four level buttons. After every action the window is compared with a small
// model written here from the program's rules, sharing no logic with the program: its own
// reading of the entries, its own arithmetic with the floating-point faults taken from the
// processor's exception flags, its own percentage formatting and verdict. Compared are the four
// input texts, the enabled flags of the clear buttons, the visibility of the five value labels,
// the verdict box and the warning box, the five captions, the verdict text, the selected level
// and the message boxes the action opened ("Please insert all numbers first" without an icon,
// or a warning for a run-time error, which names the player when one player's entries are at
// fault and no player otherwise). On the first difference the test prints the seed, the
// action's number, the last actions, both screens, and fails.
//
// The test suite runs one fixed seed, 10,000 actions. Other runs, from the build directory:
//
//   QUILLOMAT_RANDOM_SEED=123 QUILLOMAT_RANDOM_ACTIONS=50000 tests/qt/random_actions_test
//   QUILLOMAT_RANDOM_SEED=time ...            a seed from the clock; it is printed
//   QUILLOMAT_RANDOM_SCRIPT="B1+2 B1+0 R1+5 B2+3 R2+1 L99 Clear1 R2< B2#" ...
//                                             replays the given actions instead, checking each
//
// Script words (the failure report prints the actions in the same words): B1, R1, B2, R2 name
// txtBase1, txtResp1, txtBase2, txtResp2; "B1+c" types the character c ("_" for a blank), "B1<"
// is Backspace at the end of the text, "B1#" is Ctrl+A then Delete; Clear1, Clear2, ClearAll
// click the clear buttons; L80, L90, L95, L99 click the level buttons.
//
// Mostly the generator types plausible numbers keystroke by keystroke, with stray keys,
// corrections, clears and level clicks between; now and then it types a set of four entries near
// the ends of the Single range (up to 48 characters), for the overflows and infinite entries.
// An infinite entry can carry an infinity into the results without a fault; how an infinity is
// written is the program's own choice, so the captions and the verdict then go unjudged until
// the next calculation with finite results (everything else is still compared).
//
// The letters typed never include "e" or "E": whether an exponent is read after a number is the
// program's own choice, and this model reads digits with at most one point and nothing more.
#include "window_controller.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfenv>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using C = quillomat::Control;
using quillomat::FrmStart;

namespace {

// ------------------------------------------------------------------------------------------------
// What the screen shows.

enum Box { kBase1, kResp1, kBase2, kResp2 };  // the order of the all-filled reading
constexpr std::array<C, 4> kBoxControl{C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2};
constexpr std::array<const char*, 4> kBoxWord{"B1", "R1", "B2", "R2"};

enum Level { k80, k90, k95, k99 };
constexpr std::array<C, 4> kLevelControl{C::opt80, C::opt90, C::opt95, C::opt99};
constexpr std::array<const char*, 4> kLevelWord{"L80", "L90", "L95", "L99"};

constexpr std::array<C, 3> kClearControl{C::cmdClear1, C::cmdClear2, C::cmdClearAll};
constexpr std::array<const char*, 3> kClearWord{"Clear1", "Clear2", "ClearAll"};

// The result controls whose visibility is compared; the first five are the value labels.
enum Shown { kPer1b, kPer2b, kWAvgb, kActDiffb, kDiffNeedb, kSigDiff, kWarnSign };
constexpr std::array<C, 7> kShownControl{C::lblPer1b,     C::lblPer2b,   C::lblWAvgb,   C::lblActDiffb,
                                         C::lblDiffNeedb, C::txtSigDiff, C::txtWarnSign};

const std::string kPrompt = "Please insert all numbers first";
const std::string kYes = "  SIGNIFICANTLY DIFFERENT  ";
const std::string kNo = "  NOT significantly different  ";

struct Screen {
  std::array<std::string, 4> texts;
  std::array<bool, 3> enabled{};  // cmdClear1, cmdClear2, cmdClearAll
  std::array<bool, 7> visible{};  // in Shown order
  std::array<std::string, 5> captions;
  std::string verdict;
  std::array<bool, 4> levels{};  // selected flags of opt80, opt90, opt95, opt99
  // What the last action's message boxes were: "prompt"; "warning", with the player its text
  // names when it names one ("warning: Player 1"); or a description of an unexpected box.
  std::vector<std::string> messages;
  bool open = true;

  bool operator==(const Screen&) const = default;
};

std::string Flags(const bool* flags, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += flags[i] ? '1' : '0';
  return out;
}

std::string Describe(const Screen& s) {
  std::ostringstream out;
  out << "  texts     B1=\"" << s.texts[0] << "\" R1=\"" << s.texts[1] << "\" B2=\"" << s.texts[2] << "\" R2=\""
      << s.texts[3] << "\"\n"
      << "  enabled   Clear1/Clear2/ClearAll " << Flags(s.enabled.data(), 3) << "\n"
      << "  visible   Per1b/Per2b/WAvgb/ActDiffb/DiffNeedb/SigDiff/WarnSign " << Flags(s.visible.data(), 7) << "\n"
      << "  captions  Per1b=\"" << s.captions[0] << "\" Per2b=\"" << s.captions[1] << "\" WAvgb=\"" << s.captions[2]
      << "\" ActDiffb=\"" << s.captions[3] << "\" DiffNeedb=\"" << s.captions[4] << "\"\n"
      << "  verdict   \"" << s.verdict << "\"\n"
      << "  levels    80/90/95/99 " << Flags(s.levels.data(), 4) << "\n"
      << "  messages ";
  for (const auto& m : s.messages) out << " [" << m << "]";
  out << "\n  window    " << (s.open ? "open" : "CLOSED") << "\n";
  return out.str();
}

// ------------------------------------------------------------------------------------------------
// Actions.

struct Action {
  enum Kind { kType, kBackspace, kWipe, kClear, kLevel } kind = kType;
  int target = 0;  // box, clear button or level, by kind
  char character = 0;

  std::string Word() const {
    switch (kind) {
      case kType: return std::string(kBoxWord[Index()]) + "+" + (character == ' ' ? '_' : character);
      case kBackspace: return std::string(kBoxWord[Index()]) + "<";
      case kWipe: return std::string(kBoxWord[Index()]) + "#";
      case kClear: return kClearWord[Index()];
      case kLevel: return kLevelWord[Index()];
    }
    return "?";
  }
  std::size_t Index() const { return static_cast<std::size_t>(target); }
};

std::optional<Action> ParseWord(const std::string& word) {
  for (int i = 0; i < 3; ++i)
    if (word == kClearWord[static_cast<std::size_t>(i)]) return Action{Action::kClear, i, 0};
  for (int i = 0; i < 4; ++i)
    if (word == kLevelWord[static_cast<std::size_t>(i)]) return Action{Action::kLevel, i, 0};
  for (int i = 0; i < 4; ++i) {
    const std::string box = kBoxWord[static_cast<std::size_t>(i)];
    if (word.rfind(box, 0) != 0) continue;
    const std::string rest = word.substr(box.size());
    if (rest == "<") return Action{Action::kBackspace, i, 0};
    if (rest == "#") return Action{Action::kWipe, i, 0};
    if (rest.size() == 2 && rest[0] == '+') return Action{Action::kType, i, rest[1] == '_' ? ' ' : rest[1]};
  }
  return std::nullopt;
}

// ------------------------------------------------------------------------------------------------
// The model's number reading and percentage display.

// The number a text begins with: blanks skipped, an optional sign, digits with at most one
// point; whatever follows is ignored. A text that does not begin so reads as 0.
double ReadEntry(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  std::string number = "0";  // so that ".5" and "5." both read
  bool point = false, digit = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c >= '0' && c <= '9') {
      number += c;
      digit = true;
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digit) return 0.0;
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return negative ? -value : value;
}

// A double stored as a Single: round to nearest, ties to even; beyond the largest Single's
// rounding range the result is an infinity and the overflow flag is raised.
float Store(double value) {
  const double limit = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);  // halfway past the largest
  if (std::isfinite(value) && std::fabs(value) >= limit) {
    std::feraiseexcept(FE_OVERFLOW | FE_INEXACT);
    return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

// A value as shown in a result caption: rounded to 7 significant digits, times 100, rounded to
// whole hundredths halves away from zero. Kept as a sign and a count of hundredths in decimal.
struct Shown100 {
  bool negative = false;
  std::string hundredths;  // no leading zeros; empty for zero

  std::string Text() const {
    std::string digits = hundredths;
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return (negative ? "-" : "") + digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2) + "%";
  }
};

Shown100 ShowPercent(float value) {
  if (value == 0.0f) return {};
  // printf's exact rounding gives the 7 significant digits: d.dddddde±x. The point is skipped
  // whatever character the locale makes it.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6e", std::fabs(static_cast<double>(value)));
  std::string digits;
  const char* p = buffer;
  for (; *p != '\0' && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  const int exponent = std::atoi(p + 1);
  // value = d.dddddd * 10^exponent, so the hundredths of its percentage are the seven digits
  // times 10^(exponent - 2).
  const int shift = exponent - 2;
  std::string hundredths;
  if (shift >= 0) {
    hundredths = digits + std::string(static_cast<std::size_t>(shift), '0');
  } else {
    const int keep = 7 + shift;
    if (keep >= 0) {
      hundredths = digits.substr(0, static_cast<std::size_t>(keep));
      if (digits[static_cast<std::size_t>(keep)] >= '5') {  // halves away from zero
        std::size_t i = hundredths.size();
        while (i > 0 && hundredths[i - 1] == '9') hundredths[--i] = '0';
        if (i == 0)
          hundredths.insert(0, "1");
        else
          ++hundredths[i - 1];
      }
    }
  }
  const auto significant = hundredths.find_first_not_of('0');
  hundredths.erase(0, significant == std::string::npos ? hundredths.size() : significant);
  return {value < 0 && !hundredths.empty(), hundredths};
}

// Negative, 0 or positive as the shown value a is below, equal to or above b.
int CompareShown(const Shown100& a, const Shown100& b) {
  const auto magnitude = [](const std::string& x, const std::string& y) {
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
  };
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  const int m = magnitude(a.hundredths, b.hundredths);
  return a.negative ? -m : m;
}

// ------------------------------------------------------------------------------------------------
// The model of the window.

// A state the model cannot predict (a value this model does not format); the test stops there.
struct BeyondTheModel : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Tally {
  std::map<std::string, int> counts;
  void Note(const std::string& what) { ++counts[what]; }
  int operator[](const std::string& what) const {
    const auto it = counts.find(what);
    return it == counts.end() ? 0 : it->second;
  }
};

class Model {
 public:
  // The window as it opens: the load handler has emptied empty boxes (no change event, so the
  // value labels keep their initial visibility) and disabled the clear buttons; 95% selected.
  Model() {
    screen_.visible = {true, true, true, true, true, false, false};
    screen_.levels = {false, false, true, false};
  }

  const Screen& screen() const { return screen_; }
  const Tally& tally() const { return tally_; }
  // The fault of the last calculation that failed, for the report.
  const std::string& lastFault() const { return lastFault_; }
  // Whether the captions and the verdict are predicted (see Calculate).
  bool judged() const { return judged_; }

  void Do(const Action& a) {
    if (AllFilled()) tally_.Note("action on four filled boxes");
    screen_.messages.clear();
    const auto box = a.Index();
    switch (a.kind) {
      case Action::kType: SetText(box, screen_.texts[box] + a.character); break;
      case Action::kBackspace:
        if (!screen_.texts[box].empty()) SetText(box, screen_.texts[box].substr(0, screen_.texts[box].size() - 1));
        break;
      case Action::kWipe: SetText(box, ""); break;
      case Action::kClear: ClickClear(a.Index()); break;
      case Action::kLevel: ClickLevel(a.Index()); break;
    }
  }

 private:
  bool Filled(std::size_t box) const { return !screen_.texts[box].empty(); }
  bool AllFilled() const { return Filled(kBase1) && Filled(kResp1) && Filled(kBase2) && Filled(kResp2); }

  // Only a change of text raises the box's change event.
  void SetText(std::size_t box, const std::string& text) {
    if (screen_.texts[box] == text) return;
    screen_.texts[box] = text;
    InputChange();
  }

  void InputChange() {
    TrackFill();
    if (AllFilled()) Calculate();
  }

  // Clear buttons by which groups hold text: each fill state enables its own buttons and only
  // the empty window disables; then the result area follows the four texts.
  void TrackFill() {
    const bool one = Filled(kBase1) || Filled(kResp1);
    const bool two = Filled(kBase2) || Filled(kResp2);
    auto& e = screen_.enabled;
    if (!one && !two) e = {false, false, false};
    if (one && !two) e[0] = true;
    if (!one && two) e[1] = true;
    if (one && two) e = {true, true, true};
    const bool all = AllFilled();
    for (std::size_t i = kPer1b; i <= kDiffNeedb; ++i) screen_.visible[i] = all;
    if (!all) screen_.visible[kSigDiff] = screen_.visible[kWarnSign] = false;
  }

  void ClickClear(std::size_t button) {
    if (!screen_.enabled[button]) {
      tally_.Note("click on a disabled clear button");
      return;
    }
    tally_.Note(std::string("click on ") + kClearWord[button]);
    if (button != 1) SetText(kBase1, ""), SetText(kResp1, "");
    if (button != 0) SetText(kBase2, ""), SetText(kResp2, "");
    if (button != 1) screen_.enabled[0] = false;
    if (button != 0) screen_.enabled[1] = false;
    screen_.enabled[2] = false;
  }

  void ClickLevel(std::size_t level) {
    screen_.levels = {};
    screen_.levels[level] = true;
    if (AllFilled()) {
      Calculate();
    } else {
      tally_.Note("level click with a box empty");
      screen_.messages.push_back("prompt");
    }
  }

  // A floating-point fault at a check: the run-time error leaves the handler, which the window
  // reports in a warning box.
  void Fail(const std::string& where, int flags, const char* player = nullptr) {
    const std::string kind = (flags & FE_INVALID)     ? "invalid operation"
                             : (flags & FE_DIVBYZERO) ? "division by zero"
                                                      : "overflow";
    lastFault_ = kind + " at " + where;
    tally_.Note("error: " + lastFault_);
    screen_.messages.push_back(player != nullptr ? std::string("warning: ") + player : "warning");
  }

  static int Faults() { return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW); }

  void Calculate() {
    static constexpr std::array<float, 4> kCritical{1.28f, 1.64f, 1.96f, 2.33f};
    std::size_t level = 0;
    while (!screen_.levels[level]) ++level;
    const float z = kCritical[level];

    // Entries beyond the Single range are held as infinities without an error.
    const float base1 = Store(ReadEntry(screen_.texts[kBase1]));
    const float base2 = Store(ReadEntry(screen_.texts[kBase2]));
    const float resp1 = Store(ReadEntry(screen_.texts[kResp1]));
    const float resp2 = Store(ReadEntry(screen_.texts[kResp2]));

    if (resp1 > base1 || resp2 > base2) {
      screen_.visible[kWarnSign] = true;
      tally_.Note("warning: results above base");
      return;
    }
    screen_.visible[kWarnSign] = false;
    const bool infiniteEntry = std::isinf(base1) || std::isinf(base2) || std::isinf(resp1) || std::isinf(resp2);

    // Each step in double precision, stored where the procedure stores; the processor's flags
    // tell the faults. Volatile keeps every operation between the clearing and the test.
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile double r1 = resp1, b1 = base1, r2 = resp2, b2 = base2;
    volatile float per1 = Store(r1 / b1);
    if (const int f = Faults()) return Fail("player 1's proportion", f, "Player 1");
    volatile float per2 = Store(r2 / b2);
    if (const int f = Faults()) return Fail("player 2's proportion", f, "Player 2");
    volatile double pooled = (r2 + r1) / (b2 + b1);
    if (const int f = Faults()) return Fail("the pooled proportion", f);
    volatile float wavg = Store(pooled);
    volatile double w = wavg;
    volatile double radicand = (1.0 / b2 + 1.0 / b1) * ((1.0 - w) * w);
    if (const int f = Faults()) return Fail("the radicand", f);
    if (radicand < 0) return Fail("the root", FE_INVALID);
    volatile double root = std::pow(radicand, 0.5);
    volatile float diffNeed = Store(root * static_cast<double>(z));
    if (const int f = Faults()) return Fail("the difference needed", f);

    std::optional<float> actual;  // none when the proportions are equal
    const float p1 = per1, p2 = per2;
    if (p1 != p2) {
      volatile double hi = std::max(p1, p2), lo = std::min(p1, p2);
      actual = Store(hi - lo);
      if (Faults() != 0) throw BeyondTheModel("the actual difference overflows");
    }
    // An infinite entry can carry an infinity into the results without a fault; how an infinity
    // is written is the program's own choice, so those captions and the verdict go unjudged
    // until the next calculation with finite results.
    const float shownValues[] = {per1, per2, wavg, actual.value_or(0.0f), diffNeed};
    bool finite = true;
    for (const float v : shownValues) finite = finite && std::isfinite(v);
    for (std::size_t i = kPer1b; i <= kSigDiff; ++i) screen_.visible[i] = true;
    judged_ = finite;
    if (infiniteEntry) tally_.Note("calculated: an entry beyond the Single range");
    if (!finite) {
      tally_.Note("calculated: a result not finite (captions unjudged)");
      return;
    }

    const Shown100 actualShown = ShowPercent(actual.value_or(0.0f));
    const Shown100 neededShown = ShowPercent(diffNeed);
    screen_.captions = {ShowPercent(per1).Text(), ShowPercent(per2).Text(), ShowPercent(wavg).Text(),
                        actualShown.Text(), neededShown.Text()};
    const bool significant = CompareShown(neededShown, actualShown) < 0;
    screen_.verdict = significant ? kYes : kNo;
    tally_.Note(significant ? "calculated: significant" : "calculated: not significant");
    if (p1 != p2 && actualShown.hundredths.empty()) tally_.Note("calculated: unequal proportions shown as 00.00%");
    if (neededShown.hundredths.size() > 4 || actualShown.hundredths.size() > 4)
      tally_.Note("calculated: a difference of 100.00% or more");
  }

  Screen screen_;
  Tally tally_;
  std::string lastFault_;
  bool judged_ = true;
};

// ------------------------------------------------------------------------------------------------
// The action generator: mostly a user typing plausible numbers into the boxes, keystroke by
// keystroke, with stray keys, corrections, clears and level clicks mixed in.

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : state_(seed) {}

  Action Next(const Screen& s) {
    if (scenario_ && --scenarioLeft_ <= 0) scenario_ = false;
    if (scenario_) return Below(8) != 0 ? Progress(s) : Action{Action::kLevel, Below(4), 0};
    const int roll = Below(200);
    if (roll < 124) return Progress(s);
    if (roll < 138) {
      const int box = Below(4);
      if (s.texts[static_cast<std::size_t>(box)].size() >= 8) return {Action::kBackspace, box, 0};
      return {Action::kType, box, StrayCharacter()};
    }
    if (roll < 150) return {Action::kBackspace, PreferFilled(s), 0};
    if (roll < 156) return {Action::kWipe, PreferFilled(s), 0};
    if (roll < 188) return {Action::kLevel, Below(4), 0};
    return {Action::kClear, roll < 192 ? 0 : roll < 196 ? 1 : 2, 0};
  }

 private:
  std::uint64_t Bits() {  // SplitMix64: the same sequence on every platform
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Bits() % static_cast<std::uint64_t>(n)); }
  char Digit() { return static_cast<char>('0' + Below(10)); }
  std::string Number(int maxDigits) {
    std::string out(1, static_cast<char>('1' + Below(9)));
    const int more = Below(maxDigits);
    for (int i = 0; i < more; ++i) out += Digit();
    return out;
  }
  char Letter() { return "abkqz"[Below(5)]; }
  // An entry near or beyond the ends of the Single range, typed out in full (up to 48 keys).
  std::string Extreme() {
    std::string out = Below(2) == 0 ? "-" : "";
    switch (Below(4)) {
      case 0: return out + "1" + std::string(static_cast<std::size_t>(37 + Below(3)), '0');
      case 1: return out + (Below(2) == 0 ? "34028235" : "34028236") + std::string(31, '0');
      case 2: return out + "." + std::string(static_cast<std::size_t>(38 + Below(9)), '0') + "1";
      default: return out + Number(3) + std::string(static_cast<std::size_t>(34 + Below(4)), '0');
    }
  }
  char StrayCharacter() {
    const int roll = Below(100);
    if (roll < 45) return Digit();
    if (roll < 60) return '.';
    if (roll < 75) return '-';
    if (roll < 87) return ' ';
    return Letter();
  }

  int PreferFilled(const Screen& s) {
    std::vector<int> filled;
    for (int b = 0; b < 4; ++b)
      if (!s.texts[static_cast<std::size_t>(b)].empty()) filled.push_back(b);
    if (filled.empty() || Below(5) == 0) return Below(4);
    return filled[static_cast<std::size_t>(Below(static_cast<int>(filled.size())))];
  }

  // The next keystroke towards the text a box is meant to hold; a box whose text has gone
  // another way is rubbed out first.
  Action Progress(const Screen& s) {
    std::vector<int> typing;  // boxes on their way to their goal; in a scenario, every box not there
    for (int b = 0; b < 4; ++b) {
      const auto& text = s.texts[static_cast<std::size_t>(b)];
      const auto& goal = goal_[static_cast<std::size_t>(b)];
      if (scenario_ ? text != goal : text.size() < goal.size() && goal.compare(0, text.size(), text) == 0)
        typing.push_back(b);
    }
    if (typing.empty()) scenario_ = false;
    int box;
    if (!typing.empty() && (scenario_ || Below(12) != 0)) {
      box = typing[static_cast<std::size_t>(Below(static_cast<int>(typing.size())))];
      // Mostly a group's base before its results count, as a user enters them.
      const int baseOfGroup = box == kResp1 ? kBase1 : box == kResp2 ? kBase2 : box;
      if (baseOfGroup != box && Below(4) != 0 && std::find(typing.begin(), typing.end(), baseOfGroup) != typing.end())
        box = baseOfGroup;
    } else if (Below(30) == 0) {
      StartScenario();
      return Progress(s);
    } else {
      box = Below(4);
      goal_[static_cast<std::size_t>(box)] = Goal(box, s);
    }
    const auto& text = s.texts[static_cast<std::size_t>(box)];
    const auto& goal = goal_[static_cast<std::size_t>(box)];
    if (text.size() >= goal.size() || goal.compare(0, text.size(), text) != 0)
      return {Below(3) == 0 ? Action::kBackspace : Action::kWipe, box, 0};
    return {Action::kType, box, goal[text.size()]};
  }

  // All four entries at once, for the faults and extremes that only entries near the ends of
  // the Single range reach; the other group holds ordinary numbers. Typed until all four are in,
  // with level clicks between the keystrokes but no other actions.
  void StartScenario() {
    const auto zeros = [](int n) { return std::string(static_cast<std::size_t>(n), '0'); };
    const std::array<std::array<std::string, 2>, 9> groups{{
        {"-.5", "-3" + zeros(38)},                         // results over base beyond the Single range
        {"." + zeros(39) + "1", "-1"},                     // the same with a base near the smallest Single
        {"5", "-1" + zeros(39)},                           // results of minus infinity: an infinite proportion
        {"1" + zeros(39), "1" + zeros(39)},                // infinity over infinity
        {"1" + zeros(39), "7"},                            // an infinite base: a proportion of 0
        {"." + zeros(46) + "1", "0"},                      // a base that is 0 as a Single: 0 over 0
        {"34028235" + zeros(31), "34028235" + zeros(31)},  // the largest Single over itself
        {"-.1", "-1" + zeros(37)},                         // with .2 and 0: a difference needed too large
        {"-.1", "-3" + zeros(37)},                         // with .15 and 0: a pooled proportion too large
    }};
    const std::size_t pick = static_cast<std::size_t>(Below(static_cast<int>(groups.size())));
    std::array<std::string, 2> other{Number(3), ""};
    if (pick == 7) other = {".2", "0"};
    if (pick == 8) other = {".15", "0"};
    if (other[1].empty()) other[1] = std::to_string(Below(std::stoi(other[0]) + 1));
    const bool first = Below(2) == 0;
    goal_[kBase1] = first ? groups[pick][0] : other[0];
    goal_[kResp1] = first ? groups[pick][1] : other[1];
    goal_[kBase2] = first ? other[0] : groups[pick][0];
    goal_[kResp2] = first ? other[1] : groups[pick][1];
    scenario_ = true;
    scenarioLeft_ = 400;
  }

  std::string Goal(int box, const Screen& s) {
    const bool base = box == kBase1 || box == kBase2;
    const int roll = Below(100);
    if (base) {
      if (roll < 58) return Number(3);
      if (roll < 64) return Number(2) + "." + Digit();
      if (roll < 67) return std::string(".") + Digit() + Digit();
      if (roll < 72) return "0";
      if (roll < 78) return "-" + Number(2);
      if (roll < 86) {  // the other group's base with the other sign: the bases add up to zero
        const std::string other = s.texts[box == kBase1 ? kBase2 : kBase1];
        if (!other.empty() && other[0] == '-') return other.substr(1);
        if (!other.empty()) return "-" + other.substr(0, 5);
        return "-" + Number(2);
      }
      if (roll < 90) return " " + Number(2);
      if (roll < 92) return " ";
      if (roll < 94) return std::string(1, Letter()) + Letter();
      if (roll < 97) return Number(2) + StrayCharacter() + Digit();
      if (Below(4) == 0) return Extreme();
      return Number(5);
    }
    // A results count, mostly at most the base of its group: the base the box holds, or the
    // one being typed into it.
    const std::size_t baseBox = box == kResp1 ? kBase1 : kBase2;
    const std::string& held = s.texts[baseBox];
    const std::string& meant = goal_[baseBox];
    const std::string baseText = held.size() < meant.size() && meant.compare(0, held.size(), held) == 0 ? meant : held;
    const double b = std::clamp(ReadEntry(baseText), -1e6, 1e6);
    if (roll < 55) {
      if (b >= 1) return std::to_string(static_cast<long>(Bits() % (static_cast<std::uint64_t>(b) + 1)));
      if (b < 0) return "-" + std::to_string(static_cast<long>(-b) + Below(20));
      return Below(2) == 0 ? "0" : Number(2);
    }
    if (roll < 63 && !baseText.empty()) return baseText;
    if (roll < 69) return std::to_string(static_cast<long>(std::fabs(b)) + 1 + Below(50));
    if (roll < 76) return "0";
    if (roll < 82) return "-" + Number(2);
    if (roll < 86) return Number(1) + "." + Digit();
    if (roll < 89) return " ";
    if (roll < 92) return std::string(1, Letter());
    if (roll < 93) return Extreme();
    return Number(3);
  }

  std::uint64_t state_;
  std::array<std::string, 4> goal_;
  bool scenario_ = false;
  int scenarioLeft_ = 0;  // actions before an unfinished scenario is given up
};

// ------------------------------------------------------------------------------------------------
// The real window.

// Answers every modal message box with its OK button as soon as it shows, noting what it was.
// A warning's kind: which player it names, if it names exactly one.
std::string Naming(const std::string& text) {
  const bool one = text.find("Player 1") != std::string::npos;
  const bool two = text.find("Player 2") != std::string::npos;
  return one && !two ? "warning: Player 1" : two && !one ? "warning: Player 2" : "warning";
}

class BoxAnswerer : public QObject {
 public:
  BoxAnswerer() {
    connect(&timer_, &QTimer::timeout, this, [this] { Answer(); });
    timer_.start(0);  // fires in the message box's own event loop
  }
  std::vector<std::string> seen;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    const std::string text = box->text().toStdString();
    const auto buttons = box->buttons().size();
    if (box->icon() == QMessageBox::NoIcon && text == kPrompt && buttons == 1 &&
        box->windowTitle() == QApplication::applicationDisplayName())
      seen.push_back("prompt");
    else if (box->icon() == QMessageBox::Warning && !text.empty())
      seen.push_back(Naming(text));
    else
      seen.push_back("unexpected box: icon " + std::to_string(box->icon()) + ", " + std::to_string(buttons) +
                     " buttons, text \"" + text + "\"");
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) QTest::mouseClick(ok, Qt::LeftButton);
    if (box->isVisible()) box->done(0);  // never leave the run waiting
  }

  QTimer timer_;
};

class RealWindow {
 public:
  explicit RealWindow(quillomat::WindowController& app) : w_(app.Window()) {}

  void Do(const Action& a) {
    answerer_.seen.clear();
    switch (a.kind) {
      case Action::kType: {
        QLineEdit* box = Box(a);
        box->end(false);
        QTest::keyClicks(box, QString(QChar::fromLatin1(a.character)));
        break;
      }
      case Action::kBackspace:
        Box(a)->end(false);
        QTest::keyClick(Box(a), Qt::Key_Backspace);
        break;
      case Action::kWipe:
        QTest::keyClick(Box(a), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Box(a), Qt::Key_Delete);
        break;
      case Action::kClear: QTest::mouseClick(w_.Widget(kClearControl[a.Index()]), Qt::LeftButton); break;
      case Action::kLevel: QTest::mouseClick(w_.Widget(kLevelControl[a.Index()]), Qt::LeftButton); break;
    }
  }

  Screen Read() const {
    Screen s;
    for (std::size_t i = 0; i < 4; ++i) s.texts[i] = w_.TextBox(kBoxControl[i])->text().toStdString();
    for (std::size_t i = 0; i < 3; ++i) s.enabled[i] = w_.Widget(kClearControl[i])->isEnabled();
    for (std::size_t i = 0; i < 7; ++i) s.visible[i] = w_.Widget(kShownControl[i])->isVisible();
    for (std::size_t i = 0; i < 5; ++i) s.captions[i] = w_.Label(kShownControl[i])->text().toStdString();
    s.verdict = w_.TextBox(C::txtSigDiff)->text().toStdString();
    for (std::size_t i = 0; i < 4; ++i) s.levels[i] = w_.Option(kLevelControl[i])->isChecked();
    s.messages = answerer_.seen;
    s.open = w_.isVisible();
    return s;
  }

 private:
  QLineEdit* Box(const Action& a) const { return w_.TextBox(kBoxControl[a.Index()]); }

  FrmStart& w_;
  BoxAnswerer answerer_;
};

// ------------------------------------------------------------------------------------------------
// Runs.

std::string Differences(const Screen& want, const Screen& got) {
  std::string out;
  if (want.texts != got.texts) out += " texts";
  if (want.enabled != got.enabled) out += " enabled";
  if (want.visible != got.visible) out += " visible";
  if (want.captions != got.captions) out += " captions";
  if (want.verdict != got.verdict) out += " verdict";
  if (want.levels != got.levels) out += " levels";
  if (want.messages != got.messages) out += " messages";
  if (want.open != got.open) out += " window";
  return out;
}

struct RunResult {
  bool passed = true;
  std::string report;  // on a failure
  Tally tally;
  std::size_t actions = 0;
  std::string last;  // the window after the last action
};

// The offscreen platform says this once for every message box; other messages pass on.
QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}
struct QuietPlatform {
  QuietPlatform() { previousHandler = qInstallMessageHandler(QuietHandler); }
  ~QuietPlatform() { qInstallMessageHandler(previousHandler); }
};

// Opens a fresh window and runs the actions `next` gives, comparing after each one.
template <typename Next>
RunResult RunActions(const std::string& name, std::size_t count, Next next) {
  const QuietPlatform quiet;
  quillomat::WindowController app;
  app.Show();
  if (!QTest::qWaitForWindowExposed(&app.Window())) return {false, "the window did not show", {}, 0, {}};
  RealWindow real(app);
  Model model;
  std::vector<Action> done;
  RunResult result;

  const auto fail = [&](const std::string& why, const Screen& got) {
    std::ostringstream out;
    out << name << ": " << why << " after action " << done.size() << " (" << done.back().Word() << ")\n"
        << "last actions (oldest first):";
    for (std::size_t i = done.size() > 20 ? done.size() - 20 : 0; i < done.size(); ++i) out << ' ' << done[i].Word();
    out << "\nexpected (model):\n" << Describe(model.screen()) << "actual (window):\n" << Describe(got);
    if (!model.lastFault().empty()) out << "model's last fault: " << model.lastFault() << "\n";
    result.passed = false;
    result.report = out.str();
  };

  const Screen opened = real.Read();
  if (!(opened == model.screen())) {
    done.push_back({Action::kLevel, k95, 0});  // placeholder so the report has an action
    fail("the window opened differently", opened);
    return result;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const Action action = next(model.screen());
    done.push_back(action);
    real.Do(action);
    try {
      model.Do(action);
    } catch (const BeyondTheModel& limit) {
      fail(std::string("the model cannot predict this state: ") + limit.what(), real.Read());
      break;
    }
    Screen got = real.Read();
    if (!model.judged()) {
      got.captions = model.screen().captions;
      got.verdict = model.screen().verdict;
    }
    if (!(got == model.screen())) {
      fail("the window differs in" + Differences(model.screen(), got), got);
      break;
    }
    if (i % 64 == 63) QCoreApplication::processEvents();  // let the window paint now and then
  }
  result.tally = model.tally();
  result.actions = done.size();
  result.last = Describe(real.Read());
  return result;
}

RunResult RunSeed(std::uint64_t seed, std::size_t count) {
  Generator generator(seed);
  return RunActions("seed " + std::to_string(seed), count, [&](const Screen& s) { return generator.Next(s); });
}

void PrintTally(const RunResult& r, double seconds) {
  std::printf("%zu actions in %.1f s\n", r.actions, seconds);
  for (const auto& [what, n] : r.tally.counts) std::printf("  %6d  %s\n", n, what.c_str());
}

// 2 to 4 s in an optimised build, 7 to 13 s under AddressSanitizer and UndefinedBehaviorSanitizer.
constexpr std::size_t kSuiteActions = 10'000;
constexpr std::uint64_t kSuiteSeed = 20240611;

// ------------------------------------------------------------------------------------------------
// Tests.

// The model itself, on the program's worked examples, before it judges the window.
TEST(RandomActionsModel, ReproducesTheWorkedExamples) {
  struct Example {
    const char *b1, *r1, *b2, *r2;
    Level level;
    std::array<std::string, 5> captions;
    const std::string& verdict;
  };
  const Example examples[] = {
      {"200", "50", "300", "120", k95, {"25.00%", "40.00%", "34.00%", "15.00%", "08.48%"}, kYes},
      {"100", "10", "100", "20", k80, {"10.00%", "20.00%", "15.00%", "10.00%", "06.46%"}, kYes},
      {"100", "10", "100", "20", k99, {"10.00%", "20.00%", "15.00%", "10.00%", "11.77%"}, kNo},
      {"100", "50", "100", "50", k95, {"50.00%", "50.00%", "50.00%", "00.00%", "13.86%"}, kNo},
      {"1000", "523", "1000", "480", k90, {"52.30%", "48.00%", "50.15%", "04.30%", "03.67%"}, kYes},
      {"1", "0", "2", "1", k95, {"00.00%", "50.00%", "33.33%", "50.00%", "113.16%"}, kNo},
      {"3", "0", "3", "3", k95, {"00.00%", "100.00%", "50.00%", "100.00%", "80.02%"}, kYes},
      {"10", "0", "10", "0", k95, {"00.00%", "00.00%", "00.00%", "00.00%", "00.00%"}, kNo},
      {"1", "1", "1", "1", k95, {"100.00%", "100.00%", "100.00%", "00.00%", "00.00%"}, kNo},
  };
  for (const auto& ex : examples) {
    Model model;
    const char* texts[] = {ex.b1, ex.r1, ex.b2, ex.r2};
    for (int box = 0; box < 4; ++box)
      for (const char* c = texts[box]; *c != '\0'; ++c) model.Do({Action::kType, box, *c});
    model.Do({Action::kLevel, ex.level, 0});
    EXPECT_EQ(model.screen().captions, ex.captions) << ex.b1 << " " << ex.r1 << " " << ex.b2 << " " << ex.r2;
    EXPECT_EQ(model.screen().verdict, ex.verdict) << ex.b1 << " " << ex.r1 << " " << ex.b2 << " " << ex.r2;
  }
}

TEST(RandomActionsModel, ReadsEntriesAndShowsPercentages) {
  EXPECT_EQ(ReadEntry(""), 0.0);
  EXPECT_EQ(ReadEntry("abc"), 0.0);
  EXPECT_EQ(ReadEntry("-3"), -3.0);
  EXPECT_EQ(ReadEntry("  12.5.7"), 12.5);
  EXPECT_EQ(ReadEntry(".5k"), 0.5);
  EXPECT_EQ(ReadEntry("7."), 7.0);
  EXPECT_EQ(ReadEntry("- 4"), 0.0);
  EXPECT_EQ(ReadEntry("-."), 0.0);
  EXPECT_EQ(ReadEntry("3 4"), 3.0);

  const std::pair<float, const char*> shown[] = {
      {0.0523f, "05.23%"},
      {0.25f, "25.00%"},
      {0.08475725f, "08.48%"},
      {1.0f / 3.0f, "33.33%"},
      {0.999999f, "100.00%"},
      {1.131607f, "113.16%"},
      {12.5f, "1250.00%"},
      {0.00125f, "00.13%"},
      {-0.5f, "-50.00%"},
      {-0.00001f, "00.00%"},
      {0.00005f, "00.01%"},
      {0.00004999f, "00.00%"},
      {123456789.0f, "12345680000.00%"},
      {0.523f - 0.48f, "04.30%"},
  };
  for (const auto& [value, text] : shown) EXPECT_EQ(ShowPercent(value).Text(), text) << value;
  EXPECT_LT(CompareShown(ShowPercent(0.5f), ShowPercent(1.1316f)), 0);
  EXPECT_LT(CompareShown(ShowPercent(-2.0f), ShowPercent(0.01f)), 0);
  EXPECT_EQ(CompareShown(ShowPercent(0.084757f), ShowPercent(0.08475f)), 0);
}

// The fixed seed of the test suite; it must reach every kind of outcome, or the generator no
// longer exercises the window.
TEST(RandomActions, FixedSeedAgreesWithTheModel) {
  const auto start = std::chrono::steady_clock::now();
  const RunResult r = RunSeed(kSuiteSeed, kSuiteActions);
  PrintTally(r, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  ASSERT_TRUE(r.passed) << r.report;
  for (const char* outcome :
       {"calculated: significant", "calculated: not significant", "calculated: a difference of 100.00% or more",
        "calculated: an entry beyond the Single range", "warning: results above base", "level click with a box empty",
        "click on a disabled clear button", "click on Clear1", "click on Clear2", "click on ClearAll",
        "error: invalid operation at player 1's proportion", "error: division by zero at player 2's proportion",
        "error: division by zero at the pooled proportion", "error: invalid operation at the root",
        "error: overflow at player 1's proportion", "error: overflow at the radicand",
        "error: overflow at the difference needed"})
    EXPECT_GT(r.tally[outcome], 0) << outcome;
}

// A seed and a count from the environment, or an action script; skipped when neither is given.
TEST(RandomActions, FromTheEnvironment) {
  const QByteArray script = qgetenv("QUILLOMAT_RANDOM_SCRIPT");
  const QByteArray seedText = qgetenv("QUILLOMAT_RANDOM_SEED");
  if (script.isEmpty() && seedText.isEmpty())
    GTEST_SKIP() << "set QUILLOMAT_RANDOM_SEED (and QUILLOMAT_RANDOM_ACTIONS) or QUILLOMAT_RANDOM_SCRIPT";
  const auto start = std::chrono::steady_clock::now();
  RunResult r;
  if (!script.isEmpty()) {
    std::vector<Action> actions;
    std::istringstream words(script.toStdString());
    for (std::string word; words >> word;) {
      const auto action = ParseWord(word);
      ASSERT_TRUE(action) << "not an action: " << word;
      actions.push_back(*action);
    }
    std::size_t at = 0;
    r = RunActions("script", actions.size(), [&](const Screen&) { return actions[at++]; });
    std::printf("the window after the script:\n%s", r.last.c_str());
  } else {
    const std::uint64_t seed =
        seedText == "time" ? static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())
                           : std::stoull(seedText.toStdString());
    const QByteArray countText = qgetenv("QUILLOMAT_RANDOM_ACTIONS");
    const std::size_t count = countText.isEmpty() ? 20'000 : std::stoull(countText.toStdString());
    std::printf("seed %llu, %zu actions\n", static_cast<unsigned long long>(seed), count);
    r = RunSeed(seed, count);
  }
  PrintTally(r, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  ASSERT_TRUE(r.passed) << r.report;
}

}  // namespace

#pragma once
// The window described as data: its own properties and its 36 controls in creation order, with
// geometry in twips as the window was designed. The window is built from this and nothing else.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "form_controls.h"

namespace quillomat::table {

enum class Kind : std::uint8_t { TextBox, Label, CommandButton, OptionButton, Picture, Line };

// Colours that the desktop theme supplies by role.
// clang-format off
enum class SystemColour : std::uint8_t {
  ActiveBorder, ButtonFace, ButtonText, WindowBackground, WindowText,
};
// clang-format on

struct Colour {
  enum class Source : std::uint8_t { KindDefault, Fixed, System };
  Source source = Source::KindDefault;
  std::uint32_t rgb = 0;  // 0xRRGGBB, for Source::Fixed
  SystemColour system = SystemColour::ActiveBorder;

  friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

constexpr Colour KindDefault() { return {}; }
constexpr Colour FixedRgb(std::uint32_t rgb) { return {Colour::Source::Fixed, rgb, {}}; }
constexpr Colour System(SystemColour role) { return {Colour::Source::System, 0, role}; }

struct Font {
  double points;
  int weight;  // 400 regular, 700 bold

  friend constexpr bool operator==(const Font&, const Font&) = default;
};

enum class Align : std::uint8_t { Left, Centre, Right };

// Initial state flags of a control.
inline constexpr std::uint8_t kDisabled = 1;
inline constexpr std::uint8_t kHidden = 2;
inline constexpr std::uint8_t kSelected = 4;

struct TwipRect {
  int left, top, width, height;
};
struct TwipLine {
  int x1, y1, x2, y2;
};

struct ControlRow {
  Control control;
  Kind kind;
  std::u16string_view text;  // caption or text; for the picture, the name of the image it shows
  TwipRect box;              // all kinds but the line
  Font font;
  Colour background;
  Colour foreground;
  std::optional<int> tabIndex;
  Align align;
  std::uint8_t state;
  TwipLine line;  // the line only
  // For a label the program writes into, the widest caption it must show in full.
  std::u16string_view widest = {};

  constexpr bool Has(std::uint8_t flag) const { return (state & flag) != 0; }
};

struct WindowRow {
  std::u16string_view objectName;
  std::u16string_view title;
  int clientWidthTwips, clientHeightTwips;
  SystemColour background;
  Font font;
  std::array<std::u16string_view, 2> icons;  // 16 and 32 pixels, each with its NAME@2x.png beside it
};

// What a screen reader says about a control beyond its own text. A value label gets only a
// description: an accessible name would replace the value it shows.
struct AccessibleRow {
  Control control;
  std::u16string_view name;
  std::u16string_view description;
  std::optional<Control> labelledBy;  // the caption label, made its buddy
};

// What a control's tooltip explains: what its value means, or what choosing it does.
struct ToolTipRow {
  Control control;
  std::u16string_view text;
};

inline constexpr int kTwipsPerPixel = 15;

const WindowRow& Window();
const std::array<ControlRow, kControlCount>& Controls();
const ControlRow& Row(Control control);
const std::array<AccessibleRow, 11>& Accessibility();
const std::array<ToolTipRow, 15>& ToolTips();
// The control's tooltip, if it has one.
std::optional<std::u16string_view> ToolTipOf(Control control);

// Returns if `control` is of `kind`, the kind that has `property`; otherwise throws the run-time
// error of a control without it.
void RequireKind(Control control, Kind kind, const char* property);

// Colours with "kind default" replaced by the kind's own colours.
Colour Background(const ControlRow& row);
Colour Foreground(const ControlRow& row);

// Twips and points in pixels, at 96 dots per inch unless a density is given.
constexpr int Pixels(int twips, int dpi = 96) { return twips * dpi / (kTwipsPerPixel * 96); }
constexpr int PixelSize(Font font, int dpi = 96) { return static_cast<int>(font.points * dpi / 72.0 + 0.5); }

// Black or white (0xRRGGBB), whichever stands out more from a fixed background.
std::uint32_t ReadableTextOn(std::uint32_t backgroundRgb);

}  // namespace quillomat::table

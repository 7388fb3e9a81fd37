#include "page_markup.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "first_shown.h"
#include "tool_tip_text.h"
#include "window_table.h"

namespace quillomat::web {
namespace {

using C = Control;
using namespace table;

// What a screen reader and a phone meet in turn: the title, each player's heading, captions and
// boxes, the levels, each result with its caption, the verdict and the buttons. The desktop layout
// places every control by the table whatever this order.
constexpr std::array<C, kControlCount> kReadingOrder{
    C::lblTitle,    C::Line1,       C::Label2,       C::lblBase1,    C::txtBase1, C::lblResp1,
    C::txtResp1,    C::Label3,      C::lblBase2,     C::txtBase2,    C::lblResp2, C::txtResp2,
    C::Label1,      C::lblSigLevel, C::opt80,        C::opt90,       C::opt95,    C::opt99,
    C::lblPer1,     C::lblPer1b,    C::lblPer2,      C::lblPer2b,    C::Label4,   C::lblActDiff,
    C::lblActDiffb, C::lblDiffNeed, C::lblDiffNeedb, C::lblWAvg,     C::lblWAvgb, C::txtWarnSign,
    C::txtSigDiff,  C::cmdClear1,   C::cmdClear2,    C::cmdClearAll, C::cmdExit,  C::Image1,
};
constexpr C kTitle = C::lblTitle;
constexpr C kHeadings[] = {C::Label1, C::Label2, C::Label3, C::Label4};
// The level group is labelled by the heading and the caption above it.
constexpr C kLevelCaptions[] = {C::Label1, C::lblSigLevel};
constexpr std::string_view kLevelGroup = "levels";

constexpr std::string_view kBannerDescription = "Quillomat";

bool Contains(const auto& controls, C control) {
  return std::find(std::begin(controls), std::end(controls), control) != std::end(controls);
}

// The control as the window is first shown: after the load handler.
const ControlState& Shown(C control) {
  static const std::array<ControlState, kControlCount> shown = FirstShown();
  return shown[Index(control)];
}

// --- Text -------------------------------------------------------------------------------------

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 as UTF-8, each lone surrogate as U+FFFD.
std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      AppendUtf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{text[++i]} - 0xDC00));
    } else {
      AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? char32_t{0xFFFD} : char32_t{c});
    }
  }
  return out;
}

// Text as the content of an element or a quoted attribute.
std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char c : Utf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "&#10;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Name(C control) { return std::string(ControlName(control)); }

// "Clear &One" shows as "Clear One" with the O marked; the key is O.
struct AccessKeyCaption {
  std::string html;
  std::optional<char> key;
};

AccessKeyCaption WithAccessKey(std::u16string_view caption) {
  const auto at = caption.find(u'&');
  if (at == std::u16string_view::npos || at + 1 >= caption.size()) return {Escaped(caption), std::nullopt};
  const char16_t key = caption[at + 1];
  return {Escaped(caption.substr(0, at)) + "<span class=\"key\">" + Escaped(caption.substr(at + 1, 1)) + "</span>" +
              Escaped(caption.substr(at + 2)),
          static_cast<char>(key >= u'a' && key <= u'z' ? key - u'a' + u'A' : key)};
}

// --- What the table says about a control -------------------------------------------------------

const AccessibleRow* AccessibilityOf(C control) {
  for (const AccessibleRow& row : Accessibility())
    if (row.control == control) return &row;
  return nullptr;
}

// The box or value a caption label names, if it is one.
std::optional<C> CaptionedBy(C label) {
  for (const AccessibleRow& row : Accessibility())
    if (row.labelledBy == label) return row.control;
  return std::nullopt;
}

// A text box the user cannot type into: the verdict and the warning. It sits in a box of its own,
// which takes the pointer for its tooltip as a disabled form control does not.
bool IsDisplay(const ControlRow& row) { return row.kind == Kind::TextBox && row.Has(kDisabled); }

bool TakesFocus(const ControlRow& row) {
  return row.tabIndex && !row.Has(kDisabled) &&
         (row.kind == Kind::TextBox || row.kind == Kind::CommandButton || row.kind == Kind::OptionButton);
}

std::string DescriptionId(C control) { return Name(control) + "-description"; }

// --- Markup -----------------------------------------------------------------------------------

std::string CommonAttributes(const ControlRow& row) {
  std::string attributes;
  if (TakesFocus(row)) attributes += " tabindex=\"" + std::to_string(*row.tabIndex + 1) + "\"";
  if (const AccessibleRow* a = AccessibilityOf(row.control)) {
    if (!a->name.empty()) attributes += " aria-label=\"" + Escaped(a->name) + "\"";
    if (!a->description.empty()) attributes += " aria-describedby=\"" + DescriptionId(row.control) + "\"";
  }
  if (row.control == C::txtSigDiff) attributes += " aria-describedby=\"" + DescriptionId(row.control) + "\"";
  return attributes;
}

// The attributes of the element that holds the control's place in the window.
std::string BoxAttributes(const ControlRow& row) {
  std::string attributes = " data-control=\"" + Name(row.control) + "\"";
  if (!Shown(row.control).visible) attributes += " class=\"hidden\"";
  if (const auto tip = ToolTipOf(row.control)) attributes += " data-tip=\"" + Escaped(OneSentenceALine(*tip)) + "\"";
  if (row.control == C::txtSigDiff) attributes += " data-explain";
  if (!row.widest.empty()) attributes += " data-widest=\"" + Escaped(row.widest) + "\"";
  return attributes;
}

std::string TextBoxHtml(const ControlRow& row) {
  std::string input = "<input type=\"text\" id=\"" + Name(row.control) + "\"" + CommonAttributes(row) + " value=\"" +
                      Escaped(Shown(row.control).text) + "\" autocomplete=\"off\" spellcheck=\"false\"";
  if (IsDisplay(row)) return "<div" + BoxAttributes(row) + ">" + input + " disabled></div>";
  // Numbers, on a phone's keyboard; any text can still be pasted in.
  return input + BoxAttributes(row) + " inputmode=\"decimal\" autocapitalize=\"off\" enterkeyhint=\"next\">";
}

std::string LabelHtml(const ControlRow& row) {
  const std::string id = " id=\"" + Name(row.control) + "\"";
  const std::string body = BoxAttributes(row) + CommonAttributes(row) + ">" + Escaped(Shown(row.control).text);
  if (row.control == kTitle) return "<h1" + id + body + "</h1>";
  if (Contains(kHeadings, row.control)) return "<h2" + id + body + "</h2>";
  if (const auto named = CaptionedBy(row.control))
    return "<label" + id + " for=\"" + Name(*named) + "\"" + body + "</label>";
  // A value the program writes: a result of the calculation, announced only when read.
  if (const AccessibleRow* a = AccessibilityOf(row.control); a && a->labelledBy)
    return "<output" + id + " aria-live=\"off\"" + body + "</output>";
  return "<p" + id + body + "</p>";
}

std::string ButtonHtml(const ControlRow& row) {
  const AccessKeyCaption caption = WithAccessKey(Shown(row.control).text);
  std::string button =
      "<button type=\"button\" id=\"" + Name(row.control) + "\"" + BoxAttributes(row) + CommonAttributes(row);
  if (caption.key) button += " aria-keyshortcuts=\"Alt+" + std::string(1, *caption.key) + "\"";
  if (!Shown(row.control).enabled) button += " disabled";
  return button + ">" + caption.html + "</button>";
}

std::string OptionHtml(const ControlRow& row) {
  return "<label" + BoxAttributes(row) + "><input type=\"radio\" name=\"level\" id=\"" + Name(row.control) + "\"" +
         CommonAttributes(row) + (Shown(row.control).selected ? " checked" : "") + ">" +
         Escaped(Shown(row.control).text) + "</label>";
}

// Drawn at its size in a sunken border, from its twice-size drawing on dense screens.
std::string PictureHtml(const ControlRow& row, const PageFiles& files) {
  const std::string banner(files.banner), banner2x(files.banner2x);
  return "<img id=\"" + Name(row.control) + "\"" + BoxAttributes(row) + " src=\"" + banner + "\" srcset=\"" + banner +
         " 1x, " + banner2x + " 2x\" width=\"" + std::to_string(Pixels(row.box.width) - 4) + "\" height=\"" +
         std::to_string(Pixels(row.box.height) - 4) + "\" alt=\"" + std::string(kBannerDescription) + "\">";
}

std::string ControlHtml(const ControlRow& row, const PageFiles& files) {
  switch (row.kind) {
    case Kind::TextBox: return TextBoxHtml(row);
    case Kind::Label: return LabelHtml(row);
    case Kind::CommandButton: return ButtonHtml(row);
    case Kind::OptionButton: return OptionHtml(row);
    case Kind::Picture: return PictureHtml(row, files);
    case Kind::Line: break;
  }
  return "<hr id=\"" + Name(row.control) + "\"" + BoxAttributes(row) + ">";
}

std::string WindowHtml(const PageFiles& files) {
  const WindowRow& window = Window();
  std::string html = "<main id=\"" + Escaped(window.objectName) + "\" class=\"window\" data-width=\"" +
                     std::to_string(Pixels(window.clientWidthTwips)) + "\" aria-labelledby=\"" + Name(kTitle) +
                     "\" inert>\n";
  bool inLevels = false;
  for (C control : kReadingOrder) {
    const ControlRow& row = Row(control);
    const bool level = row.kind == Kind::OptionButton;
    if (level && !inLevels) {
      html += "<div role=\"radiogroup\" class=\"" + std::string(kLevelGroup) + "\" aria-labelledby=\"";
      for (C caption : kLevelCaptions) html += Name(caption) + (caption == kLevelCaptions[1] ? "" : " ");
      html += "\">\n";
    } else if (!level && inLevels) {
      html += "</div>\n";
    }
    inLevels = level;
    html += ControlHtml(row, files) + "\n";
  }
  return html + "</main>\n";
}

// What screen readers hear besides a control's own text; the verdict's explanation arrives once
// there are results.
std::string DescriptionsHtml() {
  std::string html = "<div hidden>\n";
  for (const AccessibleRow& row : Accessibility())
    if (!row.description.empty())
      html += "<span id=\"" + DescriptionId(row.control) + "\">" + Escaped(row.description) + "</span>\n";
  return html + "<span id=\"" + DescriptionId(C::txtSigDiff) + "\"></span>\n</div>\n";
}

constexpr std::string_view kMessageBoxHtml =
    R"(<dialog id="messageBox" aria-labelledby="messageTitle" aria-describedby="messageText">
<div class="title-bar" id="messageTitle">Quillomat</div>
<div class="message"><svg class="warning-sign" viewBox="0 0 32 32" aria-hidden="true"><path d="M16 2 31 29H1Z"/><path class="mark" d="M14.5 11h3l-.6 10h-1.8zM14.6 23.5h2.8v2.8h-2.8z"/></svg><p id="messageText"></p></div>
<div class="message-buttons"><button type="button" id="messageOk" autofocus>OK</button></div>
</dialog>
<div id="toolTip" role="tooltip" hidden></div>
<section id="ended" hidden>
<p>Quillomat has ended.</p>
<button type="button" id="startAgain">Start Quillomat again</button>
</section>
)";

// Only the site's own files, scripts and the WebAssembly they compile: no inline script or style,
// no eval, nothing from elsewhere.
constexpr std::string_view kContentSecurityPolicy =
    "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'";

}  // namespace

std::string PageHtml(const PageFiles& files) {
  const auto href = [](std::string_view file) { return "\"" + std::string(file) + "\""; };
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta http-equiv=\"Content-Security-Policy\" content=\"" + std::string(kContentSecurityPolicy) + "\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<meta name=\"color-scheme\" content=\"light dark\">\n";
  html += "<title>" + Escaped(Window().title) + "</title>\n";
  html += "<link rel=\"stylesheet\" href=" + href(files.styleSheet) + ">\n";
  html += "<script type=\"module\" src=" + href(files.pageScript) + "></script>\n";
  html +=
      "<link rel=\"preload\" href=" + href(files.program) + " as=\"fetch\" type=\"application/wasm\" crossorigin>\n";
  html += "<link rel=\"manifest\" href=" + href(files.manifest) + ">\n";
  html += "<link rel=\"icon\" href=" + href(files.icon16) + " sizes=\"16x16\">\n";
  html += "<link rel=\"icon\" href=" + href(files.icon32) + " sizes=\"32x32\">\n";
  html += "<link rel=\"apple-touch-icon\" href=" + href(files.touchIcon) + ">\n";
  html += "</head>\n<body>\n";
  html += WindowHtml(files);
  html += DescriptionsHtml();
  html += kMessageBoxHtml;
  return html + "</body>\n</html>\n";
}

namespace {

// --- Style ------------------------------------------------------------------------------------

std::string Px(int pixels) { return std::to_string(pixels) + "px"; }

std::string CssColour(Colour colour) {
  if (colour.source != Colour::Source::System) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex = "#";
    for (int shift = 20; shift >= 0; shift -= 4) hex += kHex[(colour.rgb >> shift) & 0xF];
    return hex;
  }
  switch (colour.system) {
    case SystemColour::ButtonFace: return "var(--button-face)";
    case SystemColour::ButtonText: return "var(--button-text)";
    case SystemColour::WindowBackground: return "var(--window-background)";
    case SystemColour::WindowText: return "var(--window-text)";
    case SystemColour::ActiveBorder: break;
  }
  return "var(--active-border)";
}

std::string_view TextAlign(Align align) {
  switch (align) {
    case Align::Centre: return "center";
    case Align::Right: return "right";
    case Align::Left: break;
  }
  return "left";
}

struct PixelBox {
  int left, top, width, height;
};

PixelBox BoxOf(const ControlRow& row) {
  if (row.kind == Kind::Line) return {Pixels(row.line.x1), Pixels(row.line.y1), Pixels(row.line.x2 - row.line.x1), 1};
  return {Pixels(row.box.left), Pixels(row.box.top), Pixels(row.box.width), Pixels(row.box.height)};
}

PixelBox LevelGroupBox() {
  PixelBox group{Pixels(Window().clientWidthTwips), Pixels(Window().clientHeightTwips), 0, 0};
  int right = 0, bottom = 0;
  for (const ControlRow& row : Controls()) {
    if (row.kind != Kind::OptionButton) continue;
    const PixelBox box = BoxOf(row);
    group.left = std::min(group.left, box.left);
    group.top = std::min(group.top, box.top);
    right = std::max(right, box.left + box.width);
    bottom = std::max(bottom, box.top + box.height);
  }
  group.width = right - group.left;
  group.height = bottom - group.top;
  return group;
}

std::string Placement(const PixelBox& box) {
  return "left: " + Px(box.left) + "; top: " + Px(box.top) + "; width: " + Px(box.width) +
         "; height: " + Px(box.height) + ";";
}

std::string Selector(C control) { return "[data-control=\"" + Name(control) + "\"]"; }

// Text in the theme's colour stays readable on a fixed background only in black or white.
Colour TextColour(const ControlRow& row) {
  const Colour background = Background(row), foreground = Foreground(row);
  if (foreground.source == Colour::Source::System && background.source == Colour::Source::Fixed)
    return FixedRgb(ReadableTextOn(background.rgb));
  return foreground;
}

std::string Appearance(const ControlRow& row) {
  std::string rules = "font-size: " + Px(PixelSize(row.font)) + "; font-weight: " + std::to_string(row.font.weight) +
                      "; text-align: " + std::string(TextAlign(row.align)) + ";";
  // The line is all foreground; buttons keep the platform's own look.
  if (row.kind == Kind::Line) return rules + " background-color: " + CssColour(Foreground(row)) + ";";
  if (row.kind == Kind::CommandButton) return rules;
  return rules + " background-color: " + CssColour(Background(row)) + "; color: " + CssColour(TextColour(row)) + ";";
}

}  // namespace

std::string WindowCss() {
  const WindowRow& window = Window();
  std::string css = "/* The window as its table describes it. */\n";
  css += ".window { background-color: " + CssColour(System(window.background)) +
         "; font-size: " + Px(PixelSize(window.font)) + "; }\n";
  for (const ControlRow& row : Controls()) css += Selector(row.control) + " { " + Appearance(row) + " }\n";

  // The places, where the window is wide enough to hold them all.
  const PixelBox group = LevelGroupBox();
  css += "@media (min-width: " + Px(Pixels(window.clientWidthTwips)) + ") {\n";
  css += ".window { width: " + Px(Pixels(window.clientWidthTwips)) +
         "; height: " + Px(Pixels(window.clientHeightTwips)) + "; }\n";
  css += "." + std::string(kLevelGroup) + " { " + Placement(group) + " }\n";
  for (const ControlRow& row : Controls()) {
    PixelBox box = BoxOf(row);
    if (row.kind == Kind::OptionButton) {
      box.left -= group.left;
      box.top -= group.top;
    }
    css += Selector(row.control) + " { " + Placement(box) + " }\n";
  }
  return css + "}\n";
}

}  // namespace quillomat::web

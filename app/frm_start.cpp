#include "frm_start.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <vector>

#include "drawn_controls.h"
#include "window_layout.h"

using quillomat::Control;
using namespace quillomat::layout;

namespace {

QWidget* MakeTextBox(const ControlSpec& spec, QWidget* parent) {
  auto* box = new QLineEdit(spec.text.toString(), parent);
  box->setMaxLength(std::numeric_limits<int>::max());
  box->setAlignment(QtAlignment(spec));
  return box;
}

QWidget* MakeLabel(const ControlSpec& spec, QWidget* parent) {
  auto* label = new QLabel(spec.text.toString(), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(QtAlignment(spec));
  label->setAutoFillBackground(true);
  return label;
}

QWidget* MakeCommandButton(const ControlSpec& spec, QWidget* parent) {
  auto* button = new QPushButton(spec.text.toString(), parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QWidget* MakeOptionButton(const ControlSpec& spec, QWidget* parent) {
  auto* option = new QRadioButton(spec.text.toString(), parent);
  option->setChecked(spec.Has(kSelected));
  option->setAutoFillBackground(true);
  return option;
}

QWidget* MakePicture(const ControlSpec& spec, QWidget* parent) {
  return new quillomat::PictureBox(spec.text.toString(), parent);
}

QWidget* MakeLine(const ControlSpec& spec, QWidget* parent) {
  const QLine local = PixelLine(spec).translated(-PixelRect(spec).topLeft());
  return new quillomat::LineShape(local, parent);
}

QWidget* MakeWidget(const ControlSpec& spec, QWidget* parent) {
  switch (spec.kind) {
    case Kind::TextBox: return MakeTextBox(spec, parent);
    case Kind::Label: return MakeLabel(spec, parent);
    case Kind::CommandButton: return MakeCommandButton(spec, parent);
    case Kind::OptionButton: return MakeOptionButton(spec, parent);
    case Kind::Picture: return MakePicture(spec, parent);
    case Kind::Line: break;
  }
  return MakeLine(spec, parent);
}

// A fixed colour holds in every colour group, so a disabled control keeps it too.
void SetFixedColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t rgb) {
  QPalette palette = widget->palette();
  palette.setColor(role, QColor(static_cast<QRgb>(rgb)));
  widget->setPalette(palette);
}

// A system colour is a palette role, so the control follows the desktop theme.
void ApplyColours(QWidget* widget, const ControlSpec& spec) {
  const Colour background = Background(spec);
  const Colour foreground = Foreground(spec);
  if (background.source == Colour::Source::System) {
    widget->setBackgroundRole(PaletteRole(background.system));
  } else {
    SetFixedColour(widget, widget->backgroundRole(), background.rgb);
  }
  if (foreground.source == Colour::Source::System) {
    widget->setForegroundRole(PaletteRole(foreground.system));
  } else {
    SetFixedColour(widget, widget->foregroundRole(), foreground.rgb);
  }
}

QString NameOf(Control control) {
  const std::string_view name = quillomat::ControlName(control);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

FrmStart::FrmStart(QWidget* parent)
    : QWidget(parent), levelGroup_(new QButtonGroup(this)) {
  setUpWindow();
  createControls();
  labelForScreenReaders();
  orderTabs();
}

QWidget* FrmStart::control(Control control) const { return controls_[quillomat::Index(control)]; }

QLineEdit* FrmStart::textBox(Control control) const {
  return qobject_cast<QLineEdit*>(this->control(control));
}

QLabel* FrmStart::label(Control control) const {
  return qobject_cast<QLabel*>(this->control(control));
}

QPushButton* FrmStart::button(Control control) const {
  return qobject_cast<QPushButton*>(this->control(control));
}

QRadioButton* FrmStart::option(Control control) const {
  return qobject_cast<QRadioButton*>(this->control(control));
}

void FrmStart::setUpWindow() {
  const WindowSpec& window = Window();
  setObjectName(window.objectName.toString());
  setWindowTitle(window.title.toString());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(ClientSize(window));
  setBackgroundRole(PaletteRole(window.background));
  setAutoFillBackground(true);
  setFont(QtFont(window.font));
  setWindowIcon(QIcon(window.icon.toString()));
  levelGroup_->setExclusive(true);
}

void FrmStart::createControls() {
  for (const ControlSpec& spec : Controls()) {
    QWidget* widget = MakeWidget(spec, this);
    widget->setObjectName(NameOf(spec.control));
    widget->setGeometry(PixelRect(spec));
    widget->setFont(FittedFont(spec));
    ApplyColours(widget, spec);
    widget->setEnabled(!spec.Has(kDisabled));
    widget->setVisible(!spec.Has(kHidden));
    if (auto* option = qobject_cast<QRadioButton*>(widget)) {
      levelGroup_->addButton(option, static_cast<int>(quillomat::Index(spec.control)));
    }
    controls_[quillomat::Index(spec.control)] = widget;
  }
}

void FrmStart::labelForScreenReaders() {
  for (const AccessibleSpec& spec : Accessibility()) {
    QWidget* widget = control(spec.control);
    if (!spec.name.isEmpty()) widget->setAccessibleName(spec.name.toString());
    if (!spec.description.isEmpty()) widget->setAccessibleDescription(spec.description.toString());
    if (spec.labelledBy) label(*spec.labelledBy)->setBuddy(widget);
  }
}

std::vector<QWidget*> FrmStart::tabStops() const {
  std::vector<const ControlSpec*> specs;
  for (const ControlSpec& spec : Controls()) {
    if (spec.tabIndex && control(spec.control)->focusPolicy() != Qt::NoFocus) specs.push_back(&spec);
  }
  std::ranges::sort(specs, {}, [](const ControlSpec* spec) { return *spec->tabIndex; });
  std::vector<QWidget*> stops;
  for (const ControlSpec* spec : specs) stops.push_back(control(spec->control));
  return stops;
}

void FrmStart::orderTabs() {
  const std::vector<QWidget*> stops = tabStops();
  for (std::size_t i = 1; i < stops.size(); ++i) setTabOrder(stops[i - 1], stops[i]);
  // Tab enters the level group at its selected button; arrow keys move within the group.
  for (QAbstractButton* level : levelGroup_->buttons()) {
    const auto policy = level->isChecked() ? Qt::StrongFocus : Qt::StrongFocus & ~Qt::TabFocus;
    level->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
  }
}

QWidget* FrmStart::firstInTabOrder() const {
  for (QWidget* widget : tabStops()) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->isHidden()) {
      return widget;
    }
  }
  return nullptr;
}

void FrmStart::centreOnScreen() {
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  const QRect framed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                           size().grownBy(frame), screen()->availableGeometry());
  move(framed.topLeft());
}

void FrmStart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownBefore_ || event->spontaneous()) return;
  shownBefore_ = true;
  centreOnScreen();
  if (QWidget* first = firstInTabOrder()) first->setFocus(Qt::OtherFocusReason);
}

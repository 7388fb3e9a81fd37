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

QWidget* MakeTextBox(const ControlSpec& row, QWidget* parent) {
  auto* box = new QLineEdit(row.text.toString(), parent);
  box->setMaxLength(std::numeric_limits<int>::max());
  box->setAlignment(QtAlignment(row));
  return box;
}

QWidget* MakeLabel(const ControlSpec& row, QWidget* parent) {
  auto* label = new QLabel(row.text.toString(), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(QtAlignment(row));
  label->setAutoFillBackground(true);
  return label;
}

QWidget* MakeCommandButton(const ControlSpec& row, QWidget* parent) {
  auto* button = new QPushButton(row.text.toString(), parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QWidget* MakeOptionButton(const ControlSpec& row, QWidget* parent) {
  auto* option = new QRadioButton(row.text.toString(), parent);
  option->setChecked(row.Has(kSelected));
  option->setAutoFillBackground(true);
  return option;
}

QWidget* MakePicture(const ControlSpec& row, QWidget* parent) {
  return new quillomat::PictureBox(row.text.toString(), parent);
}

QWidget* MakeLine(const ControlSpec& row, QWidget* parent) {
  const QLine local = PixelLine(row).translated(-PixelRect(row).topLeft());
  return new quillomat::LineShape(local, parent);
}

QWidget* MakeWidget(const ControlSpec& row, QWidget* parent) {
  switch (row.kind) {
    case Kind::TextBox: return MakeTextBox(row, parent);
    case Kind::Label: return MakeLabel(row, parent);
    case Kind::CommandButton: return MakeCommandButton(row, parent);
    case Kind::OptionButton: return MakeOptionButton(row, parent);
    case Kind::Picture: return MakePicture(row, parent);
    case Kind::Line: break;
  }
  return MakeLine(row, parent);
}

// A fixed colour holds in every colour group, so a disabled control keeps it too.
void SetFixedColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t rgb) {
  QPalette palette = widget->palette();
  palette.setColor(role, QColor(static_cast<QRgb>(rgb)));
  widget->setPalette(palette);
}

// A system colour is a palette role, so the control follows the desktop theme.
void ApplyColours(QWidget* widget, const ControlSpec& row) {
  const Colour background = Background(row);
  const Colour foreground = Foreground(row);
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

FrmStart::FrmStart(QWidget* parent) : QWidget(parent), levelGroup_(new QButtonGroup(this)) {
  setUpWindow();
  createControls();
  labelForScreenReaders();
  orderTabs();
}

QWidget* FrmStart::control(Control control) const { return controls_[quillomat::Index(control)]; }

QLineEdit* FrmStart::textBox(Control control) const { return qobject_cast<QLineEdit*>(this->control(control)); }

QLabel* FrmStart::label(Control control) const { return qobject_cast<QLabel*>(this->control(control)); }

QPushButton* FrmStart::button(Control control) const { return qobject_cast<QPushButton*>(this->control(control)); }

QRadioButton* FrmStart::option(Control control) const { return qobject_cast<QRadioButton*>(this->control(control)); }

void FrmStart::setUpWindow() {
  const WindowSpec& window = Window();
  setObjectName(window.objectName.toString());
  setWindowTitle(window.title.toString());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(ClientSize(window));
  setBackgroundRole(PaletteRole(window.background));
  setAutoFillBackground(true);
  setFont(QtFont(window.font));
  setWindowIcon(QIcon(window.icon.toString()));
  levelGroup_->setExclusive(true);
}

void FrmStart::createControls() {
  for (const ControlSpec& row : Controls()) {
    QWidget* widget = MakeWidget(row, this);
    widget->setObjectName(NameOf(row.control));
    widget->setGeometry(PixelRect(row));
    widget->setFont(FittedFont(row));
    ApplyColours(widget, row);
    widget->setEnabled(!row.Has(kDisabled));
    widget->setVisible(!row.Has(kHidden));
    if (auto* option = qobject_cast<QRadioButton*>(widget)) {
      levelGroup_->addButton(option, static_cast<int>(quillomat::Index(row.control)));
    }
    controls_[quillomat::Index(row.control)] = widget;
  }
}

void FrmStart::labelForScreenReaders() {
  for (const AccessibleSpec& row : Accessibility()) {
    QWidget* widget = control(row.control);
    if (!row.name.isEmpty()) widget->setAccessibleName(row.name.toString());
    if (!row.description.isEmpty()) widget->setAccessibleDescription(row.description.toString());
    if (row.labelledBy) label(*row.labelledBy)->setBuddy(widget);
  }
}

std::vector<QWidget*> FrmStart::tabStops() const {
  std::vector<const ControlSpec*> rows;
  for (const ControlSpec& row : Controls()) {
    if (row.tabIndex && control(row.control)->focusPolicy() != Qt::NoFocus) rows.push_back(&row);
  }
  std::ranges::sort(rows, {}, [](const ControlSpec* row) { return *row->tabIndex; });
  std::vector<QWidget*> stops;
  for (const ControlSpec* row : rows) stops.push_back(control(row->control));
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
  const QRect framed =
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size().grownBy(frame), screen()->availableGeometry());
  move(framed.topLeft());
}

void FrmStart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownBefore_ || event->spontaneous()) return;
  shownBefore_ = true;
  centreOnScreen();
  if (QWidget* first = firstInTabOrder()) first->setFocus(Qt::OtherFocusReason);
}

#include "window_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
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
#include <utility>
#include <vector>

#include "drawn_controls.h"
#include "qt_table.h"
#include "qt_text.h"
#include "resource_image.h"
#include "tool_tip_text.h"
#include "window_table.h"

namespace quillomat {
namespace {

using namespace table;

// A line edit lays out its text again whenever its font changes, which loads the font. A box that
// starts hidden lays it out in its own font when it is first shown or drawn instead, so that a
// font only hidden boxes use is not loaded before the window first paints.
class FontWhenShown : public QObject {
 public:
  explicit FontWhenShown(QLineEdit* box) : QObject(box) { box->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::FontChange:
        if (box->isVisible()) break;
        pending_ = true;
        return true;
      case QEvent::Show:
      case QEvent::Paint:
        if (std::exchange(pending_, false)) {
          QEvent change(QEvent::FontChange);
          QCoreApplication::sendEvent(box, &change);
        }
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool pending_ = false;
};

QWidget* MakeTextBox(const ControlRow& row, QWidget* parent) {
  auto* box = new QLineEdit(ToQString(row.text), parent);
  box->setMaxLength(std::numeric_limits<int>::max());
  box->setAlignment(QtAlignment(row));
  if (row.Has(kHidden)) new FontWhenShown(box);
  return box;
}

QWidget* MakeLabel(const ControlRow& row, QWidget* parent) {
  auto* label = new QLabel(ToQString(row.text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(QtAlignment(row));
  label->setAutoFillBackground(true);
  return label;
}

QWidget* MakeCommandButton(const ControlRow& row, QWidget* parent) {
  auto* button = new QPushButton(ToQString(row.text), parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QWidget* MakeOptionButton(const ControlRow& row, QWidget* parent) {
  auto* option = new QRadioButton(ToQString(row.text), parent);
  option->setChecked(row.Has(kSelected));
  option->setAutoFillBackground(true);
  return option;
}

// The program carries the table's picture also as PNG, with the same pixels.
QWidget* MakePicture(const ControlRow& row, QWidget* parent) {
  return new PictureBox(WithEnding(ResourcePath(row.text), u".png"), parent);
}

QWidget* MakeLine(const ControlRow& row, QWidget* parent) {
  const QLine local = PixelLine(row).translated(-PixelRect(row).topLeft());
  return new LineShape(local, parent);
}

QWidget* MakeWidget(const ControlRow& row, QWidget* parent) {
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

// The disabled colour group stays the theme's, so disabled text keeps the look the style gives it.
void SetEnabledTextColour(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, widget->foregroundRole(), colour);
  }
  widget->setPalette(palette);
}

// A system colour is a palette role, so the control follows the desktop theme. A theme's text
// colour suits the theme's own backgrounds only: on a fixed background, text takes a fixed colour.
void ApplyColours(QWidget* widget, const ControlRow& row) {
  const Colour background = Background(row);
  const Colour foreground = Foreground(row);
  if (background.source == Colour::Source::System) {
    widget->setBackgroundRole(PaletteRole(background.system));
  } else {
    SetFixedColour(widget, widget->backgroundRole(), background.rgb);
  }
  if (foreground.source == Colour::Source::Fixed) {
    SetFixedColour(widget, widget->foregroundRole(), foreground.rgb);
    return;
  }
  widget->setForegroundRole(PaletteRole(foreground.system));
  if (background.source == Colour::Source::Fixed)
    SetEnabledTextColour(widget, QColor(static_cast<QRgb>(ReadableTextOn(background.rgb))));
}

// As QIcon::addFile does, a screen of twice the density or more adds each file's NAME@2x.png.
QIcon WindowIcon(const WindowRow& window) {
  QIcon icon;
  const bool dense = qApp->devicePixelRatio() >= 2;
  for (std::u16string_view file : window.icons) {
    const QString path = ResourcePath(file);
    QStringList paths{path};
    if (dense) paths << WithEnding(path, u"@2x.png");
    for (const QString& each : paths) {
      const QImage image = ReadPng(each);
      if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
  }
  return icon;
}

QString NameOf(Control control) {
  const std::string_view name = ControlName(control);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

FrmStart::FrmStart(QWidget* parent) : QWidget(parent), levelGroup_(new QButtonGroup(this)) {
  SetUpWindow();
  CreateControls();
  ExplainControls();
  OrderTabs();
}

QWidget* FrmStart::Widget(Control control) const { return controls_[Index(control)]; }

QLineEdit* FrmStart::TextBox(Control control) const { return qobject_cast<QLineEdit*>(Widget(control)); }

QLabel* FrmStart::Label(Control control) const { return qobject_cast<QLabel*>(Widget(control)); }

QPushButton* FrmStart::Button(Control control) const { return qobject_cast<QPushButton*>(Widget(control)); }

QRadioButton* FrmStart::Option(Control control) const { return qobject_cast<QRadioButton*>(Widget(control)); }

void FrmStart::SetUpWindow() {
  const WindowRow& window = Window();
  setObjectName(ToQString(window.objectName));
  setWindowTitle(ToQString(window.title));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(ClientSize(window));
  setBackgroundRole(PaletteRole(window.background));
  setAutoFillBackground(true);
  setFont(QtFont(window.font));
  setWindowIcon(WindowIcon(window));
  levelGroup_->setExclusive(true);
}

void FrmStart::CreateControls() {
  // Rows alike in font, widest text and width fit alike: each such font is measured once.
  std::vector<std::pair<const ControlRow*, QFont>> fitted;
  const auto fontOf = [&fitted](const ControlRow& row) {
    const auto alike = std::ranges::find_if(fitted, [&row](const auto& known) {
      return known.first->font == row.font && known.first->widest == row.widest &&
             known.first->box.width == row.box.width;
    });
    if (alike != fitted.end()) return alike->second;
    return fitted.emplace_back(&row, FittedFont(row)).second;
  };
  for (const ControlRow& row : Controls()) {
    QWidget* widget = MakeWidget(row, this);
    widget->setObjectName(NameOf(row.control));
    widget->setGeometry(PixelRect(row));
    widget->setFont(fontOf(row));
    ApplyColours(widget, row);
    widget->setEnabled(!row.Has(kDisabled));
    widget->setVisible(!row.Has(kHidden));
    if (auto* option = qobject_cast<QRadioButton*>(widget)) {
      levelGroup_->addButton(option, static_cast<int>(Index(row.control)));
    }
    controls_[Index(row.control)] = widget;
  }
}

void FrmStart::ExplainControls() {
  for (const AccessibleRow& row : Accessibility()) {
    QWidget* widget = Widget(row.control);
    if (!row.name.empty()) widget->setAccessibleName(ToQString(row.name));
    if (!row.description.empty()) widget->setAccessibleDescription(ToQString(row.description));
    if (row.labelledBy) Label(*row.labelledBy)->setBuddy(widget);
  }
  for (const ToolTipRow& row : ToolTips()) Widget(row.control)->setToolTip(ToQString(OneSentenceALine(row.text)));
}

std::vector<QWidget*> FrmStart::TabStops() const {
  std::vector<const ControlRow*> rows;
  for (const ControlRow& row : Controls()) {
    if (row.tabIndex && Widget(row.control)->focusPolicy() != Qt::NoFocus) rows.push_back(&row);
  }
  std::ranges::sort(rows, {}, [](const ControlRow* row) { return *row->tabIndex; });
  std::vector<QWidget*> stops;
  for (const ControlRow* row : rows) stops.push_back(Widget(row->control));
  return stops;
}

void FrmStart::OrderTabs() {
  const std::vector<QWidget*> stops = TabStops();
  for (std::size_t i = 1; i < stops.size(); ++i) setTabOrder(stops[i - 1], stops[i]);
  // Tab enters the level group at its selected button; arrow keys move within the group.
  for (QAbstractButton* level : levelGroup_->buttons()) {
    const auto policy = level->isChecked() ? Qt::StrongFocus : Qt::StrongFocus & ~Qt::TabFocus;
    level->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
  }
}

QWidget* FrmStart::FirstInTabOrder() const {
  for (QWidget* widget : TabStops()) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->isHidden()) {
      return widget;
    }
  }
  return nullptr;
}

void FrmStart::CentreOnScreen() {
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  const QRect framed =
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size().grownBy(frame), screen()->availableGeometry());
  move(framed.topLeft());
}

void FrmStart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownBefore_ || event->spontaneous()) return;
  shownBefore_ = true;
  CentreOnScreen();
  if (QWidget* first = FirstInTabOrder()) first->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillomat

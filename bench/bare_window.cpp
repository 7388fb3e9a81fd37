#include "bare_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QString>

#include <limits>

namespace quillomat::bench {
namespace {

constexpr int kClientWidth = 638;
constexpr int kClientHeight = 399;
constexpr int kTextColumns = 3;
constexpr int kTextWidth = 200;
constexpr int kTextHeight = 20;
constexpr int kRowHeight = 24;

}  // namespace

BareWindow::BareWindow(QWidget* parent) : QWidget(parent), input_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Bare window"));
  setFixedSize(kClientWidth, kClientHeight);
  for (int i = 0; i < kTextCount; ++i) {
    auto* text = new QLabel(QStringLiteral("Text %1").arg(i + 1), this);
    text->setTextFormat(Qt::PlainText);
    text->setGeometry(12 + (i % kTextColumns) * (kTextWidth + 10), 12 + (i / kTextColumns) * kRowHeight, kTextWidth,
                      kTextHeight);
    texts_[static_cast<std::size_t>(i)] = text;
  }
  input_->setMaxLength(std::numeric_limits<int>::max());
  input_->setGeometry(12, 12 + (kTextCount / kTextColumns) * kRowHeight + 12, 120, 24);
  QObject::connect(input_, &QLineEdit::textChanged, this,
                   [this](const QString& text) { Echo()->setText(text.left(kEchoLength)); });
  input_->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillomat::bench

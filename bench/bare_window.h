#pragma once
// The yardstick for the window's keystrokes and pastes: a plain Qt window of Quillomat's client
// size with 36 plain texts and one input whose text is copied into the last text on every change
// (at most its first 63 characters, as the Windows yardstick's buffer takes). It does what any
// window of that shape must do and nothing more, so the figures of Quillomat's window over this
// one's are what Quillomat's own work costs. The input has no length limit, as Quillomat's boxes.

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace quillomat::bench {

class BareWindow : public QWidget {
 public:
  static constexpr int kTextCount = 36;
  static constexpr int kEchoLength = 63;

  explicit BareWindow(QWidget* parent = nullptr);

  QLineEdit* Input() const { return input_; }
  // The last text, which echoes the input.
  QLabel* Echo() const { return texts_.back(); }

 private:
  std::array<QLabel*, kTextCount> texts_{};
  QLineEdit* input_;
};

}  // namespace quillomat::bench

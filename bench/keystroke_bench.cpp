// Latency of one keystroke in the working window: from a real key event delivered to txtResp2 to
// the updated result captions, measured keystroke by keystroke.
//
// The window is filled with 200 / 50 / 300 and txtResp2 holds "12"; then the program alternates
// typing "0" ("12" -> "120") and Backspace ("120" -> "12"), so every keystroke changes the text
// and completes a calculation. Two measurements, each over the same number of keystrokes:
//
//   handler   the key press and release, delivered the way Qt delivers them (shortcut override,
//             then press and release to the line edit), up to the return of the delivery: the
//             change handler, the calculation and the caption and visibility updates. The repaint
//             this queues is done afterwards, outside the timed span, so each keystroke starts
//             from a painted window as when a person types.
//   flushed   the same, plus processing the queued events until the window has repainted and
//             flushed the changed captions to the screen (offscreen: an image in memory; X11: the
//             X server).
//
// After every keystroke the caption of lblPer2b is checked against the expected result, outside
// the timed span, so the work cannot silently be skipped; a wrong caption ends the program with
// status 1. Nothing here compares a time against a limit: the figures are printed, not judged.
//
// Usage: keystroke_bench [--keystrokes N] [--warmup N] [--mode handler|flushed|both]
//                        [--pointer over|away] [--gap MS] [--samples FILE]
//
// --pointer places the mouse pointer before measuring: "over" (the default) in the middle of the
// window, as when the user has just clicked into a box and left the mouse there; "away" outside
// the window. On X11 this matters: while the pointer is over the window, Qt asks the X server
// where the pointer is (a round trip) whenever a child widget is shown.
//
// --gap leaves MS milliseconds between keystrokes (default 0, back to back), outside the timed
// span, for the window system to finish drawing the previous frame, as between a person's
// keystrokes.
//
// Run it with QT_QPA_PLATFORM=offscreen, or on an X11 display (e.g. under xvfb-run).

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "window_controller.h"
#include "window_widgets.h"

namespace {

using C = quillomat::Control;
using quillomat::FrmStart;
using Clock = std::chrono::steady_clock;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  long paints() const { return paints_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints_;
    return QObject::eventFilter(watched, event);
  }

 private:
  long paints_ = 0;
};

struct Options {
  long keystrokes = 10000;
  long warmup = 500;
  bool handler = true;
  bool flushed = true;
  bool pointerOver = true;
  int gapMs = 0;
  std::string samples;  // file for the raw per-keystroke times, empty for none
};

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: keystroke_bench [--keystrokes N] [--warmup N] [--mode handler|flushed|both] "
               "[--pointer over|away] [--gap MS] [--samples FILE]\n");
  std::exit(2);
}

Options ParseOptions(const QStringList& args) {
  Options options;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == QLatin1String("--keystrokes") && hasValue) {
      options.keystrokes = args[++i].toLong();
    } else if (arg == QLatin1String("--warmup") && hasValue) {
      options.warmup = args[++i].toLong();
    } else if (arg == QLatin1String("--mode") && hasValue) {
      const QString mode = args[++i];
      options.handler = mode == QLatin1String("handler") || mode == QLatin1String("both");
      options.flushed = mode == QLatin1String("flushed") || mode == QLatin1String("both");
      if (!options.handler && !options.flushed) Usage();
    } else if (arg == QLatin1String("--pointer") && hasValue) {
      const QString where = args[++i];
      if (where != QLatin1String("over") && where != QLatin1String("away")) Usage();
      options.pointerOver = where == QLatin1String("over");
    } else if (arg == QLatin1String("--gap") && hasValue) {
      options.gapMs = args[++i].toInt();
    } else if (arg == QLatin1String("--samples") && hasValue) {
      options.samples = args[++i].toStdString();
    } else {
      Usage();
    }
  }
  if (options.keystrokes < 1 || options.warmup < 0 || options.gapMs < 0) Usage();
  return options;
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// The nearest-rank percentile of sorted samples, q in (0, 1].
double Percentile(const std::vector<double>& sorted, double q) {
  const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void Report(std::string_view name, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("%-8s n=%zu  median %.4f ms  p90 %.4f ms  p99 %.4f ms  min %.4f  mean %.4f  max %.4f\n",
              std::string(name).c_str(), ms.size(), Percentile(ms, 0.5), Percentile(ms, 0.9), Percentile(ms, 0.99),
              ms.front(), sum / static_cast<double>(ms.size()), ms.back());
}

class Bench {
 public:
  Bench(quillomat::WindowController& start, int gapMs)
      : gapMs_(gapMs),
        window_(start.Window()),
        box_(window_.TextBox(C::txtResp2)),
        result_(window_.Label(C::lblPer2b)),
        paints_(result_) {}

  bool Prepare(bool pointerOver) {
    window_.show();
    if (!QTest::qWaitForWindowExposed(&window_)) {
      std::fprintf(stderr, "the window was not exposed\n");
      return false;
    }
    window_.activateWindow();
    // Best effort: the keys are delivered to the box whether or not the window is active.
    if (!QTest::qWaitForWindowActive(&window_)) std::fprintf(stderr, "note: the window is not active\n");
    const QRect frame = window_.frameGeometry();
    QCursor::setPos(pointerOver ? window_.mapToGlobal(window_.rect().center()) : frame.bottomRight() + QPoint(40, 40));
    QTest::qWait(100);  // the enter or leave event arrives from the window system
    QTest::keyClicks(window_.TextBox(C::txtBase1), QStringLiteral("200"));
    QTest::keyClicks(window_.TextBox(C::txtResp1), QStringLiteral("50"));
    QTest::keyClicks(window_.TextBox(C::txtBase2), QStringLiteral("300"));
    box_->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(box_, QStringLiteral("12"));
    Settle();
    if (result_->text() != kShort || !result_->isVisible()) {
      std::fprintf(stderr, "unexpected window state after filling: lblPer2b \"%s\"\n", qPrintable(result_->text()));
      return false;
    }
    return true;
  }

  // Times `count` keystrokes; with `flush` the repaint is inside the timed span.
  bool Run(long count, bool flush, std::vector<double>* ms) {
    for (long i = 0; i < count; ++i) {
      const bool typeDigit = box_->text() == QLatin1String("12");
      const Qt::Key key = typeDigit ? Qt::Key_0 : Qt::Key_Backspace;
      const QString& expected = typeDigit ? kLong : kShort;
      const long paintsBefore = paints_.paints();

      const Clock::time_point start = Clock::now();
      QTest::keyClick(box_, key);
      if (flush && !FlushUntilPainted(paintsBefore)) return false;
      const Clock::time_point end = Clock::now();

      if (result_->text() != expected) {
        std::fprintf(stderr, "keystroke %ld: lblPer2b shows \"%s\", expected \"%s\"\n", i, qPrintable(result_->text()),
                     qPrintable(expected));
        return false;
      }
      if (!flush) Settle();
      if (gapMs_ > 0) QTest::qWait(gapMs_);
      if (ms != nullptr) ms->push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return true;
  }

 private:
  // Processes queued events until the result label has been repainted (a repaint ends with the
  // flush of the window's backing store, in the same event).
  bool FlushUntilPainted(long paintsBefore) {
    QElapsedTimer guard;
    guard.start();
    while (paints_.paints() == paintsBefore) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (guard.elapsed() > 5000) {
        std::fprintf(stderr, "the result label was not repainted within 5 s\n");
        return false;
      }
    }
    return true;
  }

  // Lets the window catch up with everything queued, outside any timed span.
  static void Settle() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }

  inline static const QString kShort = QStringLiteral("04.00%");  // 12 of 300
  inline static const QString kLong = QStringLiteral("40.00%");   // 120 of 300

  int gapMs_;
  FrmStart& window_;
  QLineEdit* box_;
  QLabel* result_;
  PaintCounter paints_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication app(argc, argv);
  const Options options = ParseOptions(QCoreApplication::arguments());

  quillomat::WindowController start;
  Bench bench(start, options.gapMs);
  if (!bench.Prepare(options.pointerOver)) return 1;

  std::printf(
      "platform %s, pointer %s the window, %ld keystrokes per measurement after %ld warm-up "
      "keystrokes, %d ms between keystrokes\n",
      qPrintable(QGuiApplication::platformName()), options.pointerOver ? "over" : "away from", options.keystrokes,
      options.warmup, options.gapMs);
  std::printf("load average before: %s\n", LoadAverage().c_str());

  std::ofstream samples;
  if (!options.samples.empty()) samples.open(options.samples);

  const auto measure = [&](std::string_view name, bool flush) {
    if (!bench.Run(options.warmup, flush, nullptr)) return false;
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(options.keystrokes));
    if (!bench.Run(options.keystrokes, flush, &ms)) return false;
    if (samples.is_open()) {
      for (double v : ms) samples << name << ' ' << v << '\n';
    }
    Report(name, std::move(ms));
    std::fflush(stdout);
    return true;
  };
  if (options.handler && !measure("handler", false)) return 1;
  if (options.flushed && !measure("flushed", true)) return 1;

  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}

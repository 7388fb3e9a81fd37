// Latency of one keystroke, and of a large paste, in a working window: from a real key event
// delivered to an input box to the updated window, measured event by event. It times either
// Quillomat's window or, with --bare, the bare Qt window of bare_window.h, through the same key
// delivery and the same wait for the repaint, so that the two sets of figures compare.
//
// Keystrokes. Quillomat's window is filled with 200 / 50 / 300 and txtResp2 holds "12"; the bare
// window's input holds "12". Then the program alternates typing "0" ("12" -> "120") and Backspace
// ("120" -> "12"), so every keystroke changes the text and, in Quillomat's window, completes a
// calculation. Two measurements, each over the same number of keystrokes:
//
//   handler   the key press and release, delivered the way Qt delivers them (shortcut override,
//             then press and release to the line edit), up to the return of the delivery: the
//             change handler, the calculation and the caption and visibility updates. The repaint
//             this queues is done afterwards, outside the timed span, so each keystroke starts
//             from a painted window as when a person types.
//   flushed   the same, plus processing the queued events until the window has repainted and
//             flushed the changed captions to the screen (offscreen: an image in memory; X11: the
//             X server). The label watched is lblPer2b in Quillomat's window, the echoing text in
//             the bare one.
//
// Pastes (--mode paste). The clipboard is given a megabyte of digits (--paste-chars) before
// anything is timed. Each round sets the box back to "12" and lets the window settle, untimed,
// then presses Ctrl+V and, once the window has repainted, types "0". Four figures a round:
//
//   paste-handler   Ctrl+V delivered, to the return of the delivery (the box holds the text and
//                   the handlers have run: in Quillomat's window the results count now exceeds
//                   the base, so the warning shows);
//   paste-flushed   the same Ctrl+V, on to the repainted box;
//   next-handler    the keystroke after the paste, to the return of its delivery;
//   next-flushed    the same keystroke, on to the repainted box.
//
// After every keystroke and paste the window is checked against what it must show, outside the
// timed span, so the work cannot silently be skipped; a wrong window ends the program with status
// 1. Nothing here compares a time against a limit: the figures are printed, not judged.
//
// Usage: keystroke_bench [--bare] [--keystrokes N] [--warmup N]
//                        [--mode handler|flushed|both|paste|all] [--pastes N] [--paste-chars N]
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
#include <QClipboard>
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
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bare_window.h"
#include "window_controller.h"
#include "window_widgets.h"

namespace {

using C = quillomat::Control;
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
  bool bare = false;
  long keystrokes = 10000;
  long warmup = 500;
  bool handler = true;
  bool flushed = true;
  bool paste = false;
  long pastes = 10;
  long pasteChars = 1L << 20;
  bool pointerOver = true;
  int gapMs = 0;
  std::string samples;  // file for the raw per-event times, empty for none
};

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: keystroke_bench [--bare] [--keystrokes N] [--warmup N] "
               "[--mode handler|flushed|both|paste|all] [--pastes N] [--paste-chars N] "
               "[--pointer over|away] [--gap MS] [--samples FILE]\n");
  std::exit(2);
}

Options ParseOptions(const QStringList& args) {
  Options options;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == QLatin1String("--bare")) {
      options.bare = true;
    } else if (arg == QLatin1String("--keystrokes") && hasValue) {
      options.keystrokes = args[++i].toLong();
    } else if (arg == QLatin1String("--warmup") && hasValue) {
      options.warmup = args[++i].toLong();
    } else if (arg == QLatin1String("--mode") && hasValue) {
      const QString mode = args[++i];
      const bool all = mode == QLatin1String("all");
      options.handler = all || mode == QLatin1String("handler") || mode == QLatin1String("both");
      options.flushed = all || mode == QLatin1String("flushed") || mode == QLatin1String("both");
      options.paste = all || mode == QLatin1String("paste");
      if (!options.handler && !options.flushed && !options.paste) Usage();
    } else if (arg == QLatin1String("--pastes") && hasValue) {
      options.pastes = args[++i].toLong();
    } else if (arg == QLatin1String("--paste-chars") && hasValue) {
      options.pasteChars = args[++i].toLong();
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
  if (options.keystrokes < 1 || options.warmup < 0 || options.gapMs < 0 || options.pastes < 1 ||
      options.pasteChars < 1) {
    Usage();
  }
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
  std::printf("%-13s n=%zu  median %.4f ms  p90 %.4f ms  p99 %.4f ms  min %.4f  mean %.4f  max %.4f\n",
              std::string(name).c_str(), ms.size(), Percentile(ms, 0.5), Percentile(ms, 0.9), Percentile(ms, 0.99),
              ms.front(), sum / static_cast<double>(ms.size()), ms.back());
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// A window the harness types into: its input box, the label a keystroke repaints, and what the
// window must show for the box's text.
class Target {
 public:
  virtual ~Target() = default;
  virtual QWidget& Window() = 0;
  virtual QLineEdit* Box() = 0;
  virtual QLabel* Result() = 0;
  // Types whatever the window needs in its other boxes before the box is typed into.
  virtual void FillOthers() = 0;
  // Empty when the window shows what it must for the box's text, else what it shows instead.
  virtual QString Mismatch() = 0;
};

// Quillomat's window, typed into at txtResp2 after the typical run's other three entries.
class QuillomatTarget : public Target {
 public:
  QWidget& Window() override { return window_.Window(); }
  QLineEdit* Box() override { return window_.Window().TextBox(C::txtResp2); }
  QLabel* Result() override { return window_.Window().Label(C::lblPer2b); }
  void FillOthers() override {
    QTest::keyClicks(window_.Window().TextBox(C::txtBase1), QStringLiteral("200"));
    QTest::keyClicks(window_.Window().TextBox(C::txtResp1), QStringLiteral("50"));
    QTest::keyClicks(window_.Window().TextBox(C::txtBase2), QStringLiteral("300"));
  }
  QString Mismatch() override {
    const QString text = Box()->text();
    QWidget* warning = window_.Window().Widget(C::txtWarnSign);
    if (text != QLatin1String("12") && text != QLatin1String("120")) {
      // A pasted results count beyond the base.
      return warning->isVisible() ? QString() : QStringLiteral("no warning");
    }
    const QString expected = text == QLatin1String("12") ? QStringLiteral("04.00%") : QStringLiteral("40.00%");
    if (Result()->text() == expected && Result()->isVisible() && !warning->isVisible()) return {};
    return QStringLiteral("lblPer2b \"%1\"%2, expected \"%3\"")
        .arg(Result()->text(), Result()->isVisible() ? QString() : QStringLiteral(" hidden"), expected);
  }

 private:
  quillomat::WindowController window_;
};

class BareTarget : public Target {
 public:
  QWidget& Window() override { return window_; }
  QLineEdit* Box() override { return window_.Input(); }
  QLabel* Result() override { return window_.Echo(); }
  void FillOthers() override {}
  QString Mismatch() override {
    const QString expected = Box()->text().left(quillomat::bench::BareWindow::kEchoLength);
    if (Result()->text() == expected) return {};
    return QStringLiteral("echo \"%1\", expected \"%2\"").arg(Result()->text(), expected);
  }

 private:
  quillomat::bench::BareWindow window_;
};

using Samples = std::vector<double>;

class Bench {
 public:
  Bench(Target& target, int gapMs)
      : gapMs_(gapMs),
        target_(target),
        window_(target.Window()),
        box_(target.Box()),
        result_(target.Result()),
        resultPaints_(result_),
        boxPaints_(box_) {}

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
    target_.FillOthers();
    box_->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(box_, QStringLiteral("12"));
    Settle();
    return Check("after filling");
  }

  // Times `count` keystrokes; with `flush` the repaint is inside the timed span.
  bool Run(long count, bool flush, Samples* ms) {
    for (long i = 0; i < count; ++i) {
      const bool typeDigit = box_->text() == QLatin1String("12");
      const Qt::Key key = typeDigit ? Qt::Key_0 : Qt::Key_Backspace;
      const long paintsBefore = resultPaints_.paints();

      const Clock::time_point start = Clock::now();
      QTest::keyClick(box_, key);
      if (flush && !FlushUntilPainted(resultPaints_, paintsBefore)) return false;
      const Clock::time_point end = Clock::now();

      if (box_->text() != (typeDigit ? QLatin1String("120") : QLatin1String("12")) || !Check("keystroke")) return false;
      if (!flush) Settle();
      if (gapMs_ > 0) QTest::qWait(gapMs_);
      if (ms != nullptr) ms->push_back(Milliseconds(start, end));
    }
    return true;
  }

  struct PasteSamples {
    Samples pasteHandler, pasteFlushed, nextHandler, nextFlushed;
  };

  // Puts `chars` digits on the clipboard, untimed.
  static bool FillClipboard(long chars) {
    QString digits(static_cast<qsizetype>(chars), Qt::Uninitialized);
    for (qsizetype i = 0; i < digits.size(); ++i) digits[i] = QChar(u'0' + static_cast<char16_t>(i % 10));
    QGuiApplication::clipboard()->setText(digits);
    Settle();
    if (QGuiApplication::clipboard()->text().size() == digits.size()) return true;
    std::fprintf(stderr, "the clipboard does not hold the %ld digits\n", chars);
    return false;
  }

  // Times `rounds` pastes of what the clipboard holds, each followed by a keystroke.
  bool Paste(long rounds, long chars, PasteSamples* ms) {
    for (long i = 0; i < rounds; ++i) {
      box_->setText(QStringLiteral("12"));
      Settle();
      if (!Check("reset")) return false;

      long paintsBefore = boxPaints_.paints();
      const Clock::time_point pasteStart = Clock::now();
      QTest::keyClick(box_, Qt::Key_V, Qt::ControlModifier);
      const Clock::time_point pasteHandled = Clock::now();
      if (!FlushUntilPainted(boxPaints_, paintsBefore)) return false;
      const Clock::time_point pasteFlushed = Clock::now();
      if (box_->text().size() != 2 + chars) {
        std::fprintf(stderr, "the paste left %lld characters in the box, not %ld\n",
                     static_cast<long long>(box_->text().size()), 2 + chars);
        return false;
      }
      if (!Check("paste")) return false;
      Settle();

      paintsBefore = boxPaints_.paints();
      const Clock::time_point nextStart = Clock::now();
      QTest::keyClick(box_, Qt::Key_0);
      const Clock::time_point nextHandled = Clock::now();
      if (!FlushUntilPainted(boxPaints_, paintsBefore)) return false;
      const Clock::time_point nextFlushed = Clock::now();
      if (box_->text().size() != 3 + chars || !box_->text().endsWith(u'0') || !Check("keystroke after the paste")) {
        std::fprintf(stderr, "the keystroke after the paste did not reach the box\n");
        return false;
      }
      Settle();

      if (ms != nullptr) {
        ms->pasteHandler.push_back(Milliseconds(pasteStart, pasteHandled));
        ms->pasteFlushed.push_back(Milliseconds(pasteStart, pasteFlushed));
        ms->nextHandler.push_back(Milliseconds(nextStart, nextHandled));
        ms->nextFlushed.push_back(Milliseconds(nextStart, nextFlushed));
      }
    }
    return true;
  }

 private:
  bool Check(const char* when) {
    const QString mismatch = target_.Mismatch();
    if (mismatch.isEmpty()) return true;
    std::fprintf(stderr, "%s: the window shows %s\n", when, qPrintable(mismatch));
    return false;
  }

  // Processes queued events until the widget has been repainted (a repaint ends with the flush of
  // the window's backing store, in the same event).
  static bool FlushUntilPainted(const PaintCounter& counter, long paintsBefore) {
    QElapsedTimer guard;
    guard.start();
    while (counter.paints() == paintsBefore) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (guard.elapsed() > 60000) {
        std::fprintf(stderr, "the window was not repainted within a minute\n");
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

  int gapMs_;
  Target& target_;
  QWidget& window_;
  QLineEdit* box_;
  QLabel* result_;
  PaintCounter resultPaints_;
  PaintCounter boxPaints_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication app(argc, argv);
  const Options options = ParseOptions(QCoreApplication::arguments());

  std::unique_ptr<Target> target;
  if (options.bare) {
    target = std::make_unique<BareTarget>();
  } else {
    target = std::make_unique<QuillomatTarget>();
  }
  Bench bench(*target, options.gapMs);
  if (!bench.Prepare(options.pointerOver)) return 1;

  std::printf(
      "window %s, platform %s, pointer %s the window, %ld keystrokes per measurement after %ld warm-up "
      "keystrokes, %d ms between keystrokes\n",
      options.bare ? "bare" : "quillomat", qPrintable(QGuiApplication::platformName()),
      options.pointerOver ? "over" : "away from", options.keystrokes, options.warmup, options.gapMs);
  std::printf("load average before: %s\n", LoadAverage().c_str());

  std::ofstream samples;
  if (!options.samples.empty()) samples.open(options.samples);
  const auto report = [&](std::string_view name, Samples ms) {
    if (samples.is_open()) {
      for (double v : ms) samples << name << ' ' << v << '\n';
    }
    Report(name, std::move(ms));
    std::fflush(stdout);
  };

  const auto measure = [&](std::string_view name, bool flush) {
    if (!bench.Run(options.warmup, flush, nullptr)) return false;
    Samples ms;
    ms.reserve(static_cast<std::size_t>(options.keystrokes));
    if (!bench.Run(options.keystrokes, flush, &ms)) return false;
    report(name, std::move(ms));
    return true;
  };
  if (options.handler && !measure("handler", false)) return 1;
  if (options.flushed && !measure("flushed", true)) return 1;

  if (options.paste) {
    std::printf("pastes: %ld rounds after one warm-up round, %ld digits each\n", options.pastes, options.pasteChars);
    Bench::PasteSamples ms;
    if (!Bench::FillClipboard(options.pasteChars) || !bench.Paste(1, options.pasteChars, nullptr) ||
        !bench.Paste(options.pastes, options.pasteChars, &ms)) {
      return 1;
    }
    report("paste-handler", std::move(ms.pasteHandler));
    report("paste-flushed", std::move(ms.pasteFlushed));
    report("next-handler", std::move(ms.nextHandler));
    report("next-flushed", std::move(ms.nextFlushed));
  }

  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}

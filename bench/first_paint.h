#pragma once
// The exit rule of the start-up benchmarks: as soon as the top-level window has painted for the
// first time (and that first frame has been flushed to the screen), print a marker with the wall
// clock and end the process at once, without tearing anything down. The harness that launched
// the program subtracts its own launch time from the marker's.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace quillomat::bench {

class ExitOnFirstPaint : public QObject {
 public:
  explicit ExitOnFirstPaint(QWidget* window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // The paint event runs inside the repaint that ends with the flush of the window's
      // backing store; a queued call runs after that flush has returned.
      QMetaObject::invokeMethod(this, &ExitOnFirstPaint::Finish, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static void Finish() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::printf("shown %lld%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
    std::fflush(stdout);
    std::_Exit(0);
  }

  bool seen_ = false;
};

}  // namespace quillomat::bench

#pragma once
// The exit rule of the start-up benchmarks: as soon as the top-level window has painted for the
// first time (and that first frame has been flushed to the screen), print a marker and end the
// process at once, without tearing anything down. The marker is
//   shown <wall clock, ns since the epoch> <CPU time of the process so far, ns>
// The harness that launched the program subtracts its own launch time from the wall clock; the
// CPU time (all threads, from the start of the process) is less disturbed by other load on the
// machine than the wall time is.

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
    timespec cpu{};
    clock_gettime(CLOCK_REALTIME, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("shown %lld%09ld %lld%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec,
                static_cast<long long>(cpu.tv_sec), cpu.tv_nsec);
    std::fflush(stdout);
    std::_Exit(0);
  }

  bool seen_ = false;
};

}  // namespace quillomat::bench

#include "shell/PumpingSleep.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

namespace linkora {

void PumpingSleep::Wait(int milliseconds) {
  // Short naps between rounds of event handling: the windows stay painted
  // and the processor stays idle.
  constexpr qint64 kNapMs = 10;
  QElapsedTimer clock;
  clock.start();
  for (qint64 left = milliseconds; left > 0; left = milliseconds - clock.elapsed()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const qint64 remaining = milliseconds - clock.elapsed();
    if (remaining > 0) {
      QThread::msleep(static_cast<unsigned long>(std::min(remaining, kNapMs)));
    }
  }
}

}  // namespace linkora

#include "server/clock_text.h"

namespace vinylo::server {

QString LoginTimeText(const QDateTime& time) {
    const QDate date = time.date();
    return QStringLiteral("%1-%2-%3 ").arg(date.year()).arg(date.month()).arg(date.day()) +
           ClockTimeText(time.time());
}

QString ClockTimeText(const QTime& time) {
    return QStringLiteral("%1:%2:%3").arg(time.hour()).arg(time.minute()).arg(time.second());
}

}  // namespace vinylo::server

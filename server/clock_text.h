#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

namespace vinylo::server {

// Times as the server window shows them: plain decimal numbers without
// leading zeros, so 7 May 2018, 09:03:15 reads "2018-5-7 9:3:15".
QString LoginTimeText(const QDateTime& time);
QString ClockTimeText(const QTime& time);  // "9:3:15"

}  // namespace vinylo::server

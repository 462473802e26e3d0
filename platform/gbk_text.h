#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

// The one place where GBK bytes (wire messages, settings files) meet QString
// (widgets). Received bytes end at their first zero byte.
namespace vinylo::platform {

QString FromGbk(std::string_view gbk);
QString FromGbk(const QByteArray& gbk);
std::string ToGbk(const QString& text);
QByteArray ToGbkBytes(const QString& text);

}  // namespace vinylo::platform

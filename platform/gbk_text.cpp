#include "platform/gbk_text.h"

#include "protocol/gbk.h"

namespace vinylo::platform {

QString FromGbk(std::string_view gbk) {
    const std::string utf8 = protocol::GbkToUtf8(protocol::TextUpToZero(gbk));
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromGbk(const QByteArray& gbk) {
    return FromGbk(std::string_view(gbk.constData(), static_cast<size_t>(gbk.size())));
}

std::string ToGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return protocol::Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QByteArray ToGbkBytes(const QString& text) {
    const std::string gbk = ToGbk(text);
    return QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size()));
}

}  // namespace vinylo::platform

#pragma once

#include <string>
#include <string_view>

namespace vinylo::protocol {

// Every text on the wire and in the settings files is GBK. The conversions go
// through GB18030, which is byte-identical to GBK for every GBK character and
// also carries the rest of Unicode, so nothing typed by a user is lost.
//
// Bytes that do not decode are replaced (U+FFFD when reading GBK, "?" when
// reading UTF-8) and the conversion goes on: a bad byte never loses the rest.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

// A received text ends at its first zero byte.
std::string_view TextUpToZero(std::string_view bytes);

}  // namespace vinylo::protocol

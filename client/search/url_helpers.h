#pragma once

#include <string>
#include <string_view>
#include <vector>

// The small text routines of the web-request routine and the song search.
// Texts are GBK bytes; positions count bytes; letter case is ASCII only, so
// the trail bytes of GBK characters are never changed.
namespace vinylo::client {

// Percent-encoding of a form value. With keepSafe the letters, digits, "-"
// and "." stay as they are; every other byte becomes "%" and two upper-case
// hex digits. With toUtf8 the GBK text is converted to UTF-8 first.
std::string UrlEncode(std::string_view text, bool keepSafe, bool toUtf8);

// GBK text to UTF-8 bytes; the text ends at its first zero byte.
std::string GbkToUtf8(std::string_view gbk);

// The host of a URL in lower case ("http://" assumed when no scheme is given),
// with its ":port" when keepPort. A bracketed IPv6 address keeps its brackets
// and its colons.
std::string UrlHost(std::string_view url, bool keepPort);

// The port written in the URL, else 443 for "https" and 80 otherwise. A port
// text that is not a number gives 0.
int UrlPort(std::string_view url);

// Everything from the first "/" after the host, query included, in the URL's
// own letter case; "/" when the URL has no path.
std::string UrlPath(std::string_view url);

// The text after the first occurrence of start and before the next occurrence
// of end; empty when either is missing. In both markers the word "#引号"
// stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view start, std::string_view end);

// The marker word for a double quote, in GBK.
inline constexpr std::string_view kQuoteWord = "#\xD2\xFD\xBA\xC5";

// Splits at every occurrence of separator, byte by byte: cookie lists and
// header blocks are ASCII, so a byte that would start a GBK character never
// hides a separator. Empty pieces are kept, the empty last one only when
// keepEmptyLast.
std::vector<std::string> SplitBytes(std::string_view text, std::string_view separator,
                                    bool keepEmptyLast);

// ASCII helpers shared by the cookie and header code.
std::string AsciiLower(std::string_view text);
size_t FindIgnoringCase(std::string_view text, std::string_view word, size_t from = 0);
std::string_view TrimBlanks(std::string_view text);

}  // namespace vinylo::client

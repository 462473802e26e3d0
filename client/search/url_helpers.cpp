#include "client/search/url_helpers.h"

#include <algorithm>

#include "protocol/gbk.h"

namespace vinylo::client {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSafeByte(unsigned char b) {
    return (b >= 0x2D && b <= 0x39 && b != 0x2F) || (b >= 0x41 && b <= 0x5A) ||
           (b >= 0x61 && b <= 0x7A);
}

std::string ReplaceQuoteWord(std::string_view marker) {
    std::string out;
    size_t from = 0;
    for (size_t at = marker.find(kQuoteWord); at != std::string_view::npos;
         at = marker.find(kQuoteWord, from)) {
        out.append(marker.substr(from, at - from));
        out.push_back('"');
        from = at + kQuoteWord.size();
    }
    out.append(marker.substr(from));
    return out;
}

// The host with its port, and where it starts in the URL itself (the URL's
// own letter case and offsets). Searching for the path from there, not from
// the start of the URL, keeps a host such as "t" from matching inside "http".
struct HostSpan {
    std::string host;
    size_t start = 0;
};

HostSpan FindHost(std::string_view url) {
    std::string t = AsciiLower(url);
    if (t.empty() || t.back() != '/')
        t.push_back('/');
    std::string_view marker = "https://";
    size_t markerAt = 0;
    size_t shift = 0;  // bytes put in front of the URL
    if (t.compare(0, marker.size(), marker) != 0) {
        marker = "http://";
        markerAt = t.find(marker);
        if (markerAt == std::string::npos) {
            t.insert(0, marker);
            markerAt = 0;
            shift = marker.size();
        }
    }
    const size_t begin = markerAt + marker.size();
    const size_t end = t.find('/', begin);
    HostSpan span;
    span.host = t.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    span.start = begin - shift;
    return span;
}

// Where the port's colon is: after the closing bracket of an IPv6 address.
size_t PortColon(std::string_view host, bool last) {
    size_t from = 0;
    if (!host.empty() && host.front() == '[') {
        const size_t close = host.find(']');
        if (close == std::string_view::npos)
            return std::string_view::npos;
        from = close + 1;
    }
    const size_t colon = last ? host.rfind(':') : host.find(':', from);
    return colon != std::string_view::npos && colon >= from ? colon : std::string_view::npos;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

size_t FindIgnoringCase(std::string_view text, std::string_view word, size_t from) {
    if (word.size() > text.size())
        return std::string_view::npos;
    for (size_t i = from; i + word.size() <= text.size(); ++i) {
        bool same = true;
        for (size_t k = 0; k < word.size() && same; ++k) {
            same = LowerAscii(text[i + k]) == LowerAscii(word[k]);
        }
        if (same)
            return i;
    }
    return std::string_view::npos;
}

std::vector<std::string> SplitBytes(std::string_view text, std::string_view separator,
                                    bool keepEmptyLast) {
    std::vector<std::string> pieces;
    if (text.empty() || separator.empty()) {
        if (!text.empty())
            pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    if (start < text.size() || keepEmptyLast)
        pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string UrlEncode(std::string_view text, bool keepSafe, bool toUtf8) {
    if (text.empty())
        return {};
    const std::string bytes = toUtf8 ? GbkToUtf8(text) : std::string(text);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (keepSafe && IsSafeByte(b)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        }
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk) {
    return protocol::GbkToUtf8(protocol::TextUpToZero(gbk));
}

std::string UrlHost(std::string_view url, bool keepPort) {
    std::string host = FindHost(url).host;
    if (!keepPort) {
        const size_t colon = PortColon(host, false);
        if (colon != std::string::npos)
            host.resize(colon);
    }
    return host;
}

int UrlPort(std::string_view url) {
    const std::string host = UrlHost(url, true);
    const size_t colon = PortColon(host, true);
    if (colon == std::string::npos) {
        return AsciiLower(url.substr(0, 5)) == "https" ? 443 : 80;
    }
    // The leading digits, as an integer conversion reads them; anything past
    // the largest port is out of range all the same.
    int port = 0;
    for (size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
        port = std::min(port * 10 + (host[i] - '0'), 1'000'000);
    }
    return port;
}

std::string UrlPath(std::string_view url) {
    const size_t slash = url.find('/', FindHost(url).start);
    return slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
}

std::string TextBetween(std::string_view text, std::string_view start, std::string_view end) {
    const std::string startMarker = ReplaceQuoteWord(start);
    const std::string endMarker = ReplaceQuoteWord(end);
    const size_t at = text.find(startMarker);
    if (at == std::string_view::npos)
        return {};
    const size_t from = at + startMarker.size();
    const size_t until = text.find(endMarker, from);
    if (until == std::string_view::npos)
        return {};
    return std::string(text.substr(from, until - from));
}

}  // namespace vinylo::client

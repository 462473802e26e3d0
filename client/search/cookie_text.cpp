#include "client/search/cookie_text.h"

#include <algorithm>
#include <vector>

#include "client/search/url_helpers.h"

namespace vinylo::client {
namespace {

constexpr std::string_view kSetCookie = "Set-Cookie";
constexpr std::string_view kDeletedSuffix = "=deleted";

std::string WithoutBlanks(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
    return out;
}

std::string_view CookieName(std::string_view entry) {
    return TrimBlanks(entry.substr(0, entry.find('=')));
}

std::string JoinEntries(const std::vector<std::string>& entries) {
    std::string out;
    for (const auto& entry : entries) {
        if (!out.empty())
            out += "; ";
        out += entry;
    }
    return out;
}

}  // namespace

std::string NormalizeSetCookie(std::string_view rawHeaders) {
    std::string out(rawHeaders);
    for (size_t at = FindIgnoringCase(out, kSetCookie); at != std::string::npos;
         at = FindIgnoringCase(out, kSetCookie, at + kSetCookie.size())) {
        out.replace(at, kSetCookie.size(), kSetCookie);
    }
    return out;
}

std::string CookiesFromHeaders(std::string_view rawHeaders) {
    std::vector<std::string> cookies;
    for (const auto& line : SplitBytes(rawHeaders, "\r\n", true)) {
        const std::string_view view(line);
        const size_t colon = view.find(':');
        if (colon == std::string_view::npos)
            continue;
        if (AsciiLower(TrimBlanks(view.substr(0, colon))) != "set-cookie")
            continue;
        const std::string_view value = view.substr(colon + 1);
        const std::string_view cookie = TrimBlanks(value.substr(0, value.find(';')));
        if (!cookie.empty())
            cookies.emplace_back(cookie);
    }
    return JoinEntries(cookies);
}

std::string MergeCookies(std::string& sent, std::string& returned) {
    sent = WithoutBlanks(sent);
    returned = WithoutBlanks(returned);
    std::vector<std::string> merged = SplitBytes(returned, ";", false);
    for (const auto& entry : SplitBytes(sent, ";", false)) {
        const std::string_view name = CookieName(entry);
        const bool known = std::any_of(merged.begin(), merged.end(),
                                       [&](const std::string& e) { return CookieName(e) == name; });
        if (!known)
            merged.push_back(entry);
    }
    std::vector<std::string> kept;
    for (const auto& entry : merged) {
        const bool deleted = entry.size() >= kDeletedSuffix.size() &&
                             entry.compare(entry.size() - kDeletedSuffix.size(),
                                           kDeletedSuffix.size(), kDeletedSuffix) == 0;
        // An empty entry (";;" in a list) is no cookie at all.
        if (entry.empty() || deleted)
            continue;
        if (std::find(kept.begin(), kept.end(), entry) == kept.end())
            kept.push_back(entry);
    }
    sent = JoinEntries(kept);
    return sent;
}

}  // namespace vinylo::client

// The URL, cookie and header helpers on any bytes: nothing reads past its
// input, encoding is reversible, a path starts with "/", merged cookies hold
// no blanks, no deleted cookie and no duplicate, an agent is one line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "client/search/cookie_text.h"
#include "client/search/url_helpers.h"
#include "client/search/web_request.h"

using namespace vinylo::client;

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    std::abort();
}

std::string PercentDecode(std::string_view encoded) {
    std::string out;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            out.push_back(encoded[i]);
            continue;
        }
        if (i + 2 >= encoded.size())
            std::abort();
        out.push_back(static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2])));
        i += 2;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    for (const bool keepPort : {false, true})
        UrlHost(input, keepPort);
    UrlPort(input);
    if (UrlPath(input).front() != '/')
        std::abort();

    for (const bool keepSafe : {false, true}) {
        const std::string raw = UrlEncode(input, keepSafe, false);
        if (PercentDecode(raw) != input)
            std::abort();
        UrlEncode(input, keepSafe, true);
    }

    const size_t cut = size / 2;
    const std::string_view left = input.substr(0, cut);
    const std::string_view right = input.substr(cut);
    const std::string between = TextBetween(input, left.substr(0, 3), right.substr(0, 2));
    if (between.size() > input.size())
        std::abort();

    std::string sent(left);
    std::string returned(right);
    const std::string merged = MergeCookies(sent, returned);
    if (merged != sent)
        std::abort();
    std::set<std::string> seen;
    size_t start = 0;
    while (!merged.empty() && start <= merged.size()) {
        const size_t end = std::min(merged.find("; ", start), merged.size());
        const std::string entry = merged.substr(start, end - start);
        start = end + 2;
        if (entry.empty() || entry.find(' ') != std::string::npos)
            std::abort();
        if (entry.size() >= 8 && entry.compare(entry.size() - 8, 8, "=deleted") == 0)
            std::abort();
        if (!seen.insert(entry).second)
            std::abort();
    }

    CookiesFromHeaders(NormalizeSetCookie(input));
    const std::string agent = AgentString(input);
    if (agent.find_first_of("\r\n") != std::string::npos)
        std::abort();
    const std::string block = CompleteHeaderBlock(left, right, static_cast<int>(size % 9), right);
    if (block.find("Accept") == std::string::npos)
        std::abort();
    return 0;
}

#include "client/search/web_request.h"

#include <algorithm>
#include <array>

#include "client/search/cookie_text.h"
#include "client/search/url_helpers.h"

namespace vinylo::client {
namespace {

constexpr std::array<std::string_view, 8> kVerbs = {"GET",     "POST",   "HEAD",  "PUT",
                                                    "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kPost = 1;

int NormalMethod(int method) {
    return (method < 0 || method > 7) ? 0 : method;
}

bool HasControlBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

std::string_view VerbOf(int method) {
    return kVerbs[static_cast<size_t>(NormalMethod(method))];
}

std::string AgentString(std::string_view headerBlock) {
    if (FindIgnoringCase(headerBlock, "User-Agent:") == std::string_view::npos) {
        return platform::kDefaultAgent;
    }
    std::string agent(
        TrimBlanks(TextBetween(std::string(headerBlock) + "\r\n", "User-Agent:", "\r\n")));
    if (agent.empty()) {
        // A "user-agent:" written in another case: the text after the first
        // colon of the block.
        const size_t colon = headerBlock.find(':');
        agent = TrimBlanks(headerBlock.substr(colon + 1));
    }
    // The agent is one header value: never let it run into the next line.
    return std::string(TrimBlanks(FirstLine(agent)));
}

std::string CompleteHeaderBlock(std::string_view headerBlock, std::string_view url, int method,
                                std::string_view sentCookies) {
    std::string block(headerBlock);
    const auto lacks = [&block](std::string_view word) {
        return block.find(word) == std::string::npos;
    };
    if (block.empty()) {
        block = "Accept: */*";
    } else if (lacks("Accept:")) {
        block += "\r\nAccept: */*";
    }
    if (lacks("Referer:"))
        block += "\r\nReferer: " + std::string(url);
    if (lacks("Accept-Language:"))
        block += "\r\nAccept-Language: zh-cn";
    if (NormalMethod(method) == kPost && lacks("Content-Type:")) {
        block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!sentCookies.empty()) {
        block += sentCookies.find("Cookie:") != std::string_view::npos
                     ? "\r\n" + std::string(sentCookies)
                     : "\r\nCookie: " + std::string(sentCookies);
    }
    return block;
}

std::string WebRequest(std::string_view url, WebRequestArgs& args) {
    const std::string lowerStart = AsciiLower(url.substr(0, 8));
    const bool secure = lowerStart == "https://";
    if ((!secure && lowerStart.compare(0, 7, "http://") != 0) || HasControlBytes(url))
        return {};
    const std::string host = UrlHost(url, false);
    const int port = UrlPort(url);
    if (host.empty() || port < 1 || port > 65535)
        return {};

    const int method = NormalMethod(args.method);
    const std::string agent = AgentString(args.headerBlock);
    args.headerBlock =
        CompleteHeaderBlock(args.headerBlock, url, method, args.sentCookies.value_or(""));
    if (method != 0 && args.byteBody.empty())
        args.byteBody = args.textBody;

    platform::HttpTransferRequest request;
    request.url =
        (secure ? "https://" : "http://") + host + ":" + std::to_string(port) + UrlPath(url);
    request.verb = std::string(VerbOf(method));
    request.headerLines = SplitBytes(args.headerBlock, "\r\n", true);
    if (method != 0)
        request.body = args.byteBody;
    request.agent = agent;
    request.proxy = args.proxy;
    request.followRedirects = !args.noRedirect;
    request.redirectToHttpsOnly = secure;
    platform::HttpTransferResult result = platform::RunHttpTransfer(request, args.limits);

    args.returnedHeaders = NormalizeSetCookie(result.rawHeaders);
    args.returnedCookies = CookiesFromHeaders(args.returnedHeaders);
    if (args.sentCookies.has_value() && args.mergeCookies) {
        args.returnedCookies = MergeCookies(*args.sentCookies, args.returnedCookies);
    }
    return result.completed ? std::move(result.body) : std::string();
}

}  // namespace vinylo::client

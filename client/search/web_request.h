#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http_transfer.h"

// The client's web-access routine: one HTTP or HTTPS request, its body back
// as bytes, with the raw answer headers and the cookies the answer sets.
namespace vinylo::client {

// A search endpoint answers within seconds; 4 MiB holds thousands of songs.
inline constexpr std::chrono::seconds kWebRequestTotalTimeout{20};
inline constexpr size_t kMaxWebAnswerBytes = 4u << 20;

inline const platform::HttpLimits kWebRequestLimits{
    .connectTimeout = platform::kConnectTimeout,
    .totalTimeout = kWebRequestTotalTimeout,
    .maxRedirects = platform::kMaxRedirects,
    .maxBodyBytes = kMaxWebAnswerBytes,
    .caFile = {},
};

// The parameters after the URL, in their designed order. A member left at its
// default counts as left out; for the sent cookies "left out" (nullopt) and
// "supplied" (even empty) differ. Members marked out are written by the call.
struct WebRequestArgs {
    int method = 0;                          // verb number, see VerbOf
    std::string textBody;                    // in
    std::optional<std::string> sentCookies;  // in and out: receives the merged list
    std::string returnedCookies;             // out: "a=1; b=2"
    std::string headerBlock;                 // in and out: receives the completed block
    std::string returnedHeaders;             // out: the raw answer header block
    bool noRedirect = false;                 // in
    std::string byteBody;                    // in and out: used instead of textBody when not empty
    std::string proxy;                       // in: "host:port"
    bool mergeCookies = true;                // in
    platform::HttpLimits limits = kWebRequestLimits;  // time, size and trust bounds
};

// Sends the request and returns the answer body (gzip and deflate already
// decoded); the status code is not examined. Empty bytes, and every out
// parameter left as passed, when no request can be made: a URL that does not
// start with "http://" or "https://", that has no host, a port outside 1 to
// 65535, or control characters. An exchange that fails later (no connection,
// a time-out, an answer past the size bound, a redirect to another scheme)
// gives empty bytes too. Keeps no state; safe on any thread.
std::string WebRequest(std::string_view url, WebRequestArgs& args);

// "GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT" for
// 0 to 7; any other number counts as 0.
std::string_view VerbOf(int method);

// The agent string the header block asks for: its User-Agent line, or the
// default agent when it has none. Always one line.
std::string AgentString(std::string_view headerBlock);

// The header block with the defaults added that it lacks: Accept, Referer
// (the URL), Accept-Language, for POST Content-Type, and the sent cookies.
std::string CompleteHeaderBlock(std::string_view headerBlock, std::string_view url, int method,
                                std::string_view sentCookies);

}  // namespace vinylo::client

#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One HTTP or HTTPS exchange over libcurl, with exact control of the request
// header lines and bounds on everything that comes from the network. Both the
// image downloads and the song search's web request go through it. Safe to
// call on any thread; it keeps no state between calls and never stores
// cookies.
namespace vinylo::platform {

// A host on the LAN or a normal web server answers a connect within a
// second; five leave room for a slow link. A few hops of redirect cover every
// real image or search host; more is a loop.
inline constexpr std::chrono::seconds kConnectTimeout{5};
inline constexpr long kMaxRedirects = 5;

// Bounds of one exchange. Anything that passes one of them fails the exchange.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout = kConnectTimeout;
    std::chrono::milliseconds totalTimeout{15000};
    long maxRedirects = kMaxRedirects;
    size_t maxBodyBytes = 8u << 20;  // after content decoding
    // A PEM file of the certificates to trust for https instead of the
    // system's store; empty: the system's store.
    std::string caFile;
};

// The raw response header block is bounded too: no real answer comes near it.
inline constexpr size_t kMaxResponseHeaderBytes = 256u << 10;

// The agent string of a request that names none.
inline constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

struct HttpTransferRequest {
    std::string url;  // http:// or https:// only; other schemes are refused
    std::string verb = "GET";
    // Sent in this order, each as given. Lines without a colon are no header
    // and are left out. Only the Host and Content-Length lines are added
    // when missing; the agent line too when agent is not empty.
    std::vector<std::string> headerLines;
    std::optional<std::string> body;  // not sent for GET and HEAD
    std::string agent;
    std::string
        proxy;  // "host:port" of an HTTP proxy; empty: direct, whatever the environment says
    bool followRedirects = true;
    bool redirectToHttpsOnly = false;  // a secure request never follows a redirect to plain http
    const std::atomic<bool>* cancel = nullptr;  // set from another thread: the exchange ends soon
};

struct HttpTransferResult {
    bool completed = false;  // the whole answer arrived within the bounds
    long status = 0;
    std::string body;        // content encoding (gzip, deflate) already decoded
    std::string rawHeaders;  // the final answer's status and header lines, each ending in CR LF,
                             // then the empty line
    std::string error;       // why the exchange did not complete
};

HttpTransferResult RunHttpTransfer(const HttpTransferRequest& request, const HttpLimits& limits);

}  // namespace vinylo::platform

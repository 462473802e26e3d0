#include "platform/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <string_view>

namespace vinylo::platform {
namespace {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string_view TrimmedName(std::string_view line) {
    std::string_view name = line.substr(0, line.find(':'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    return name;
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        const std::string_view n = TrimmedName(line);
        return line.find(':') != std::string::npos && n.size() == name.size() &&
               StartsWithIgnoringCase(n, name);
    });
}

// libcurl wants a URL without blanks or control bytes; a URL typed by a user
// or carried in a message may have them (and GBK bytes), so they go out
// percent-encoded, as a browser sends them.
std::string EscapeForCurl(std::string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char c : url) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F) {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// The header lines as libcurl sends them: each line exactly, a line with an
// empty value in curl's "Name;" form (a bare "Name:" would remove the header),
// and curl's own defaults switched off where the caller did not write them.
struct HeaderList {
    std::unique_ptr<curl_slist, ListDeleter> list;
    bool ok = true;

    void Add(const std::string& line) {
        curl_slist* next = curl_slist_append(list.get(), line.c_str());
        if (next == nullptr) {
            ok = false;
            return;
        }
        list.release();
        list.reset(next);
    }
};

HeaderList BuildHeaderList(const HttpTransferRequest& request) {
    HeaderList headers;
    std::vector<std::string> lines;
    for (const auto& given : request.headerLines) {
        // A line break inside a header line would start a new header.
        size_t start = 0;
        while (start <= given.size()) {
            const size_t end = given.find_first_of("\r\n", start);
            const std::string piece =
                given.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (piece.find(':') != std::string::npos && !TrimmedName(piece).empty()) {
                lines.push_back(piece);
            }
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    for (const auto& line : lines) {
        const size_t colon = line.find(':');
        const bool emptyValue = line.find_first_not_of(" \t", colon + 1) == std::string::npos;
        headers.Add(emptyValue ? std::string(TrimmedName(line)) + ";" : line);
    }
    // Defaults libcurl would add on its own.
    for (const std::string_view name :
         {"Accept", "Expect", "Content-Type", "Accept-Encoding", "Proxy-Connection"}) {
        if (!HasHeader(lines, name))
            headers.Add(std::string(name) + ":");
    }
    return headers;
}

struct Collector {
    const HttpTransferRequest* request = nullptr;
    const HttpLimits* limits = nullptr;
    std::string body;
    std::string headers;
    bool tooLarge = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* c = static_cast<Collector*>(user);
    const size_t n = size * count;
    if (c->body.size() + n > c->limits->maxBodyBytes) {
        c->tooLarge = true;
        return 0;  // ends the exchange
    }
    c->body.append(data, n);
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* c = static_cast<Collector*>(user);
    const size_t n = size * count;
    std::string_view line(data, n);
    // Each answer (a redirect, then the next) starts with its status line;
    // only the last one is kept.
    if (StartsWithIgnoringCase(line, "HTTP/"))
        c->headers.clear();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (c->headers.size() + line.size() + 2 > kMaxResponseHeaderBytes) {
        c->tooLarge = true;
        return 0;
    }
    c->headers.append(line);
    c->headers.append("\r\n");
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* c = static_cast<Collector*>(user);
    return (c->request->cancel != nullptr && c->request->cancel->load()) ? 1 : 0;
}

template <typename T>
bool Set(CURL* handle, CURLoption option, T value) {
    return curl_easy_setopt(handle, option, value) == CURLE_OK;
}

}  // namespace

HttpTransferResult RunHttpTransfer(const HttpTransferRequest& request, const HttpLimits& limits) {
    HttpTransferResult result;
    if (!StartsWithIgnoringCase(request.url, "http://") &&
        !StartsWithIgnoringCase(request.url, "https://")) {
        result.error = "only http and https URLs are fetched";
        return result;
    }
    InitCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        result.error = "no transfer handle";
        return result;
    }
    CURL* h = easy.get();
    HeaderList headers = BuildHeaderList(request);
    Collector collector;
    collector.request = &request;
    collector.limits = &limits;
    const std::string url = EscapeForCurl(request.url);
    const std::string proxy = request.proxy.empty() ? std::string() : "http://" + request.proxy;

    bool ok = headers.ok;
    ok = ok && Set(h, CURLOPT_URL, url.c_str());
    ok = ok && Set(h, CURLOPT_PROTOCOLS_STR, "http,https");
    ok = ok &&
         Set(h, CURLOPT_REDIR_PROTOCOLS_STR, request.redirectToHttpsOnly ? "https" : "http,https");
    ok = ok && Set(h, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    ok = ok && Set(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
    ok = ok && Set(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    ok = ok && Set(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    ok = ok && Set(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    ok = ok && Set(h, CURLOPT_NOSIGNAL, 1L);
    ok = ok && Set(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // Decode gzip and deflate answers; the Accept-Encoding line libcurl would
    // add for it is switched off in the header list unless the caller wrote one.
    ok = ok && Set(h, CURLOPT_ACCEPT_ENCODING, "");
    ok = ok && Set(h, CURLOPT_HTTPHEADER, headers.list.get());
    ok = ok && Set(h, CURLOPT_PROXY, proxy.c_str());
    ok = ok && (proxy.empty() || Set(h, CURLOPT_NOPROXY, ""));
    ok = ok && Set(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    ok = ok && (request.agent.empty() || Set(h, CURLOPT_USERAGENT, request.agent.c_str()));
    ok = ok && (limits.caFile.empty() || Set(h, CURLOPT_CAINFO, limits.caFile.c_str()));
    ok = ok && Set(h, CURLOPT_WRITEFUNCTION, OnBody);
    ok = ok && Set(h, CURLOPT_WRITEDATA, &collector);
    ok = ok && Set(h, CURLOPT_HEADERFUNCTION, OnHeader);
    ok = ok && Set(h, CURLOPT_HEADERDATA, &collector);
    ok = ok && Set(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    ok = ok && Set(h, CURLOPT_XFERINFODATA, &collector);
    ok = ok && Set(h, CURLOPT_NOPROGRESS, 0L);

    static const std::string kNoBody;
    if (request.verb == "GET") {
        ok = ok && Set(h, CURLOPT_HTTPGET, 1L);
    } else if (request.verb == "HEAD") {
        ok = ok && Set(h, CURLOPT_NOBODY, 1L);
    } else {
        // A POST always carries a body, if only an empty one; another verb
        // only when it was given one.
        if (request.body.has_value() || request.verb == "POST") {
            const std::string& body = request.body.has_value() ? *request.body : kNoBody;
            ok = ok && Set(h, CURLOPT_POST, 1L);
            ok = ok && Set(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            ok = ok && Set(h, CURLOPT_POSTFIELDS, body.data());
        }
        if (request.verb != "POST")
            ok = ok && Set(h, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
    if (!ok) {
        result.error = "the transfer could not be set up";
        return result;
    }

    const CURLcode code = curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    result.status = status;
    result.rawHeaders = std::move(collector.headers);
    if (code == CURLE_OK) {
        result.completed = true;
        result.body = std::move(collector.body);
    } else {
        result.error = collector.tooLarge ? "the answer is too large" : curl_easy_strerror(code);
    }
    return result;
}

}  // namespace vinylo::platform

#include "client/search/web_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>

#include "tests/support/loopback_http_server.h"

namespace vinylo::client {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vinylo::testing::HttpRequest;
using vinylo::testing::HttpResponse;
using vinylo::testing::LoopbackHttpServer;
using namespace std::chrono_literals;

HttpResponse Answer(std::string body, std::vector<std::pair<std::string, std::string>> headers = {},
                    int status = 200) {
    HttpResponse r;
    r.status = status;
    r.reason = status == 200 ? "OK" : "Other";
    r.body = std::move(body);
    r.headers = std::move(headers);
    return r;
}

HttpResponse Redirect(std::string location) {
    return Answer("moved", {{"Location", std::move(location)}}, 302);
}

// The request's header lines without those libcurl writes itself.
std::vector<std::string> CallerLines(const HttpRequest& request) {
    std::vector<std::string> lines;
    for (const auto& line : request.headerLines) {
        if (line.rfind("Host:", 0) == 0 || line.rfind("Content-Length:", 0) == 0 ||
            line.rfind("User-Agent:", 0) == 0) {
            continue;
        }
        lines.push_back(line);
    }
    return lines;
}

// gzip (windowBits 31) or zlib (15) stream of data.
std::string Compress(const std::string& data, int windowBits) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

platform::HttpLimits ShortLimits() {
    platform::HttpLimits limits = kWebRequestLimits;
    limits.totalTimeout = 1s;
    return limits;
}

TEST(WebRequestTest, EmptyBlockWithPostGetsTheDefaultsInOrder) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("answer"); });
    const std::string url = server.Url("/music/so/");
    WebRequestArgs args;
    args.method = 1;
    args.textBody = "input=a%20b&page=1";
    EXPECT_EQ(WebRequest(url, args), "answer");

    ASSERT_EQ(server.RequestCount(), 1u);
    const HttpRequest sent = server.Requests()[0];
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.target, "/music/so/");
    EXPECT_THAT(CallerLines(sent),
                ElementsAre("Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                            "Content-Type: application/x-www-form-urlencoded"));
    EXPECT_EQ(sent.Header("User-Agent"), platform::kDefaultAgent);
    EXPECT_EQ(sent.body, "input=a%20b&page=1");
    EXPECT_EQ(args.headerBlock, "Accept: */*\r\nReferer: " + url +
                                    "\r\nAccept-Language: zh-cn\r\n"
                                    "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(args.byteBody, args.textBody);  // the text body's bytes are stored back
    EXPECT_EQ(args.returnedHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(args.returnedHeaders.substr(args.returnedHeaders.size() - 4), "\r\n\r\n");
}

TEST(WebRequestTest, CompleteBlockGoesOutUnchangedAndGzipAnswerIsDecoded) {
    const std::string json = R"({"data":[{"title":"a"}]})";
    LoopbackHttpServer server([&](const HttpRequest&) {
        return Answer(Compress(json, 31), {{"Content-Encoding", "gzip"}});
    });
    const std::string body = "input=x&filter=name&type=qq&page=1";
    const std::string agent =
        "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/38.0.2125.122 Safari/537.36 SE 2.X MetaSr 1.0";
    const std::vector<std::string> lines = {
        "Host: 127.0.0.1",
        "Connection: keep-alive",
        "Content-Length: " + std::to_string(body.size()),
        "Accept: application/json, text/javascript, */*; q=0.01",
        "Origin: http://127.0.0.1",
        "X-Requested-With: XMLHttpRequest",
        "User-Agent: " + agent,
        "Content-Type: application/x-www-form-urlencoded; charset=UTF-8",
        "Referer: http://127.0.0.1/music/so/",
        "Accept-Encoding: gzip,deflate",
        "Accept-Language: zh-CN,zh;q=0.8",
    };
    std::string block;
    for (const auto& line : lines)
        block += (block.empty() ? "" : "\r\n") + line;

    WebRequestArgs args;
    args.method = 1;
    args.textBody = body;
    args.headerBlock = block;
    EXPECT_EQ(AgentString(block), agent);
    EXPECT_EQ(WebRequest(server.Url("/music/so/"), args), json);
    EXPECT_EQ(args.headerBlock, block);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].headerLines, lines);
    EXPECT_EQ(server.Requests()[0].body, body);
    EXPECT_NE(args.returnedHeaders.find("Content-Encoding: gzip"), std::string::npos);
}

TEST(WebRequestTest, EncodedAnswerIsDecodedWithoutAddingAnAcceptEncodingLine) {
    const std::string text(5000, 'x');
    LoopbackHttpServer server([&](const HttpRequest& r) {
        return r.target == "/gzip" ? Answer(Compress(text, 31), {{"Content-Encoding", "gzip"}})
                                   : Answer(Compress(text, 15), {{"Content-Encoding", "deflate"}});
    });
    for (const char* path : {"/gzip", "/deflate"}) {
        WebRequestArgs args;
        EXPECT_EQ(WebRequest(server.Url(path), args), text) << path;
    }
    for (const auto& request : server.Requests()) {
        EXPECT_EQ(request.Header("Accept-Encoding"), "");
        EXPECT_THAT(CallerLines(request),
                    ElementsAre("Accept: */*", ::testing::StartsWith("Referer: "),
                                "Accept-Language: zh-cn"));
    }
}

TEST(WebRequestTest, AgentRule) {
    EXPECT_EQ(AgentString(""), platform::kDefaultAgent);
    EXPECT_EQ(AgentString("Accept: */*"), platform::kDefaultAgent);
    EXPECT_EQ(AgentString("Accept: */*\r\nUser-Agent:  Foo/1 \r\nX: y"), "Foo/1");
    // Another letter case: the text after the first colon, never past its line.
    EXPECT_EQ(AgentString("user-agent: Bar/2\r\nAccept: */*"), "Bar/2");
}

TEST(WebRequestTest, BlockCompletionIsCaseSensitiveAndAddsTheCookieLine) {
    EXPECT_EQ(CompleteHeaderBlock("accept: x", "http://h/", 0, ""),
              "accept: x\r\nAccept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn");
    EXPECT_EQ(CompleteHeaderBlock("Accept: x\r\nReferer: r\r\nAccept-Language: l", "u", 1, "a=1"),
              "Accept: x\r\nReferer: r\r\nAccept-Language: l\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1");
    EXPECT_EQ(
        CompleteHeaderBlock("Accept: x\r\nReferer: r\r\nAccept-Language: l", "u", 3, "Cookie: a=1"),
        "Accept: x\r\nReferer: r\r\nAccept-Language: l\r\nCookie: a=1");
}

TEST(WebRequestTest, VerbsByNumber) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("ok"); });
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"},  {4, "OPTIONS"},
        {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {-1, "GET"}, {8, "GET"}};
    for (const auto& [method, verb] : cases) {
        WebRequestArgs args;
        args.method = method;
        args.textBody = "b=1";
        WebRequest(server.Url("/v"), args);
        const auto requests = server.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().method, verb) << method;
        const bool carriesBody = verb != "GET" && verb != "HEAD";
        EXPECT_EQ(requests.back().body, carriesBody ? "b=1" : "") << method;
        EXPECT_EQ(args.byteBody, verb == "GET" ? "" : "b=1") << method;
    }
}

TEST(WebRequestTest, ByteBodyIsSentInsteadOfTheTextBody) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("ok"); });
    WebRequestArgs args;
    args.method = 3;
    args.textBody = "text";
    args.byteBody = std::string("\x00\x01\xff", 3);
    WebRequest(server.Url("/put"), args);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].body, std::string("\x00\x01\xff", 3));
}

TEST(WebRequestTest, CookiesSentReturnedAndMerged) {
    LoopbackHttpServer server([](const HttpRequest&) {
        return Answer("ok", {{"set-cookie", "a=1; path=/"}, {"Set-Cookie", "b=2"}});
    });
    {
        WebRequestArgs args;  // no cookies supplied
        WebRequest(server.Url("/"), args);
        EXPECT_EQ(args.returnedCookies, "a=1; b=2");
        EXPECT_FALSE(args.sentCookies.has_value());
        EXPECT_NE(args.returnedHeaders.find("Set-Cookie: a=1; path=/\r\n"), std::string::npos);
        EXPECT_EQ(args.returnedHeaders.find("set-cookie"), std::string::npos);
    }
    {
        WebRequestArgs args;
        args.sentCookies = "a=0; c=3";
        WebRequest(server.Url("/"), args);
        EXPECT_EQ(args.returnedCookies, "a=1; b=2; c=3");
        EXPECT_EQ(args.sentCookies, "a=1; b=2; c=3");
    }
    {
        WebRequestArgs args;
        args.sentCookies = "c=3";
        args.mergeCookies = false;
        WebRequest(server.Url("/"), args);
        EXPECT_EQ(args.returnedCookies, "a=1; b=2");
        EXPECT_EQ(args.sentCookies, "c=3");
    }
    {
        WebRequestArgs args;
        args.sentCookies = "";  // supplied, empty: receives the returned cookies
        WebRequest(server.Url("/"), args);
        EXPECT_EQ(args.sentCookies, "a=1; b=2");
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    // Nothing is kept between calls: only the cookies the caller passes go out.
    EXPECT_EQ(requests[0].Header("Cookie"), "");
    EXPECT_EQ(requests[1].Header("Cookie"), "a=0; c=3");
    EXPECT_EQ(requests[2].Header("Cookie"), "c=3");
    EXPECT_EQ(requests[3].Header("Cookie"), "");
}

TEST(WebRequestTest, RedirectsFollowedUnlessNoRedirect) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        return r.target == "/old" ? Redirect("/new") : Answer("new place");
    });
    WebRequestArgs follow;
    EXPECT_EQ(WebRequest(server.Url("/old"), follow), "new place");
    EXPECT_EQ(follow.returnedHeaders.rfind("HTTP/1.1 200", 0), 0u);  // the final answer's

    WebRequestArgs stay;
    stay.noRedirect = true;
    EXPECT_EQ(WebRequest(server.Url("/old"), stay), "moved");
    EXPECT_EQ(stay.returnedHeaders.rfind("HTTP/1.1 302", 0), 0u);
    EXPECT_NE(stay.returnedHeaders.find("Location: /new\r\n"), std::string::npos);
    EXPECT_EQ(server.RequestCount(), 3u);
}

TEST(WebRequestTest, RedirectsToOtherSchemesAndLoopsAreRefused) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        if (r.target == "/file")
            return Redirect("file:///etc/hostname");
        if (r.target == "/ftp")
            return Redirect("ftp://127.0.0.1/x");
        return Redirect("/loop");
    });
    for (const char* path : {"/file", "/ftp", "/loop"}) {
        WebRequestArgs args;
        EXPECT_EQ(WebRequest(server.Url(path), args), "") << path;
    }
    // The loop stops at the redirect limit: the first request and five more.
    EXPECT_EQ(server.RequestCount(), 2u + 1u + static_cast<size_t>(platform::kMaxRedirects));
}

TEST(WebRequestTest, ErrorPagesAreReturnedLikeAnyBody) {
    LoopbackHttpServer server(
        [](const HttpRequest&) { return Answer("<html>gone</html>", {}, 404); });
    WebRequestArgs args;
    EXPECT_EQ(WebRequest(server.Url("/"), args), "<html>gone</html>");
}

TEST(WebRequestTest, ServerThatNeverAnswersTimesOut) {
    LoopbackHttpServer server([](const HttpRequest&) {
        HttpResponse r;
        r.neverAnswer = true;
        return r;
    });
    WebRequestArgs args;
    args.limits = ShortLimits();
    EXPECT_EQ(WebRequest(server.Url("/"), args), "");
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(WebRequestTest, AnswersPastTheSizeBoundAreRefused) {
    const std::string big(64 * 1024, 'z');
    LoopbackHttpServer server([&](const HttpRequest& r) {
        if (r.target == "/plain")
            return Answer(big);
        if (r.target == "/unsized") {
            HttpResponse unsized = Answer(big);
            unsized.addContentLength = false;  // ends with the connection
            return unsized;
        }
        return Answer(Compress(big, 31), {{"Content-Encoding", "gzip"}});  // small on the wire
    });
    for (const char* path : {"/plain", "/unsized", "/bomb"}) {
        WebRequestArgs args;
        args.limits.maxBodyBytes = 16 * 1024;
        EXPECT_EQ(WebRequest(server.Url(path), args), "") << path;
    }
}

TEST(WebRequestTest, NoRequestForBadUrls) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("ok"); });
    const std::string port = std::to_string(server.port());
    const std::vector<std::string> urls = {
        "ftp://127.0.0.1:" + port + "/",
        "file:///etc/passwd",
        "127.0.0.1:" + port + "/",  // no scheme
        "http://",
        "http://127.0.0.1:0/",
        "http://127.0.0.1:70000/",
        "http://127.0.0.1:" + port + "/a\r\nX-Injected: 1",
    };
    for (const auto& url : urls) {
        WebRequestArgs args;
        args.headerBlock = "X: 1";
        args.returnedHeaders = "before";
        args.returnedCookies = "c=1";
        EXPECT_EQ(WebRequest(url, args), "") << url;
        EXPECT_EQ(args.headerBlock, "X: 1") << url;
        EXPECT_EQ(args.returnedHeaders, "before") << url;
        EXPECT_EQ(args.returnedCookies, "c=1") << url;
    }
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST(WebRequestTest, RefusedConnectionGivesEmptyBytes) {
    uint16_t port = 0;
    {
        LoopbackHttpServer gone([](const HttpRequest&) { return Answer("ok"); });
        port = gone.port();
    }
    WebRequestArgs args;
    EXPECT_EQ(WebRequest("http://127.0.0.1:" + std::to_string(port) + "/", args), "");
    EXPECT_EQ(args.returnedHeaders, "");
}

TEST(WebRequestTest, ProxyReceivesTheRequestForTheUrl) {
    LoopbackHttpServer proxy([](const HttpRequest&) { return Answer("via proxy"); });
    WebRequestArgs args;
    args.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    EXPECT_EQ(WebRequest("http://127.0.0.1:9/through", args), "via proxy");
    ASSERT_EQ(proxy.RequestCount(), 1u);
    EXPECT_EQ(proxy.Requests()[0].target, "http://127.0.0.1:9/through");
}

class WebRequestTlsTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    testing::TlsIdentity tls_ = testing::MakeTestCertificate(dir_.path().toStdString());
};

TEST_F(WebRequestTlsTest, HttpsWithTheTrustedTestCertificate) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("secret"); }, tls_);
    WebRequestArgs args;
    args.limits.caFile = tls_.certFile;
    EXPECT_EQ(WebRequest(server.Url("/s"), args), "secret");
    EXPECT_EQ(args.returnedHeaders.rfind("HTTP/1.1 200", 0), 0u);
}

TEST_F(WebRequestTlsTest, UntrustedCertificateIsRefused) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer("secret"); }, tls_);
    WebRequestArgs args;  // the system's store does not know the test certificate
    EXPECT_EQ(WebRequest(server.Url("/s"), args), "");
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(WebRequestTlsTest, SecureRequestDoesNotFollowARedirectToPlainHttp) {
    LoopbackHttpServer plain([](const HttpRequest&) { return Answer("plain"); });
    LoopbackHttpServer server([&](const HttpRequest&) { return Redirect(plain.Url("/p")); }, tls_);
    WebRequestArgs args;
    args.limits.caFile = tls_.certFile;
    EXPECT_EQ(WebRequest(server.Url("/s"), args), "");
    EXPECT_EQ(plain.RequestCount(), 0u);
}

}  // namespace
}  // namespace vinylo::client

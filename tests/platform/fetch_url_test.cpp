#include "platform/fetch_url.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/loopback_http_server.h"

namespace vinylo::platform {
namespace {

using vinylo::testing::HttpRequest;
using vinylo::testing::HttpResponse;
using vinylo::testing::LoopbackHttpServer;
using namespace std::chrono_literals;

HttpResponse Answer(int status, std::string body, std::string location = {}) {
    HttpResponse r;
    r.status = status;
    r.reason = "Reason";
    r.body = std::move(body);
    if (!location.empty())
        r.headers.push_back({"Location", std::move(location)});
    return r;
}

TEST(FetchUrlTest, ReturnsTheWholeBodyOfASuccessfulGet) {
    const std::string body(300 * 1024, 'p');
    LoopbackHttpServer server([&](const HttpRequest&) { return Answer(200, body); });
    EXPECT_EQ(FetchUrl(server.Url("/avatar.png")).toStdString(), body);
    ASSERT_EQ(server.RequestCount(), 1u);
    const HttpRequest sent = server.Requests()[0];
    EXPECT_EQ(sent.method, "GET");
    EXPECT_EQ(sent.Header("Accept"), "*/*");
    EXPECT_EQ(sent.Header("User-Agent"), kDefaultAgent);
    EXPECT_EQ(sent.Header("Cookie"), "");
}

TEST(FetchUrlTest, UrlWithBlanksAndGbkBytesIsSentPercentEncoded) {
    LoopbackHttpServer server([](const HttpRequest&) { return Answer(200, "x"); });
    EXPECT_EQ(FetchUrl(server.Url("/a b/\xB5\xE3.png")), QByteArray("x"));
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/a%20b/%B5%E3.png");
}

TEST(FetchUrlTest, FailuresGiveEmptyBytes) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        if (r.target == "/missing")
            return Answer(404, "<html>not found</html>");
        if (r.target == "/error")
            return Answer(500, "oops");
        if (r.target == "/to-file")
            return Answer(302, "", "file:///etc/hostname");
        if (r.target == "/moved")
            return Answer(301, "", "/final");
        if (r.target == "/big")
            return Answer(200, std::string(kMaxImageBytes + 1, 'b'));
        HttpResponse silent;
        silent.neverAnswer = r.target == "/silent";
        silent.closeWithoutAnswer = r.target == "/hangup";
        silent.body = "final";
        return silent;
    });
    HttpLimits limits = kImageFetchLimits;
    limits.totalTimeout = 1s;
    EXPECT_EQ(FetchUrl(server.Url("/moved"), limits), QByteArray("final"));
    for (const char* path : {"/missing", "/error", "/to-file", "/big", "/silent", "/hangup"}) {
        EXPECT_TRUE(FetchUrl(server.Url(path), limits).isEmpty()) << path;
    }
    const size_t answered = server.RequestCount();
    for (const std::string url :
         {"file:///etc/hostname", "ftp://127.0.0.1/x", "gopher://127.0.0.1/", "", "http://"}) {
        EXPECT_TRUE(FetchUrl(url).isEmpty()) << url;
    }
    EXPECT_EQ(server.RequestCount(), answered);
}

TEST(FetchUrlTest, CancelEndsADownloadEarly) {
    LoopbackHttpServer server([](const HttpRequest&) {
        HttpResponse r;
        r.neverAnswer = true;
        return r;
    });
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(FetchUrl(server.Url("/"), kImageFetchLimits, &cancel).isEmpty());
}

TEST(FetchUrlTest, HttpsWithTheTrustedTestCertificate) {
    QTemporaryDir dir;
    const auto tls = testing::MakeTestCertificate(dir.path().toStdString());
    LoopbackHttpServer server([](const HttpRequest&) { return Answer(200, "secure picture"); },
                              tls);
    HttpLimits limits = kImageFetchLimits;
    limits.caFile = tls.certFile;
    EXPECT_EQ(FetchUrl(server.Url("/p.png"), limits), QByteArray("secure picture"));
    EXPECT_TRUE(FetchUrl(server.Url("/p.png")).isEmpty());  // not trusted by the system
}

}  // namespace
}  // namespace vinylo::platform

#include "client/search/url_helpers.h"

#include <gtest/gtest.h>

#include "protocol/gbk.h"

namespace vinylo::client {
namespace {

struct UrlCase {
    const char* url;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
};

class UrlSplitTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlSplitTest, SplitsHostPortAndPath) {
    const UrlCase& c = GetParam();
    EXPECT_EQ(UrlHost(c.url, false), c.host);
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, UrlSplitTest,
    ::testing::Values(UrlCase{"https://Music.LAN:8443/A/b?c=1", "music.lan", "music.lan:8443", 8443,
                              "/A/b?c=1"},
                      UrlCase{"http://srv.lan", "srv.lan", "srv.lan", 80, "/"},
                      UrlCase{"HTTPS://Srv.Lan/X", "srv.lan", "srv.lan", 443, "/X"},
                      UrlCase{"https://srv.lan", "srv.lan", "srv.lan", 443, "/"},
                      // No scheme: http is assumed.
                      UrlCase{"srv.lan:81/a/b", "srv.lan", "srv.lan:81", 81, "/a/b"},
                      // A host that also occurs inside the scheme still finds its own path.
                      UrlCase{"http://t/x/y", "t", "t", 80, "/x/y"},
                      UrlCase{"http://tp:8000/q", "tp", "tp:8000", 8000, "/q"},
                      UrlCase{"http://[::1]:8080/v6", "[::1]", "[::1]:8080", 8080, "/v6"},
                      UrlCase{"http://[::1]/v6", "[::1]", "[::1]", 80, "/v6"},
                      UrlCase{"http://h:abc/", "h", "h:abc", 0, "/"},
                      UrlCase{"http://127.0.0.1:800/music/so/", "127.0.0.1", "127.0.0.1:800", 800,
                              "/music/so/"}));

struct EncodeCase {
    std::string text;
    bool keepSafe;
    bool toUtf8;
    const char* encoded;
};

TEST(UrlEncodeTest, EncodesEveryUnsafeByte) {
    const std::string zhong = protocol::Utf8ToGbk("中");  // D6 D0 in GBK, E4 B8 AD in UTF-8
    const EncodeCase cases[] = {
        {"a b", true, true, "a%20b"},
        {"ab", false, false, "%61%62"},
        {"", true, true, ""},
        {"Az-.09/_~*+", true, false, "Az-.09%2F%5F%7E%2A%2B"},
        {zhong, true, true, "%E4%B8%AD"},
        {zhong, true, false, "%D6%D0"},
        {std::string("\x01\xff", 2), true, false, "%01%FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlEncode(c.text, c.keepSafe, c.toUtf8), c.encoded) << c.text;
    }
}

TEST(GbkToUtf8Test, EndsAtTheFirstZeroByte) {
    const std::string text = protocol::Utf8ToGbk("点歌") + std::string("\0tail", 5);
    EXPECT_EQ(GbkToUtf8(text), "点歌");
}

TEST(TextBetweenTest, TakesTheTextBetweenTheFirstStartAndTheNextEnd) {
    EXPECT_EQ(TextBetween("a<b>c<d>", "<", ">"), "b");
    EXPECT_EQ(TextBetween("x>a<b", "<", ">"), "");  // no end after the start
    EXPECT_EQ(TextBetween("abc", "<", ">"), "");
    EXPECT_EQ(TextBetween("abc", "a", "z"), "");
    EXPECT_EQ(TextBetween("<>", "<", ">"), "");
}

TEST(TextBetweenTest, QuoteWordStandsForADoubleQuote) {
    EXPECT_EQ(kQuoteWord, protocol::Utf8ToGbk("#引号"));
    const std::string q(kQuoteWord);
    const std::string start = q + "url" + q + ":" + q;
    EXPECT_EQ(TextBetween(R"({"url":"http://x/a.mp3","pic":""})", start, kQuoteWord),
              "http://x/a.mp3");
}

}  // namespace
}  // namespace vinylo::client

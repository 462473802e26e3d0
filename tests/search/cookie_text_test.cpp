#include "client/search/cookie_text.h"

#include <gtest/gtest.h>

namespace vinylo::client {
namespace {

TEST(MergeCookiesTest, ReturnedValuesWinAndDeletedOnesGo) {
    std::string sent = "a=1; c=3";
    std::string returned = "a=9; b=deleted";
    EXPECT_EQ(MergeCookies(sent, returned), "a=9; c=3");
    EXPECT_EQ(sent, "a=9; c=3");
    EXPECT_EQ(returned, "a=9;b=deleted");  // blanks removed
}

TEST(MergeCookiesTest, Table) {
    struct Case {
        const char* sent;
        const char* returned;
        const char* merged;
    };
    const Case cases[] = {
        {"", "", ""},
        {"", "x=1", "x=1"},
        {"a=1", "", "a=1"},
        {" a = 1 ", "b=2", "b=2; a=1"},
        {"a=1;a=1", "", "a=1"},          // exact duplicates once
        {"a=1;;b=2", "", "a=1; b=2"},    // an empty entry is no cookie
        {"flag", "flag=on", "flag=on"},  // a bare name counts as that name
        {"s=deleted", "t=2", "t=2"},
        {"g=\xC5;h=1", "",
         "g=\xC5; h=1"},  // a byte that starts a GBK character does not eat the ";"
    };
    for (const auto& c : cases) {
        std::string sent = c.sent;
        std::string returned = c.returned;
        EXPECT_EQ(MergeCookies(sent, returned), c.merged) << c.sent << " + " << c.returned;
    }
}

TEST(CookiesFromHeadersTest, TakesNameAndValueOfEverySetCookieLine) {
    const std::string raw = NormalizeSetCookie(
        "HTTP/1.1 200 OK\r\n"
        "set-cookie: a=1; path=/\r\n"
        "Set-Cookie: b=2\r\n"
        "SET-COOKIE:c=3;HttpOnly\r\n"
        "X-Note: Set-Cookie: z=9\r\n"  // not a Set-Cookie header
        "Set-Cookie: ; path=/\r\n"     // an empty cookie
        "\r\n");
    EXPECT_NE(raw.find("Set-Cookie: a=1; path=/\r\n"), std::string::npos);
    EXPECT_NE(raw.find("Set-Cookie:c=3"), std::string::npos);
    EXPECT_EQ(CookiesFromHeaders(raw), "a=1; b=2; c=3");
    EXPECT_EQ(CookiesFromHeaders("HTTP/1.1 200 OK\r\n\r\n"), "");
}

}  // namespace
}  // namespace vinylo::client

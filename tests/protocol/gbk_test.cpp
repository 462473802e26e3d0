#include <gtest/gtest.h>

#include "protocol/gbk.h"

namespace vinylo::protocol {
namespace {

TEST(Gbk, KnownCharactersHaveTheirGbkBytes) {
    EXPECT_EQ(Utf8ToGbk("用户"), "\xD3\xC3\xBB\xA7");
    EXPECT_EQ(Utf8ToGbk("禁言"), "\xBD\xFB\xD1\xD4");
    EXPECT_EQ(Utf8ToGbk("abc|||1"), "abc|||1");
    EXPECT_EQ(GbkToUtf8("\xD3\xC3\xBB\xA7"), "用户");
}

TEST(Gbk, CharactersOutsideGbkSurviveTheRoundTrip) {
    // Emoji and rare ideographs are not in GBK; GB18030 carries them.
    for (const char* text : {"🎵 点歌", "𠀀", "Ünïcödé", "Привет"}) {
        EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text) << text;
    }
}

TEST(Gbk, BadBytesAreReplacedAndTheRestKept) {
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(GbkToUtf8("ab\xD3"), "ab\xEF\xBF\xBD");  // a character cut at the end
    EXPECT_EQ(Utf8ToGbk("a\xC3(b"), "a?(b");
}

TEST(Gbk, ReceivedTextEndsAtTheFirstZeroByte) {
    using namespace std::string_view_literals;
    EXPECT_EQ(TextUpToZero("ab\0cd"sv), "ab");
    EXPECT_EQ(TextUpToZero("abcd"sv), "abcd");
    EXPECT_EQ(TextUpToZero("\0"sv), "");
}

}  // namespace
}  // namespace vinylo::protocol

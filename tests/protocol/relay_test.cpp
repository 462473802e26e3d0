#include <gtest/gtest.h>

#include "protocol/client_messages.h"
#include "protocol/gbk.h"
#include "protocol/message.h"
#include "protocol/relay.h"

namespace vinylo::protocol {
namespace {

std::string ChatPayload(const ChatTextFields& f) {
    return ParseMessage(BuildChatText(f))->payload;
}

TEST(RelayChatText, CutsTheMarkersOutOfAWellFormedText) {
    const auto relay = RelayChatText(ChatPayload({"http://a/x.png", "bob", "192.168.9.25", "hi"}));
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->chatLinePayload, "http://a/x.pngouubob<192.168.9.25>hi");
    EXPECT_EQ(relay->nickname, "bob");
    EXPECT_EQ(relay->logHeader, "bob<192.168.9.25>");
    EXPECT_EQ(relay->logBody, "hi");
}

struct RelayCase {
    const char* name;
    ChatTextFields fields;
    std::string chatLinePayload;
    std::string nickname;
};

class RelayMarkers : public ::testing::TestWithParam<RelayCase> {};

// Values that carry a marker shift the pieces exactly as every server always
// has, so every client keeps showing the same thing.
TEST_P(RelayMarkers, ShiftThePieces) {
    const auto& c = GetParam();
    const auto relay = RelayChatText(ChatPayload(c.fields));
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->chatLinePayload, c.chatLinePayload);
    EXPECT_EQ(relay->nickname, c.nickname);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RelayMarkers,
    ::testing::Values(
        // B = Split(A1, "bq") cuts inside the nickname: the address is lost.
        RelayCase{"nickname_with_bq", {"av", "abqc", "1.2.3.4", "hi"}, "avouuachi", "a"},
        // Everything after an embedded "cjbjk" is lost.
        RelayCase{"text_with_cjbjk", {"av", "bob", "1.2.3.4", "xcjbjky"}, "avouubob<1.2.3.4>x",
                  "bob"},
        // A nickname with "tx%tx" is cut there.
        RelayCase{"nickname_with_avatar_marker", {"av", "btx%txc", "1.2.3.4", "hi"},
                  "avouub<1.2.3.4>hi", "b"},
        // An empty nickname is a value: it is relayed as empty.
        RelayCase{"empty_nickname", {"av", "", "1.2.3.4", "hi"}, "avouu<1.2.3.4>hi", ""},
        RelayCase{"gbk_text", {"av", Utf8ToGbk("小明"), "1.2.3.4", Utf8ToGbk("你好")},
                  Utf8ToGbk("avouu小明<1.2.3.4>你好"), Utf8ToGbk("小明")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RelayChatText, PayloadsWithoutTheirMarkersAreNotRelayed) {
    EXPECT_FALSE(RelayChatText(""));
    EXPECT_FALSE(RelayChatText("plain text"));
    EXPECT_FALSE(RelayChatText("avouutx%txbobbq<1.2.3.4>hi"));  // no "cjbjk"
    EXPECT_FALSE(RelayChatText("avouubob<1.2.3.4>cjbjkhi"));    // no "bq"
    EXPECT_FALSE(RelayChatText("avouubobbq<1.2.3.4>cjbjkhi"));  // no "tx%tx"
}

TEST(RelayPictureShare, CutsTheMarkers) {
    const auto payload = ParseMessage(BuildPictureShare({"http://e/1.png", "http://a/x.png", "bob"}))
                             ->payload;
    EXPECT_EQ(RelayPictureShare(payload), "http://e/1.pngooohttp://a/x.pngouubob");
    EXPECT_FALSE(RelayPictureShare("http://e/1.png"));
    EXPECT_FALSE(RelayPictureShare("picouutx%txbob"));  // no "biaoqing"
}

}  // namespace
}  // namespace vinylo::protocol

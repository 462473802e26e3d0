#include <gtest/gtest.h>

#include "protocol/gbk.h"
#include "protocol/message.h"
#include "protocol/message_kind.h"
#include "protocol/server_messages.h"

namespace vinylo::protocol {
namespace {

using namespace std::string_view_literals;

TEST(ParseMessage, TakesPayloadAndCode) {
    const auto muted = ParseMessage(Utf8ToGbk("禁言|||8"));
    ASSERT_TRUE(muted);
    EXPECT_EQ(muted->payload, Utf8ToGbk("禁言"));
    EXPECT_EQ(muted->code, "8");
    EXPECT_EQ(ServerKindFromCode(muted->code), ServerKind::Muted);

    const auto empty = ParseMessage("|||4");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->payload, "");
    EXPECT_EQ(ServerKindFromCode(empty->code), ServerKind::Announcement);
}

TEST(ParseMessage, ThirdPieceIsIgnored) {
    const auto m = ParseMessage("hello|||4|||more");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->payload, "hello");
    EXPECT_EQ(m->code, "4");
}

TEST(ParseMessage, TwoMessagesInOneBlockMatchNoCode) {
    const std::string block = BuildUserPresent("<a>1.2.3.4:5") + BuildUserPresent("<b>1.2.3.4:6");
    const auto m = ParseMessage(block);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->code, "2<b>1.2.3.4:6");
    EXPECT_FALSE(ServerKindFromCode(m->code));
    EXPECT_FALSE(ClientKindFromCode(m->code));
}

TEST(ParseMessage, SecondMessageWithEmptyPayloadLeavesTheFirstReadable) {
    const auto m = ParseMessage("hi|||4|||4");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->payload, "hi");
    EXPECT_EQ(m->code, "4");
}

TEST(ParseMessage, BlocksWithoutACodeAreMalformed) {
    for (const auto block : {""sv, "no separator"sv, "ends with separator|||"sv, "|||"sv}) {
        EXPECT_FALSE(ParseMessage(block)) << block;
    }
}

TEST(ParseMessage, TextEndsAtTheFirstZeroByte) {
    const auto m = ParseMessage("a|||3\0|||9"sv);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->code, "3");
    EXPECT_FALSE(ParseMessage("a\0|||3"sv));
}

TEST(MessageKinds, CodesCompareAsExactText) {
    EXPECT_EQ(ServerKindFromCode("8"), ServerKind::Muted);
    for (const auto code : {"08"sv, "8 "sv, " 8"sv, ""sv, "3a"sv}) {
        EXPECT_FALSE(ServerKindFromCode(code)) << code;
        EXPECT_FALSE(ClientKindFromCode(code)) << code;
    }
    EXPECT_EQ(ClientKindFromCode("1"), ClientKind::ChatText);
    EXPECT_EQ(ServerKindFromCode("1"), ServerKind::NameAssigned);
    EXPECT_EQ(ClientKindFromCode("77"), ClientKind::PictureShare);
    EXPECT_EQ(ServerKindFromCode("77"), ServerKind::PictureLine);
}

TEST(MessageKinds, EveryKindHasItsCode) {
    const std::vector<std::pair<ClientKind, std::string_view>> client{
        {ClientKind::ChatText, "1"},         {ClientKind::SongRequest, "10"},
        {ClientKind::PictureFile, "47"},     {ClientKind::RepeatSongRequest, "49"},
        {ClientKind::CutSongRequest, "76"},  {ClientKind::PictureShare, "77"}};
    for (const auto& [kind, code] : client) {
        EXPECT_EQ(CodeOf(kind), code) << NameOf(kind);
        EXPECT_EQ(ClientKindFromCode(code), kind);
    }
    const std::vector<std::pair<ServerKind, std::string_view>> server{
        {ServerKind::NameAssigned, "1"},  {ServerKind::UserPresent, "2"},
        {ServerKind::ChatLine, "3"},      {ServerKind::Announcement, "4"},
        {ServerKind::UserGone, "5"},      {ServerKind::NameChanged, "6"},
        {ServerKind::YourAddress, "7"},   {ServerKind::Muted, "8"},
        {ServerKind::Unmuted, "9"},       {ServerKind::PictureLine, "77"},
        {ServerKind::CoverPicture, "87"}, {ServerKind::QueueLow, "88"},
        {ServerKind::NowPlaying, "89"},   {ServerKind::SongCut, "91"}};
    for (const auto& [kind, code] : server) {
        EXPECT_EQ(CodeOf(kind), code) << NameOf(kind);
        EXPECT_EQ(ServerKindFromCode(code), kind);
    }
}

TEST(ServerMessages, FixedTextsAreExact) {
    EXPECT_EQ(BuildNameAssigned(3), Utf8ToGbk("用户3|||1"));
    EXPECT_EQ(BuildMuted(), Utf8ToGbk("禁言|||8"));
    EXPECT_EQ(BuildUnmuted(), Utf8ToGbk("解禁|||9"));
    EXPECT_EQ(BuildQueueLow(), Utf8ToGbk("当前点歌目录只剩3首，请点歌|||88"));
    EXPECT_EQ(BuildNowPlaying(Utf8ToGbk("小明"), Utf8ToGbk("晴天")),
              Utf8ToGbk("当前歌曲来自 小明 点播的《晴天》|||89"));
    EXPECT_EQ(BuildSongCut(Utf8ToGbk("小红")), Utf8ToGbk("当前歌曲已被 小红 切掉|||91"));
    EXPECT_EQ(BuildNameChanged("<用户1>1.2.3.4:5", "<bob>1.2.3.4:5"),
              "<用户1>1.2.3.4:5||<bob>1.2.3.4:5|||6");
    EXPECT_EQ(MakeUserEntry("bob", "10.0.0.2:50312"), "<bob>10.0.0.2:50312");
}

TEST(ServerMessages, ChatLineReadersCutAtSeparatorsInValues) {
    // A chat text containing ">" or "<" shows only up to that character.
    const auto gt = ParseChatLine("avouubob<1.2.3.4>a>b");
    ASSERT_TRUE(gt);
    EXPECT_EQ(gt->text, "a");
    const auto lt = ParseChatLine("avouubob<1.2.3.4>a<b");
    ASSERT_TRUE(lt);
    EXPECT_EQ(lt->text, "a");
    // A nickname containing "ouu" is cut there.
    const auto nick = ParseChatLine("avouuyouuu<1.2.3.4>hi");
    ASSERT_TRUE(nick);
    EXPECT_EQ(nick->nickname, "y");
}

TEST(ServerMessages, ReadersRejectPayloadsWithoutTheirSeparators) {
    EXPECT_FALSE(ParseChatLine("no markers at all"));
    EXPECT_FALSE(ParseChatLine("avouubob<no closing bracket"));
    EXPECT_FALSE(ParseChatLine("noavatar<1.2.3.4>hi"));
    EXPECT_FALSE(ParsePictureLine("picture only"));
    EXPECT_FALSE(ParsePictureLine("picouubob"));
    EXPECT_FALSE(ParseNameChanged("<a>1.2.3.4:5"));
    // An empty last value is a value, not a missing piece.
    const auto emptyText = ParseChatLine("avouubob<1.2.3.4>");
    ASSERT_TRUE(emptyText);
    EXPECT_EQ(emptyText->text, "");
}

}  // namespace
}  // namespace vinylo::protocol

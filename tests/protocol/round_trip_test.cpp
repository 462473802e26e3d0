#include <gtest/gtest.h>

#include "protocol/client_messages.h"
#include "protocol/gbk.h"
#include "protocol/message.h"
#include "protocol/message_kind.h"
#include "protocol/relay.h"
#include "protocol/server_messages.h"

namespace vinylo::protocol {
namespace {

Message ParseAs(const std::string& block, ClientKind kind) {
    const auto m = ParseMessage(block);
    EXPECT_TRUE(m) << block;
    EXPECT_EQ(ClientKindFromCode(m ? m->code : ""), kind);
    return m.value_or(Message{});
}

Message ParseAs(const std::string& block, ServerKind kind) {
    const auto m = ParseMessage(block);
    EXPECT_TRUE(m) << block;
    EXPECT_EQ(ServerKindFromCode(m ? m->code : ""), kind);
    return m.value_or(Message{});
}

const std::string kNick = Utf8ToGbk("小明");

TEST(RoundTrip, ClientMessagesReadAsTheServerTakesThem) {
    const ChatTextFields chat{"http://a.lan/me.png", kNick, "192.168.9.25", Utf8ToGbk("大家好")};
    const auto built = BuildChatText(chat);
    EXPECT_EQ(built, "http://a.lan/me.pngouutx%tx" + kNick + "bq<192.168.9.25>cjbjk" +
                         Utf8ToGbk("大家好") + "|||1");
    const auto relay = RelayChatText(ParseAs(built, ClientKind::ChatText).payload);
    ASSERT_TRUE(relay);
    const auto line = ParseChatLine(relay->chatLinePayload);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->avatarUrl, chat.avatarUrl);
    EXPECT_EQ(line->nickname, chat.nickname);
    EXPECT_EQ(line->address, chat.serverAddress);
    EXPECT_EQ(line->text, chat.text);

    const SongRequestFields song{"http://c.lan/c.jpg", kNick, "http://m.lan/s.mp3",
                                 Utf8ToGbk("晴天"), Utf8ToGbk("周杰伦")};
    for (const auto kind : {ClientKind::SongRequest, ClientKind::RepeatSongRequest}) {
        const auto block =
            kind == ClientKind::SongRequest ? BuildSongRequest(song) : BuildRepeatSongRequest(song);
        const auto parsed = ParseSongRequest(ParseAs(block, kind).payload, kind);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->coverUrl, song.coverUrl);
        EXPECT_EQ(parsed->nickname, song.nickname);
        EXPECT_EQ(parsed->playUrl, song.playUrl);
        EXPECT_EQ(parsed->title, song.title);
        EXPECT_EQ(parsed->singer, song.singer);
    }
    EXPECT_EQ(BuildRepeatSongRequest(song).find("gq:mf"), song.coverUrl.size());

    const auto file = ParsePictureFile(
        ParseAs(BuildPictureFile({kNick, "GIF89a"}), ClientKind::PictureFile).payload);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->nickname, kNick);
    EXPECT_EQ(file->content, "GIF89a");

    EXPECT_EQ(ParseCutSongRequest(ParseAs(BuildCutSongRequest(kNick), ClientKind::CutSongRequest)
                                      .payload),
              kNick);

    const PictureShareFields share{"http://e.lan/1.png", "http://a.lan/me.png", kNick};
    const auto shared = BuildPictureShare(share);
    EXPECT_EQ(shared, "http://e.lan/1.pngooobiaoqinghttp://a.lan/me.pngouutx%tx" + kNick + "|||77");
    const auto pictureLine = RelayPictureShare(ParseAs(shared, ClientKind::PictureShare).payload);
    ASSERT_TRUE(pictureLine);
    const auto picture = ParsePictureLine(*pictureLine);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pictureUrl, share.pictureUrl);
    EXPECT_EQ(picture->avatarUrl, share.avatarUrl);
    EXPECT_EQ(picture->nickname, share.nickname);
}

TEST(RoundTrip, ServerMessagesReadAsTheClientTakesThem) {
    const std::string entry = MakeUserEntry(Utf8ToGbk("用户1"), "127.0.0.1:40000");
    EXPECT_EQ(ParseAs(BuildNameAssigned(1), ServerKind::NameAssigned).payload, Utf8ToGbk("用户1"));
    EXPECT_EQ(ParseAs(BuildUserPresent(entry), ServerKind::UserPresent).payload, entry);
    EXPECT_EQ(ParseAs(BuildUserGone(entry), ServerKind::UserGone).payload, entry);
    EXPECT_EQ(ParseAs(BuildYourAddress("127.0.0.1:40000"), ServerKind::YourAddress).payload,
              "127.0.0.1:40000");
    EXPECT_EQ(ParseAs(BuildAnnouncement(Utf8ToGbk("欢迎")), ServerKind::Announcement).payload,
              Utf8ToGbk("欢迎"));
    EXPECT_EQ(ParseAs(BuildMuted(), ServerKind::Muted).payload, Utf8ToGbk("禁言"));
    EXPECT_EQ(ParseAs(BuildUnmuted(), ServerKind::Unmuted).payload, Utf8ToGbk("解禁"));
    EXPECT_EQ(ParseAs(BuildCoverPicture("http://c.lan/c.jpg"), ServerKind::CoverPicture).payload,
              "http://c.lan/c.jpg");
    EXPECT_EQ(ParseAs(BuildQueueLow(), ServerKind::QueueLow).payload,
              Utf8ToGbk("当前点歌目录只剩3首，请点歌"));
    EXPECT_EQ(ParseAs(BuildNowPlaying(kNick, "x"), ServerKind::NowPlaying).payload,
              NowPlayingLine(kNick, "x"));
    EXPECT_EQ(ParseAs(BuildSongCut(kNick), ServerKind::SongCut).payload,
              Utf8ToGbk("当前歌曲已被 ") + kNick + Utf8ToGbk(" 切掉"));

    const auto renamed = MakeUserEntry(kNick, "127.0.0.1:40000");
    const auto change =
        ParseNameChanged(ParseAs(BuildNameChanged(entry, renamed), ServerKind::NameChanged).payload);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->oldEntry, entry);
    EXPECT_EQ(change->newEntry, renamed);

    const ChatLineFields chat{"http://a.lan/op.png", Utf8ToGbk("管理员"), "127.0.0.1:800", "hi"};
    const auto line = ParseChatLine(ParseAs(BuildChatLine(chat), ServerKind::ChatLine).payload);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->avatarUrl, chat.avatarUrl);
    EXPECT_EQ(line->nickname, chat.nickname);
    EXPECT_EQ(line->address, chat.address);
    EXPECT_EQ(line->text, chat.text);

    const PictureLineFields pic{"http://e.lan/1.png", "http://a.lan/me.png", kNick};
    const auto picture =
        ParsePictureLine(ParseAs(BuildPictureLine(pic), ServerKind::PictureLine).payload);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pictureUrl, pic.pictureUrl);
    EXPECT_EQ(picture->avatarUrl, pic.avatarUrl);
    EXPECT_EQ(picture->nickname, pic.nickname);
}

TEST(SongRequestReader, TakesTheRequestApartFromTheEnd) {
    // An empty singer (the last value, which Split drops) reads as empty text.
    const auto noSinger =
        ParseSongRequest("covergqfmbobxmurlbfdztitlegqmc", ClientKind::SongRequest);
    ASSERT_TRUE(noSinger);
    EXPECT_EQ(noSinger->singer, "");
    EXPECT_EQ(noSinger->title, "title");
    // A request that uses the other request's cover separator is malformed.
    EXPECT_FALSE(ParseSongRequest("covergqfmbobxmurlbfdztitlegqmcsinger",
                                  ClientKind::RepeatSongRequest));
    EXPECT_FALSE(ParseSongRequest("just a text", ClientKind::SongRequest));
    EXPECT_FALSE(ParseSongRequest("", ClientKind::SongRequest));
}

}  // namespace
}  // namespace vinylo::protocol

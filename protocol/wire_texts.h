#pragma once

#include <string>
#include <string_view>

// The exact texts of the wire protocol, in one place. Separator words follow
// the value they close. The Chinese texts are returned as GBK bytes, ready to
// be joined into a message.
namespace vinylo::protocol::wire {

// message = payload + "|||" + code
inline constexpr std::string_view kCodeSeparator = "|||";

// ChatText: avatar URL, "ouutx%tx", nickname, "bq<", server address, ">cjbjk", text
inline constexpr std::string_view kChatAvatarEnd = "ouutx%tx";
inline constexpr std::string_view kChatNicknameEnd = "bq<";
inline constexpr std::string_view kChatAddressEnd = ">cjbjk";

// SongRequest: cover URL, "gqfm", nickname, "xm", play URL, "bfdz", title, "gqmc", singer
// RepeatSongRequest: the same with "gq:mf" in place of "gqfm"
inline constexpr std::string_view kSongCoverEnd = "gqfm";
inline constexpr std::string_view kRepeatSongCoverEnd = "gq:mf";
inline constexpr std::string_view kSongNicknameEnd = "xm";
inline constexpr std::string_view kSongUrlEnd = "bfdz";
inline constexpr std::string_view kSongTitleEnd = "gqmc";

// PictureFile: nickname, "jjshe", file content
inline constexpr std::string_view kPictureFileNicknameEnd = "jjshe";

// PictureShare: picture URL, "ooobiaoqing", avatar URL, "ouutx%tx", nickname
inline constexpr std::string_view kShareUrlEnd = "ooobiaoqing";
inline constexpr std::string_view kShareAvatarEnd = "ouutx%tx";

// The markers the server cuts out when it relays a ChatText or PictureShare.
inline constexpr std::string_view kRelayTextMarker = "cjbjk";
inline constexpr std::string_view kRelayAddressMarker = "bq";
inline constexpr std::string_view kRelayAvatarMarker = "tx%tx";
inline constexpr std::string_view kRelayPictureMarker = "biaoqing";

// ChatLine: avatar URL, "ouu", nickname, "<", address, ">", text
inline constexpr std::string_view kLineAvatarEnd = "ouu";
inline constexpr std::string_view kLineNicknameEnd = "<";
inline constexpr std::string_view kLineAddressEnd = ">";

// PictureLine: picture URL, "ooo", avatar URL, "ouu", nickname
inline constexpr std::string_view kPictureLineUrlEnd = "ooo";
inline constexpr std::string_view kPictureLineAvatarEnd = "ouu";

// NameChanged: old UserEntry, "||", new UserEntry
inline constexpr std::string_view kNameChangeSeparator = "||";

// UserEntry: "<" + user name + ">" + IP + ":" + port
inline constexpr std::string_view kEntryNameStart = "<";
inline constexpr std::string_view kEntryNameEnd = ">";
inline constexpr std::string_view kAddressPortSeparator = ":";

// The address text the operator's chat lines carry in place of a client's.
inline constexpr std::string_view kOperatorAddress = "127.0.0.1:800";

// Fixed Chinese texts, as GBK bytes.
const std::string& UserNamePrefix();     // "用户", followed by a number
const std::string& MutedText();          // "禁言"
const std::string& UnmutedText();        // "解禁"
const std::string& QueueLowText();       // "当前点歌目录只剩3首，请点歌"
const std::string& NowPlayingStart();    // "当前歌曲来自 "
const std::string& NowPlayingMiddle();   // " 点播的《"
const std::string& NowPlayingEnd();      // "》"
const std::string& SongCutStart();       // "当前歌曲已被 "
const std::string& SongCutEnd();         // " 切掉"

}  // namespace vinylo::protocol::wire

#include "protocol/server_messages.h"

#include "protocol/field_reader.h"
#include "protocol/message.h"
#include "protocol/message_kind.h"
#include "protocol/wire_texts.h"

namespace vinylo::protocol {

std::string MakeUserEntry(std::string_view userName, std::string_view address) {
    std::string entry;
    entry.append(wire::kEntryNameStart).append(userName).append(wire::kEntryNameEnd);
    entry.append(address);
    return entry;
}

std::string AssignedUserName(int number) {
    return wire::UserNamePrefix() + std::to_string(number);
}

std::string NowPlayingLine(std::string_view requester, std::string_view title) {
    std::string line = wire::NowPlayingStart();
    line.append(requester).append(wire::NowPlayingMiddle());
    line.append(title).append(wire::NowPlayingEnd());
    return line;
}

std::string BuildNameAssigned(int number) {
    return Frame(AssignedUserName(number), CodeOf(ServerKind::NameAssigned));
}

std::string BuildUserPresent(std::string_view userEntry) {
    return Frame(userEntry, CodeOf(ServerKind::UserPresent));
}

std::string BuildChatLine(const ChatLineFields& f) {
    std::string p;
    p.append(f.avatarUrl).append(wire::kLineAvatarEnd);
    p.append(f.nickname).append(wire::kLineNicknameEnd);
    p.append(f.address).append(wire::kLineAddressEnd);
    p.append(f.text);
    return Frame(p, CodeOf(ServerKind::ChatLine));
}

std::string BuildAnnouncement(std::string_view text) {
    return Frame(text, CodeOf(ServerKind::Announcement));
}

std::string BuildUserGone(std::string_view userEntry) {
    return Frame(userEntry, CodeOf(ServerKind::UserGone));
}

std::string BuildNameChanged(std::string_view oldEntry, std::string_view newEntry) {
    std::string p;
    p.append(oldEntry).append(wire::kNameChangeSeparator).append(newEntry);
    return Frame(p, CodeOf(ServerKind::NameChanged));
}

std::string BuildYourAddress(std::string_view address) {
    return Frame(address, CodeOf(ServerKind::YourAddress));
}

std::string BuildMuted() { return Frame(wire::MutedText(), CodeOf(ServerKind::Muted)); }

std::string BuildUnmuted() { return Frame(wire::UnmutedText(), CodeOf(ServerKind::Unmuted)); }

std::string BuildPictureLine(const PictureLineFields& f) {
    std::string p;
    p.append(f.pictureUrl).append(wire::kPictureLineUrlEnd);
    p.append(f.avatarUrl).append(wire::kPictureLineAvatarEnd);
    p.append(f.nickname);
    return Frame(p, CodeOf(ServerKind::PictureLine));
}

std::string BuildCoverPicture(std::string_view coverUrl) {
    return Frame(coverUrl, CodeOf(ServerKind::CoverPicture));
}

std::string BuildQueueLow() { return Frame(wire::QueueLowText(), CodeOf(ServerKind::QueueLow)); }

std::string BuildNowPlaying(std::string_view requester, std::string_view title) {
    return Frame(NowPlayingLine(requester, title), CodeOf(ServerKind::NowPlaying));
}

std::string BuildSongCut(std::string_view nickname) {
    std::string p = wire::SongCutStart();
    p.append(nickname).append(wire::SongCutEnd());
    return Frame(p, CodeOf(ServerKind::SongCut));
}

std::optional<ChatLineFields> ParseChatLine(std::string_view payload) {
    // T = Split at "<"; V = Split T2 at ">"; B = Split T1 at "ouu".
    const auto t = SplitAtMarker(payload, wire::kLineNicknameEnd);
    if (!t) return std::nullopt;
    const auto v = SplitAtMarker(t->second, wire::kLineAddressEnd);
    if (!v) return std::nullopt;
    const auto b = SplitAtMarker(t->first, wire::kLineAvatarEnd);
    if (!b) return std::nullopt;
    return ChatLineFields{
        .avatarUrl = b->first, .nickname = b->second, .address = v->first, .text = v->second};
}

std::optional<PictureLineFields> ParsePictureLine(std::string_view payload) {
    // T = Split at "ouu"; V = Split T1 at "ooo".
    const auto t = SplitAtMarker(payload, wire::kPictureLineAvatarEnd);
    if (!t) return std::nullopt;
    const auto v = SplitAtMarker(t->first, wire::kPictureLineUrlEnd);
    if (!v) return std::nullopt;
    return PictureLineFields{.pictureUrl = v->first, .avatarUrl = v->second, .nickname = t->second};
}

std::optional<NameChangeFields> ParseNameChanged(std::string_view payload) {
    const auto parts = SplitAtMarker(payload, wire::kNameChangeSeparator);
    if (!parts) return std::nullopt;
    return NameChangeFields{.oldEntry = parts->first, .newEntry = parts->second};
}

}  // namespace vinylo::protocol

#include "protocol/client_messages.h"

#include "protocol/field_reader.h"
#include "protocol/message.h"
#include "protocol/wire_texts.h"

namespace vinylo::protocol {
namespace {

std::string SongPayload(const SongRequestFields& f, std::string_view coverEnd) {
    std::string p;
    p.append(f.coverUrl).append(coverEnd);
    p.append(f.nickname).append(wire::kSongNicknameEnd);
    p.append(f.playUrl).append(wire::kSongUrlEnd);
    p.append(f.title).append(wire::kSongTitleEnd);
    p.append(f.singer);
    return p;
}

}  // namespace

std::string BuildChatText(const ChatTextFields& f) {
    std::string p;
    p.append(f.avatarUrl).append(wire::kChatAvatarEnd);
    p.append(f.nickname).append(wire::kChatNicknameEnd);
    p.append(f.serverAddress).append(wire::kChatAddressEnd);
    p.append(f.text);
    return Frame(p, CodeOf(ClientKind::ChatText));
}

std::string BuildSongRequest(const SongRequestFields& f) {
    return Frame(SongPayload(f, wire::kSongCoverEnd), CodeOf(ClientKind::SongRequest));
}

std::string BuildRepeatSongRequest(const SongRequestFields& f) {
    return Frame(SongPayload(f, wire::kRepeatSongCoverEnd),
                 CodeOf(ClientKind::RepeatSongRequest));
}

std::string BuildPictureFile(const PictureFileFields& f) {
    std::string p;
    p.append(f.nickname).append(wire::kPictureFileNicknameEnd).append(f.content);
    return Frame(p, CodeOf(ClientKind::PictureFile));
}

std::string BuildCutSongRequest(std::string_view nickname) {
    return Frame(nickname, CodeOf(ClientKind::CutSongRequest));
}

std::string BuildPictureShare(const PictureShareFields& f) {
    std::string p;
    p.append(f.pictureUrl).append(wire::kShareUrlEnd);
    p.append(f.avatarUrl).append(wire::kShareAvatarEnd);
    p.append(f.nickname);
    return Frame(p, CodeOf(ClientKind::PictureShare));
}

std::optional<SongRequestFields> ParseSongRequest(std::string_view payload, ClientKind kind) {
    const auto coverEnd =
        kind == ClientKind::RepeatSongRequest ? wire::kRepeatSongCoverEnd : wire::kSongCoverEnd;
    const auto p = SplitAtMarker(payload, wire::kSongTitleEnd);
    if (!p) return std::nullopt;
    const auto q = SplitAtMarker(p->first, wire::kSongUrlEnd);
    if (!q) return std::nullopt;
    const auto r = SplitAtMarker(q->first, wire::kSongNicknameEnd);
    if (!r) return std::nullopt;
    const auto s = SplitAtMarker(r->first, coverEnd);
    if (!s) return std::nullopt;
    return SongRequestFields{
        .coverUrl = s->first,
        .nickname = s->second,
        .playUrl = r->second,
        .title = q->second,
        .singer = p->second,
    };
}

std::optional<PictureFileFields> ParsePictureFile(std::string_view payload) {
    const auto parts = SplitAtMarker(payload, wire::kPictureFileNicknameEnd);
    if (!parts) return std::nullopt;
    return PictureFileFields{.nickname = parts->first, .content = parts->second};
}

std::string ParseCutSongRequest(std::string_view payload) { return std::string(payload); }

}  // namespace vinylo::protocol

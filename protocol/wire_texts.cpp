#include "protocol/wire_texts.h"

#include "protocol/gbk.h"

// Each text is converted once, on first use.
#define VINYLO_GBK_TEXT(Name, utf8)                      \
    const std::string& Name() {                          \
        static const std::string text = Utf8ToGbk(utf8); \
        return text;                                     \
    }

namespace vinylo::protocol::wire {

VINYLO_GBK_TEXT(UserNamePrefix, "用户")
VINYLO_GBK_TEXT(MutedText, "禁言")
VINYLO_GBK_TEXT(UnmutedText, "解禁")
VINYLO_GBK_TEXT(QueueLowText, "当前点歌目录只剩3首，请点歌")
VINYLO_GBK_TEXT(NowPlayingStart, "当前歌曲来自 ")
VINYLO_GBK_TEXT(NowPlayingMiddle, " 点播的《")
VINYLO_GBK_TEXT(NowPlayingEnd, "》")
VINYLO_GBK_TEXT(SongCutStart, "当前歌曲已被 ")
VINYLO_GBK_TEXT(SongCutEnd, " 切掉")

#undef VINYLO_GBK_TEXT

}  // namespace vinylo::protocol::wire

#pragma once

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <string_view>

#include "platform/http_transfer.h"

namespace vinylo::platform {

// Avatars, shared pictures, covers and emoticons: a picture larger than 8 MiB
// is no chat picture, and 15 s is long past the point where a user has given
// up on one.
inline constexpr std::chrono::seconds kImageTotalTimeout{15};
inline constexpr size_t kMaxImageBytes = 8u << 20;

inline const HttpLimits kImageFetchLimits{
    .connectTimeout = kConnectTimeout,
    .totalTimeout = kImageTotalTimeout,
    .maxRedirects = kMaxRedirects,
    .maxBodyBytes = kMaxImageBytes,
    .caFile = {},
};

// A blocking GET of an http or https URL: the whole body, or empty bytes on
// any failure. An answer with a status other than 2xx counts as a failure:
// an error page is not the picture that was asked for. Safe on any thread;
// cancel, when given and set, ends the download early (empty bytes).
QByteArray FetchUrl(std::string_view url, const HttpLimits& limits = kImageFetchLimits,
                    const std::atomic<bool>* cancel = nullptr);

}  // namespace vinylo::platform

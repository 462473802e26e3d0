#include "platform/fetch_url.h"

namespace vinylo::platform {

QByteArray FetchUrl(std::string_view url, const HttpLimits& limits,
                    const std::atomic<bool>* cancel) {
    HttpTransferRequest request;
    request.url = std::string(url);
    request.headerLines = {"Accept: */*"};
    request.agent = kDefaultAgent;
    request.cancel = cancel;
    HttpTransferResult result = RunHttpTransfer(request, limits);
    if (!result.completed || result.status < 200 || result.status > 299)
        return {};
    return QByteArray(result.body.data(), static_cast<qsizetype>(result.body.size()));
}

}  // namespace vinylo::platform

#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/decoded_image.h"
#include "platform/fetch_url.h"

namespace vinylo::platform {

// Downloads and decodes pictures off the GUI thread and hands them back on
// the thread that owns the fetcher, in the order they were asked for: the
// answer to a request waits until every earlier request has been answered,
// so chat items built from them keep the order of the messages.
//
// At most a few downloads run at once; a URL already on its way is not
// fetched a second time. Destroying the fetcher drops what is still pending
// (those callbacks never run) and returns within about a second, even while
// a server is not answering.
class ImageFetcher : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(std::vector<DecodedImage> images)>;

    static constexpr int kParallelDownloads = 4;
    // Past this many URLs waiting, a new URL gives an empty image at once:
    // a flood of picture messages costs pictures, never memory or order.
    static constexpr size_t kMaxWaitingUrls = 128;

    explicit ImageFetcher(QObject* parent = nullptr);
    ImageFetcher(HttpLimits limits, int parallelDownloads, QObject* parent = nullptr);
    ~ImageFetcher() override;

    // done receives one image per URL, in the order of urls (empty ones for
    // failed downloads). It always runs later, never inside this call; a
    // request without URLs is answered in its turn all the same.
    void FetchImages(std::vector<std::string> urls, Done done);

    size_t pendingRequests() const { return requests_.size(); }

private:
    struct Request {
        std::vector<std::string> urls;
        std::vector<DecodedImage> images;
        size_t missing = 0;
        Done done;
    };
    struct Slot {
        uint64_t request;
        size_t index;
    };

    void StartDownload(const std::string& url);
    void OnDownloaded(const std::string& url, const DecodedImage& image);
    void DeliverReady();
    Request* FindRequest(uint64_t id);

    const HttpLimits limits_;
    std::atomic<bool> cancel_{false};
    std::deque<std::pair<uint64_t, Request>> requests_;
    std::map<std::string, std::vector<Slot>> waiting_;  // by URL: the slots its image fills
    uint64_t nextId_ = 1;
    size_t waitingUrls_ = 0;
    bool delivering_ = false;
    QThreadPool pool_;
};

}  // namespace vinylo::platform

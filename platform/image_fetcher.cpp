#include "platform/image_fetcher.h"

#include <QPointer>
#include <algorithm>

#include "platform/image_from_bytes.h"

namespace vinylo::platform {

ImageFetcher::ImageFetcher(QObject* parent)
    : ImageFetcher(kImageFetchLimits, kParallelDownloads, parent) {}

ImageFetcher::ImageFetcher(HttpLimits limits, int parallelDownloads, QObject* parent)
    : QObject(parent), limits_(std::move(limits)) {
    pool_.setMaxThreadCount(std::max(1, parallelDownloads));
}

ImageFetcher::~ImageFetcher() {
    cancel_ = true;
    pool_.clear();
    pool_.waitForDone();
    // Answers already posted to this object are dropped with it.
}

void ImageFetcher::FetchImages(std::vector<std::string> urls, Done done) {
    const uint64_t id = nextId_++;
    Request request;
    request.images.resize(urls.size());
    request.done = std::move(done);
    std::vector<std::string> toStart;
    for (size_t i = 0; i < urls.size(); ++i) {
        auto found = waiting_.find(urls[i]);
        if (found != waiting_.end()) {
            found->second.push_back({id, i});
            ++request.missing;
        } else if (waitingUrls_ < kMaxWaitingUrls) {
            waiting_[urls[i]].push_back({id, i});
            ++waitingUrls_;
            ++request.missing;
            toStart.push_back(urls[i]);
        }
    }
    request.urls = std::move(urls);
    requests_.emplace_back(id, std::move(request));
    for (const auto& url : toStart)
        StartDownload(url);
    if (requests_.back().second.missing == 0) {
        QMetaObject::invokeMethod(this, &ImageFetcher::DeliverReady, Qt::QueuedConnection);
    }
}

void ImageFetcher::StartDownload(const std::string& url) {
    pool_.start([this, url] {
        const DecodedImage image = ImageFromBytes(FetchUrl(url, limits_, &cancel_));
        if (cancel_)
            return;
        QMetaObject::invokeMethod(
            this, [this, url, image] { OnDownloaded(url, image); }, Qt::QueuedConnection);
    });
}

ImageFetcher::Request* ImageFetcher::FindRequest(uint64_t id) {
    for (auto& [requestId, request] : requests_) {
        if (requestId == id)
            return &request;
    }
    return nullptr;
}

void ImageFetcher::OnDownloaded(const std::string& url, const DecodedImage& image) {
    auto found = waiting_.find(url);
    if (found == waiting_.end())
        return;
    for (const Slot& slot : found->second) {
        if (Request* request = FindRequest(slot.request)) {
            request->images[slot.index] = image;
            --request->missing;
        }
    }
    waiting_.erase(found);
    --waitingUrls_;
    DeliverReady();
}

void ImageFetcher::DeliverReady() {
    // A done that asks for more pictures ends up here again; the outer loop
    // delivers what is ready, in order.
    if (delivering_)
        return;
    delivering_ = true;
    const QPointer<ImageFetcher> self(this);
    while (!requests_.empty() && requests_.front().second.missing == 0) {
        Request request = std::move(requests_.front().second);
        requests_.pop_front();
        if (request.done)
            request.done(std::move(request.images));
        if (!self)
            return;  // the done destroyed the fetcher
    }
    delivering_ = false;
}

}  // namespace vinylo::platform

#include "platform/image_fetcher.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <mutex>

#include "tests/platform/test_images.h"
#include "tests/support/loopback_http_server.h"

namespace vinylo::platform {
namespace {

using vinylo::testing::HttpRequest;
using vinylo::testing::HttpResponse;
using vinylo::testing::LoopbackHttpServer;
using namespace std::chrono_literals;

constexpr int kDeadlineMs = 30000;

// Serves pictures whose width is the number in the path ("/w7.png": 7 wide);
// "/slow..." answers after a while, "/silent" never, anything else is 404.
class PictureServer {
public:
    PictureServer()
        : server_([](const HttpRequest& r) {
              HttpResponse response;
              const size_t w = r.target.rfind("/w");
              if (r.target == "/silent") {
                  response.neverAnswer = true;
              } else if (w != std::string::npos) {
                  const int width = std::stoi(r.target.substr(w + 2));
                  response.body = test::EncodedImage("PNG", width, 3).toStdString();
                  if (r.target.rfind("/slow", 0) == 0)
                      response.delay = 400ms;
              } else {
                  response.status = 404;
                  response.body = "no";
              }
              return response;
          }) {}

    std::string Url(const std::string& path) const { return server_.Url(path); }
    size_t RequestCount() const { return server_.RequestCount(); }

private:
    LoopbackHttpServer server_;
};

std::vector<int> Widths(const std::vector<DecodedImage>& images) {
    std::vector<int> widths;
    for (const auto& image : images)
        widths.push_back(image.isEmpty() ? 0 : image.width());
    return widths;
}

TEST(ImageFetcherTest, AnswersComeInRequestOrderWithOneImagePerUrl) {
    PictureServer server;
    ImageFetcher fetcher;
    std::vector<std::pair<int, std::vector<int>>> answers;
    const auto record = [&](int n) {
        return [&, n](std::vector<DecodedImage> images) { answers.push_back({n, Widths(images)}); };
    };
    fetcher.FetchImages({server.Url("/slow/w11.png")}, record(1));  // slow, asked first
    fetcher.FetchImages({server.Url("/w2.png"), server.Url("/nothing"), server.Url("/w3.png")},
                        record(2));
    fetcher.FetchImages({}, record(3));  // no URL: still in its turn
    EXPECT_TRUE(answers.empty());        // never inside the call
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.size() == 3; }, kDeadlineMs));
    EXPECT_EQ(answers[0], (std::pair<int, std::vector<int>>{1, {11}}));
    EXPECT_EQ(answers[1], (std::pair<int, std::vector<int>>{2, {2, 0, 3}}));
    EXPECT_EQ(answers[2], (std::pair<int, std::vector<int>>{3, {}}));
    EXPECT_EQ(fetcher.pendingRequests(), 0u);
}

TEST(ImageFetcherTest, AUrlOnItsWayIsFetchedOnce) {
    PictureServer server;
    ImageFetcher fetcher;
    std::vector<std::vector<int>> answers;
    const std::string cover = server.Url("/slow/w5.png");
    fetcher.FetchImages({cover, cover}, [&](auto images) { answers.push_back(Widths(images)); });
    fetcher.FetchImages({cover}, [&](auto images) { answers.push_back(Widths(images)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.size() == 2; }, kDeadlineMs));
    EXPECT_EQ(answers[0], (std::vector<int>{5, 5}));
    EXPECT_EQ(answers[1], (std::vector<int>{5}));
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(ImageFetcherTest, AnswerMayAskForMore) {
    PictureServer server;
    ImageFetcher fetcher;
    std::vector<int> widths;
    fetcher.FetchImages({server.Url("/w1.png")}, [&](auto first) {
        widths.push_back(first[0].width());
        fetcher.FetchImages({server.Url("/w4.png")},
                            [&](auto second) { widths.push_back(second[0].width()); });
    });
    fetcher.FetchImages({server.Url("/w2.png")},
                        [&](auto images) { widths.push_back(images[0].width()); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return widths.size() == 3; }, kDeadlineMs));
    EXPECT_EQ(widths, (std::vector<int>{1, 2, 4}));
}

TEST(ImageFetcherTest, DestroyingWhileServerIsSilentReturnsAndDropsTheAnswers) {
    PictureServer server;
    bool answered = false;
    {
        ImageFetcher fetcher;
        for (int i = 0; i < 6; ++i) {
            fetcher.FetchImages({server.Url("/silent")}, [&](auto) { answered = true; });
            fetcher.FetchImages({server.Url("/w" + std::to_string(i + 1) + ".png")},
                                [&](auto) { answered = true; });
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.RequestCount() >= 1; }, kDeadlineMs));
    }
    QTest::qWait(50);  // nothing posted by a worker may arrive after the end
    EXPECT_FALSE(answered);
}

TEST(ImageFetcherTest, AnswerMayDestroyTheFetcher) {
    PictureServer server;
    auto fetcher = std::make_unique<ImageFetcher>();
    int answers = 0;
    fetcher->FetchImages({server.Url("/w1.png")}, [&](auto) {
        ++answers;
        fetcher.reset();
    });
    fetcher->FetchImages({}, [&](auto) { ++answers; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fetcher == nullptr; }, kDeadlineMs));
    QTest::qWait(50);
    EXPECT_EQ(answers, 1);
}

}  // namespace
}  // namespace vinylo::platform

// The server on a Chinese desktop: the application object takes the whole
// locale from the environment, and the player must start anyway.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/mpv_player.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/sine_wav.h"

namespace {

using namespace std::chrono_literals;
using vinylo::platform::MpvPlayer;
using vinylo::platform::MpvPlayerOptions;
using vinylo::platform::Player;

std::string numericLocaleAtStart;
std::string ctypeLocaleAtStart;

TEST(MpvPlayerLocaleTest, StartsAndPlaysUnderAChineseLocale) {
    ASSERT_EQ(numericLocaleAtStart, "zh_CN.UTF-8")
        << "the Chinese locale did not take effect (are the locale sources of the "
           "'locales' package installed?)";

    vinylo::testing::LoopbackHttpServer server([](const vinylo::testing::HttpRequest&) {
        vinylo::testing::HttpResponse response;
        response.body = vinylo::testing::SineWav(1500ms);
        return response;
    });
    MpvPlayerOptions options;
    options.audioOutput = QStringLiteral("null");
    QString error;
    auto player = MpvPlayer::Create(options, &error);
    ASSERT_TRUE(player) << error.toStdString();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(std::string(std::setlocale(LC_CTYPE, nullptr)), ctypeLocaleAtStart)
        << "only the numeric part changes";

    player->play(QString::fromStdString(server.Url("/song.wav")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->state() == Player::State::Playing; }, 20000));
    EXPECT_NEAR(static_cast<double>(player->durationMs()), 1500.0, 50.0);
}

}  // namespace

int main(int argc, char** argv) {
    // Build the locale in a scratch folder: nothing system-wide is needed
    // beyond the locale sources.
    std::string dir = (std::filesystem::temp_directory_path() / "vinylo-locale-XXXXXX").string();
    if (!mkdtemp(dir.data()))
        return 2;
    const std::string build =
        "localedef -i zh_CN -f UTF-8 '" + dir + "/zh_CN.UTF-8' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        std::fprintf(stderr, "localedef failed\n");
    setenv("LOCPATH", dir.c_str(), 1);
    setenv("LANG", "zh_CN.UTF-8", 1);
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    numericLocaleAtStart = std::setlocale(LC_NUMERIC, nullptr);
    ctypeLocaleAtStart = std::setlocale(LC_CTYPE, nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(dir);
    return result;
}

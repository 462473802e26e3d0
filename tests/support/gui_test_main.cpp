// GoogleTest main for tests that need widgets: one QApplication on the
// offscreen platform, message boxes recorded instead of shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "platform/message_box.h"
#include "tests/support/message_box_recorder.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // QApplication takes the locale from the environment; libmpv and number
    // formatting need the C numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    vinylo::testing::MessageBoxRecorder::Install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Figures for the chat view as it grows: time per append (per block of 1000,
// to show it does not grow with the list), time to repaint the visible area,
// time to switch nicknames and to re-lay out for a new width, and memory per
// text item. Prints them; asserts nothing.
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <cstdio>

#include "client/chatview/pop_chat_view.h"

namespace {

using vinylo::client::PopChatView;
using vinylo::platform::DecodedImage;

constexpr int kItems = 10000;
constexpr int kBlock = 1000;

DecodedImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return DecodedImage(image);
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

QString Sentence(int i) {
    static const QString words[] = {QStringLiteral(u"今天"),   QStringLiteral(u"这首歌"),
                                    QStringLiteral(u"真好听"), QStringLiteral(u"再来一首"),
                                    QStringLiteral("ok"),      QStringLiteral(u"哈哈哈")};
    QString text;
    for (int w = 0; w <= i % 7; ++w)
        text += words[(i + w) % 6];
    if (i % 50 == 0)
        text = text.repeated(12);  // now and then a long one
    return text;
}

double RepaintMs(QWidget* list, int rounds) {
    QImage target(list->size(), QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer timer;
    timer.start();
    for (int r = 0; r < rounds; ++r)
        list->render(&target);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / rounds;
}

void AppendFigures() {
    QWidget host;
    host.resize(576, 302);
    PopChatView view;
    view.Create(&host, 0, 0, 576, 302, 0, true);
    host.show();
    const DecodedImage avatars[] = {Solid(96, 96, Qt::red), Solid(40, 40, Qt::blue),
                                    DecodedImage()};
    const DecodedImage pictures[] = {Solid(800, 600, Qt::green), Solid(120, 90, Qt::yellow),
                                     Solid(1000, 10, Qt::gray)};

    std::printf("append (mixed: texts, pictures, notices; ScrollToBottom after each)\n");
    std::printf("  %-16s %12s\n", "items", "us/append");
    QElapsedTimer timer;
    for (int block = 0; block < kItems / kBlock; ++block) {
        timer.start();
        for (int n = 0; n < kBlock; ++n) {
            const int i = block * kBlock + n;
            const bool own = i % 3 == 0;
            const QString name =
                own ? QStringLiteral(u"我") : QStringLiteral(u"用户%1").arg(i % 17);
            if (i % 10 == 9) {
                view.AddNotice(QStringLiteral(u"正在播放：第 %1 首").arg(i));
            } else if (i % 10 == 4) {
                view.AddPicture(name, avatars[i % 3], pictures[i % 3], own);
            } else {
                view.AddText(name, avatars[i % 3], Sentence(i), own);
            }
            view.ScrollToBottom();
        }
        const double us = static_cast<double>(timer.nsecsElapsed()) / 1e3 / kBlock;
        std::printf("  %6d - %-7d %12.1f\n", block * kBlock, (block + 1) * kBlock, us);
    }

    QWidget* list = view.list();
    std::printf("repaint of the visible 576 x 302 area with %d items\n", view.list()->count());
    std::printf("  at the bottom   %8.3f ms\n", RepaintMs(list, 50));
    view.list()->scrollBar()->setValue(view.list()->scrollBar()->maximum() / 2);
    std::printf("  in the middle   %8.3f ms\n", RepaintMs(list, 50));
    view.list()->scrollBar()->setValue(0);
    std::printf("  at the top      %8.3f ms\n", RepaintMs(list, 50));

    timer.start();
    view.SetShowNames(false);
    std::printf("switch nicknames off for every item   %8.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.start();
    view.SetShowNames(true);
    std::printf("switch nicknames on again             %8.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.start();
    view.frame()->resize(500, 302);
    std::printf("re-lay out every item for a new width %8.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
}

void MemoryFigures() {
    QWidget host;
    host.resize(576, 302);
    PopChatView view;
    view.Create(&host, 0, 0, 576, 302, 0, true);
    host.show();
    const DecodedImage avatar = Solid(96, 96, Qt::red);
    const QString nickname = QStringLiteral(u"用户12");
    // Texts made before measuring, as the caller owns its own copies.
    std::vector<QString> texts;
    for (int i = 0; i < kItems; ++i)
        texts.push_back(QStringLiteral(u"第%1条消息：这首歌真好听").arg(i));
    std::size_t textChars = 0;
    for (const QString& t : texts)
        textChars += static_cast<std::size_t>(t.size());

    const std::size_t before = HeapInUse();
    for (int i = 0; i < kItems; ++i)
        view.AddText(nickname, avatar, texts[static_cast<std::size_t>(i)], i % 2 == 0);
    const std::size_t after = HeapInUse();
    std::printf("memory per text item (%zu chars of text on average): %zu bytes\n",
                textChars / kItems, (after - before) / kItems);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppendFigures();
    MemoryFigures();
    return 0;
}

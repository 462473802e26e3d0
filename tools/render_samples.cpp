// Renders the chat view, the emoticon picker and a shadowed window into PNG
// files, for reviewing their looks without a display:
//   vinylo_render_samples OUTDIR
#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScrollBar>
#include <cstdio>

#include "client/chatview/emoticon_icons.h"
#include "client/chatview/emoticon_picker.h"
#include "client/chatview/pop_chat_view.h"
#include "platform/decoded_image.h"
#include "ui/window_shadow.h"

namespace {

using vinylo::client::EmoticonIcon;
using vinylo::client::EmoticonPicker;
using vinylo::client::PopChatView;
using vinylo::platform::DecodedImage;

DecodedImage Avatar(QColor top, QColor bottom, const QString& glyph) {
    QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 96, 96);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(image.rect(), fill);
    QFont font = QApplication::font();
    font.setPixelSize(46);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 235));
    p.drawText(image.rect(), Qt::AlignCenter, glyph);
    return DecodedImage(image);
}

// A small landscape standing in for a shared photo.
DecodedImage Landscape(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x5B, 0x9B, 0xE6));
    sky.setColorAt(0.6, QColor(0xF9, 0xC8, 0x8A));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xE9, 0x9E));
    p.drawEllipse(QPointF(w * 0.72, h * 0.42), h * 0.09, h * 0.09);
    QPainterPath far;
    far.moveTo(0, h * 0.7);
    far.cubicTo(w * 0.25, h * 0.45, w * 0.45, h * 0.75, w * 0.65, h * 0.55);
    far.cubicTo(w * 0.8, h * 0.45, w * 0.9, h * 0.6, w, h * 0.58);
    far.lineTo(w, h);
    far.lineTo(0, h);
    p.setBrush(QColor(0x6C, 0x8E, 0x6A));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(0, h * 0.85);
    near.cubicTo(w * 0.3, h * 0.7, w * 0.6, h * 0.95, w, h * 0.78);
    near.lineTo(w, h);
    near.lineTo(0, h);
    p.setBrush(QColor(0x3E, 0x6B, 0x45));
    p.drawPath(near);
    return DecodedImage(image);
}

DecodedImage EmoticonPicture(int index) {
    return DecodedImage(
        EmoticonIcon(index).scaled(72, 72, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void FillConversation(PopChatView& view) {
    const DecodedImage ming =
        Avatar(QColor(0x6A, 0xA8, 0xFF), QColor(0x3B, 0x6F, 0xD8), QStringLiteral(u"明"));
    const DecodedImage hong =
        Avatar(QColor(0xFF, 0x9A, 0x8B), QColor(0xE8, 0x5A, 0x78), QStringLiteral(u"红"));
    const DecodedImage me =
        Avatar(QColor(0x7E, 0xD9, 0x8F), QColor(0x2F, 0xA3, 0x6B), QStringLiteral(u"我"));
    const DecodedImage robot =
        Avatar(QColor(0x9A, 0x9A, 0xB8), QColor(0x5E, 0x5E, 0x80), QStringLiteral(u"机"));
    view.AddText(QStringLiteral(u"小明"), ming, QStringLiteral(u"大家好，今天想听什么歌？"), false);
    view.AddText(QStringLiteral(u"阿杰"), me, QStringLiteral(u"来一首《晴天》吧"), true);
    view.AddText(QStringLiteral(u"小红"), hong,
                 QStringLiteral(u"我想点一首老歌，记得以前放学路上总能听到，旋律特别好听，"
                                u"可是歌名一直想不起来了。有人知道“后来”是谁唱的吗？"),
                 false);
    view.AddNotice(QStringLiteral(u"正在播放：周杰伦 - 晴天（点歌人：阿杰）"));
    view.AddPicture(QStringLiteral(u"系统机器人"), robot, Landscape(800, 600), false);
    view.AddText(QStringLiteral(u"路人甲"), DecodedImage(), QStringLiteral(u"好"), false);
    view.AddPicture(QStringLiteral(u"阿杰"), me, EmoticonPicture(17), true);
    view.AddText(QStringLiteral(u"一个名字非常非常长的用户，长到一行都放不下，只好在末尾用省略号表"
                                u"示后面还有更多的字，这些字都看不见了"),
                 ming, QStringLiteral(u"Nice song! 这首歌的前奏太棒了"), false);
    view.AddNotice(QStringLiteral(u"歌曲即将播放完毕，请大家继续点歌哦"));
    view.AddText(QStringLiteral(u"阿杰"), me, QString(), true);
}

bool Save(const QImage& image, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QImage RenderChat(int width, int height, bool showNames, bool toBottom) {
    QWidget host;
    host.resize(width, height);
    PopChatView view;
    view.Create(&host, 0, 0, width, height, 0, showNames);
    FillConversation(view);
    host.show();
    if (toBottom)
        view.ScrollToBottom();
    return host.grab().toImage();
}

QImage RenderPicker() {
    QWidget main;
    main.setGeometry(100, 100, 600, 500);
    auto* picker = new EmoticonPicker(&main, {}, "http://127.0.0.1:9");
    picker->show();
    picker->list()->setCurrentRow(6);
    const QImage shot = picker->grab().toImage();
    QImage out(shot.width() + 24, shot.height() + 24, QImage::Format_ARGB32_Premultiplied);
    out.fill(QColor(0xEF, 0xEF, 0xEF));
    QPainter p(&out);
    QWidget* shadow = vinylo::ui::ShadowOf(picker);
    if (shadow)
        p.drawImage(12 - 2, 12 - 2, shadow->grab().toImage());
    p.drawImage(12, 12, shot);
    p.end();
    delete picker;
    return out;
}

QImage RenderIconSheet() {
    constexpr int scale = 3;
    constexpr int cell = 36 * scale + 12;
    QImage sheet(cell * 5, cell * 5, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < 25; ++i) {
        p.drawImage(QRect((i % 5) * cell + 6, (i / 5) * cell + 6, 36 * scale, 36 * scale),
                    EmoticonIcon(i));
    }
    return sheet;
}

// A frameless window with the client's shadow, composed on a desktop-like
// background the way a compositor shows them.
QImage RenderShadowedWindow(const QColor& colour, int size) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(200, 200, 360, 220);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xF7, 0xF7, 0xF7));
    window.setPalette(palette);
    vinylo::ui::SetWindowShadow(&window, colour, size);
    window.show();
    QWidget* shadow = vinylo::ui::ShadowOf(&window);
    QImage out(360 + 80, 220 + 80, QImage::Format_ARGB32_Premultiplied);
    out.fill(QColor(0xFF, 0xFF, 0xFF));
    QPainter p(&out);
    if (shadow)
        p.drawImage(shadow->geometry().topLeft() - QPoint(160, 160), shadow->grab().toImage());
    p.drawImage(40, 40, window.grab().toImage());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    ok &= Save(RenderChat(576, 302, true, true), dir, QStringLiteral("chat_view.png"));
    ok &= Save(RenderChat(576, 302, true, false), dir, QStringLiteral("chat_view_top.png"));
    ok &= Save(RenderChat(576, 1100, true, false), dir, QStringLiteral("chat_names_on.png"));
    ok &= Save(RenderChat(576, 1000, false, false), dir, QStringLiteral("chat_names_off.png"));
    ok &= Save(RenderPicker(), dir, QStringLiteral("emoticon_picker.png"));
    ok &= Save(RenderIconSheet(), dir, QStringLiteral("emoticon_icons.png"));
    ok &= Save(RenderShadowedWindow(QColor(208, 208, 208), 2), dir,
               QStringLiteral("shadow_client.png"));
    ok &= Save(RenderShadowedWindow(QColor(128, 128, 128), 5), dir,
               QStringLiteral("shadow_server.png"));
    return ok ? 0 : 1;
}

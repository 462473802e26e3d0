#pragma once

#include <QString>
#include <QWidget>

#include "platform/player.h"

namespace vinylo::ui {

class FlatSlider;
class GlyphButton;

// "1:23", "12:05", "1:02:03": minutes and seconds, hours only when needed.
QString FormatPlayTime(qint64 ms);

// The operator's controls of the player, in the place of the server window's
// `播放器1`: play/pause, stop, a seek bar with the time, volume and mute. It
// shows the player's state and commands it; it holds no state of its own.
class PlayerControlBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 344;
    static constexpr int kHeight = 62;

    explicit PlayerControlBar(platform::Player& player, QWidget* parent = nullptr);

    // What the time area shows, e.g. "1:23 / 4:05" or "正在缓冲…".
    QString timeText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showState();
    void showPosition();
    void showVolume();
    void onPlayPause();
    void onSeekAction();

    platform::Player& player_;
    GlyphButton* playPause_;
    GlyphButton* stop_;
    FlatSlider* seek_;
    GlyphButton* mute_;
    FlatSlider* volume_;
};

}  // namespace vinylo::ui

#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace vinylo::client {

// One look of a chat bubble: an 80 x 40 image with a rounded body in columns
// 10-69 and a small tail on each side (columns 0-7 and 72-79, rows 13-26),
// drawn at any size by nine-slice scaling of the body.
class BubbleSkin {
public:
    enum class Style { Others = 0, OwnText = 1, OwnPicture = 2 };
    static constexpr int kStyleCount = 3;
    static constexpr int kTailWidth = 8;

    // The skins are made once, on first use, and kept until the program ends.
    static const BubbleSkin& Notice();
    // The skin of a message style; an index outside the table gives style 0.
    static const BubbleSkin& ForStyle(int style);

    const QImage& image() const { return image_; }
    QRect bodySource() const { return QRect(10, 0, image_.width() - 20, image_.height()); }
    QRect centreSource() const { return QRect(20, 10, 20, 20); }
    const QColor& textColour() const { return textColour_; }

    // Draws the body into `target`: the corners keep their size, the edges
    // and the centre stretch.
    void DrawBody(QPainter& painter, const QRect& target) const;
    // Draws the tail next to a body drawn at `body`: on the right for an own
    // message, else on the left, overlapping the body's edge column.
    void DrawTail(QPainter& painter, const QRect& body, bool rightSide) const;

    BubbleSkin(QImage image, QColor textColour);

private:
    QImage image_;
    QColor textColour_;
};

}  // namespace vinylo::client

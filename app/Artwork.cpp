#include "app/Artwork.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QStyleFactory>
#include <cmath>

namespace velmora::ui {

namespace {

const QColor Ink(0x2f, 0x3e, 0x4e);       // dark slate: strokes and text
const QColor Accent(0x4a, 0x78, 0xa8);    // muted blue
const QColor Warm(0xd9, 0x8c, 0x3f);      // soft orange for pictures and music
const QColor Leaf(0x5a, 0x9a, 0x6e);      // calm green
const QColor Alert(0xb8, 0x4a, 0x4a);     // muted red for deleting

/// Draws `art` into a unit square of 16 x 16 logical units.
void DrawArt(QPainter& p, TArt art) {
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(Ink, 1.2);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    switch (art) {
        case TArt::PictureState:
        case TArt::Edit: {
            p.setBrush(QColor(0xe8, 0xf1, 0xfa));
            p.drawRoundedRect(QRectF(1.5, 3, 13, 10), 1.5, 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(Warm);
            p.drawEllipse(QPointF(5, 6.5), 1.6, 1.6);
            p.setBrush(Leaf);
            p.drawPolygon(QPolygonF({{2.5, 12}, {7, 7.5}, {10, 10.5}, {11.5, 9}, {13.5, 12}}));
            if (art == TArt::Edit) {
                p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
                p.setBrush(Warm);
                p.drawPolygon(QPolygonF({{9, 14}, {15, 8}, {16, 9}, {10, 15}, {8.5, 15.5}}));
            }
            break;
        }
        case TArt::SongState: {
            p.setBrush(Warm);
            p.setPen(QPen(Warm, 1.4));
            p.drawLine(QPointF(6.5, 12), QPointF(6.5, 3));
            p.drawLine(QPointF(13, 10.5), QPointF(13, 1.8));
            p.drawLine(QPointF(6.5, 3), QPointF(13, 1.8));
            p.drawLine(QPointF(6.5, 5), QPointF(13, 3.8));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(4.6, 12.3), 2.2, 1.7);
            p.drawEllipse(QPointF(11.1, 10.8), 2.2, 1.7);
            break;
        }
        case TArt::AlbumState:
        case TArt::Program: {
            p.setBrush(art == TArt::Program ? Accent : QColor(0xf3, 0xe3, 0xc8));
            p.drawRoundedRect(QRectF(2, 1.5, 12, 13), 1.5, 1.5);
            p.setBrush(QColor(0xfa, 0xfa, 0xf7));
            p.drawRect(QRectF(4.5, 4, 7, 5.5));
            p.setPen(Qt::NoPen);
            p.setBrush(Leaf);
            p.drawPolygon(QPolygonF({{5, 9}, {7.5, 6.3}, {9, 7.8}, {10, 7}, {11, 9}}));
            p.setBrush(Warm);
            p.drawEllipse(QPointF(6.3, 5.6), 0.9, 0.9);
            break;
        }
        case TArt::Previous:
        case TArt::Next:
        case TArt::Up:
        case TArt::Down: {
            p.save();
            p.translate(8, 8);
            p.rotate(art == TArt::Next ? 0 : art == TArt::Previous ? 180 : art == TArt::Up ? 270
                                                                                          : 90);
            p.setBrush(Accent);
            p.setPen(QPen(Ink, 1.0));
            p.drawPolygon(QPolygonF({{-5, -5.5}, {5.5, 0}, {-5, 5.5}, {-3, 0}}));
            p.restore();
            break;
        }
        case TArt::Play:
            p.setBrush(Leaf);
            p.drawPolygon(QPolygonF({{4, 2.5}, {13.5, 8}, {4, 13.5}}));
            break;
        case TArt::Pause:
            p.setBrush(Accent);
            p.drawRoundedRect(QRectF(3.5, 3, 3.2, 10), 0.8, 0.8);
            p.drawRoundedRect(QRectF(9.3, 3, 3.2, 10), 0.8, 0.8);
            break;
        case TArt::Stop:
            p.setBrush(Alert);
            p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.2, 1.2);
            break;
        case TArt::Add:
            p.setPen(QPen(Leaf, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 3), QPointF(8, 13));
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
            break;
        case TArt::Remove:
            p.setPen(QPen(Alert, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
        case TArt::RemoveAll:
            p.setPen(QPen(Alert, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(2.5, 4), QPointF(9.5, 11));
            p.drawLine(QPointF(9.5, 4), QPointF(2.5, 11));
            p.drawLine(QPointF(7, 6), QPointF(14, 13));
            p.drawLine(QPointF(14, 6), QPointF(7, 13));
            break;
        case TArt::Make: {
            p.setBrush(Ink);
            p.drawRoundedRect(QRectF(1.5, 3, 13, 10), 1.2, 1.2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xf3, 0xe3, 0xc8));
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(2.8 + i * 3.2, 4, 1.6, 1.3));
                p.drawRect(QRectF(2.8 + i * 3.2, 10.7, 1.6, 1.3));
            }
            p.setBrush(Warm);
            p.drawPolygon(QPolygonF({{6.5, 6}, {10.5, 8}, {6.5, 10}}));
            break;
        }
        case TArt::Help:
        case TArt::About: {
            p.setBrush(art == TArt::Help ? Leaf : Accent);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
            if (art == TArt::Help) {
                QPainterPath hook;
                hook.moveTo(5.8, 6.2);
                hook.cubicTo(5.8, 3.6, 10.4, 3.6, 10.2, 6.2);
                hook.cubicTo(10.1, 7.6, 8, 7.8, 8, 9.6);
                p.setBrush(Qt::NoBrush);
                p.drawPath(hook);
                p.drawPoint(QPointF(8, 12));
            } else {
                p.drawLine(QPointF(8, 7.2), QPointF(8, 11.8));
                p.drawPoint(QPointF(8, 4.6));
            }
            break;
        }
    }
}

QPixmap ArtPixmap(TArt art, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(size / 16.0, size / 16.0);
    DrawArt(p, art);
    return pixmap;
}

}  // namespace

QPalette VelmoraPalette() {
    QPalette palette;
    const QColor window(0xe9, 0xee, 0xf2);
    const QColor base(0xfc, 0xfd, 0xfd);
    const QColor text(0x26, 0x32, 0x3e);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, QColor(0xf1, 0xf4, 0xf7));
    palette.setColor(QPalette::ToolTipBase, QColor(0xfb, 0xf6, 0xe4));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0xdf, 0xe6, 0xec));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Light, QColor(0xf7, 0xf9, 0xfb));
    palette.setColor(QPalette::Midlight, QColor(0xd6, 0xde, 0xe5));
    palette.setColor(QPalette::Mid, QColor(0xb0, 0xbc, 0xc8));
    palette.setColor(QPalette::Dark, QColor(0x8a, 0x98, 0xa6));
    palette.setColor(QPalette::Shadow, QColor(0x5a, 0x66, 0x72));
    palette.setColor(QPalette::Link, Accent);
    // The selection keeps its colour when the list loses the focus.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0x5b, 0x86, 0xb0));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    const QColor grey(0x9a, 0xa4, 0xae);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    palette.setColor(QPalette::Disabled, QPalette::Text, grey);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0xb8, 0xc6, 0xd4));
    return palette;
}

void ApplyVelmoraLook() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QApplication::setPalette(VelmoraPalette());
}

QIcon ArtIcon(TArt art) {
    QIcon icon;
    icon.addPixmap(ArtPixmap(art, 16));
    icon.addPixmap(ArtPixmap(art, 32));
    return icon;
}

QString PageTabStyle() {
    return QStringLiteral(
        "QPushButton { padding: 3px 10px; }"
        "QPushButton:checked { background: #fcfdfd; color: #26323e; border: 1px solid #8a98a6;"
        " border-bottom: 3px solid #4a78a8; border-radius: 3px; }");
}

QImage PreviewBackground(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x3c, 0x4f, 0x63));
    sky.setColorAt(1, QColor(0x24, 0x30, 0x3c));
    p.fillRect(image.rect(), sky);
    // Faint film frames along the edges: the album's slide show.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    for (int x = 4; x < size.width(); x += 14) {
        p.drawRoundedRect(QRectF(x, 3, 8, 5), 1, 1);
        p.drawRoundedRect(QRectF(x, size.height() - 8, 8, 5), 1, 1);
    }
    QRadialGradient glow(QPointF(size.width() / 2.0, size.height() / 2.0),
                         std::max(size.width(), size.height()) / 1.6);
    glow.setColorAt(0, QColor(255, 255, 255, 30));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glow);
    p.drawRect(image.rect());
    return image;
}

QImage PlayerBackground(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient dusk(0, 0, size.width(), size.height());
    dusk.setColorAt(0, QColor(0x22, 0x2e, 0x3a));
    dusk.setColorAt(1, QColor(0x33, 0x3f, 0x55));
    p.fillRect(image.rect(), dusk);
    // A faint staff with a few notes.
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    const int top = size.height() / 3;
    for (int i = 0; i < 5; ++i) p.drawLine(6, top + i * 8, size.width() - 6, top + i * 8);
    p.setBrush(QColor(255, 255, 255, 34));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const double x = 24 + i * (size.width() - 48) / 4.0;
        const double y = top + 28 - (i * 7 % 5) * 6;
        p.drawEllipse(QPointF(x, y), 4.5, 3.4);
        p.fillRect(QRectF(x + 3.4, y - 22, 1.3, 22), QColor(255, 255, 255, 34));
    }
    return image;
}

QColor TitleBackground() { return QColor(0x5b, 0x7a, 0x99); }
QColor TitleText() { return Qt::white; }
QColor FootBackground() { return QColor(0xd3, 0xdc, 0xe4); }

}  // namespace velmora::ui

#include "effects/ui/BuiltinPicture.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace velmora::ui {

namespace {

constexpr int Width = 185;
constexpr int Height = 153;
constexpr int StripHeight = 14;  // film strip at the top and at the bottom

// The colours used, all from the sixteen-colour VGA palette.
const QColor Black(0, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Green(0, 128, 0);
const QColor Teal(0, 128, 128);
const QColor Olive(128, 128, 0);
const QColor Gray(128, 128, 128);
const QColor Silver(192, 192, 192);
const QColor Blue(0, 0, 255);
const QColor Lime(0, 255, 0);
const QColor Yellow(255, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor White(255, 255, 255);

void Fill(QPainter& p, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

void DrawSky(QPainter& p) {
    // Bands of blue that lighten towards the horizon.
    const int top = StripHeight;
    p.fillRect(0, top, Width, 30, Navy);
    p.fillRect(0, top + 30, Width, 26, Blue);
    p.fillRect(0, top + 56, Width, 30, Teal);
    Fill(p, Yellow);
    p.drawEllipse(QPoint(142, 44), 13, 13);
    Fill(p, White);
    p.drawEllipse(QRect(22, 30, 34, 12));
    p.drawEllipse(QRect(38, 24, 28, 14));
    p.drawEllipse(QRect(56, 31, 26, 10));
}

void DrawLand(QPainter& p) {
    Fill(p, Gray);
    p.drawPolygon(QPolygon({{-10, 104}, {58, 50}, {104, 98}, {134, 70}, {196, 104}}));
    Fill(p, White);  // snow on the two peaks
    p.drawPolygon(QPolygon({{46, 60}, {58, 50}, {70, 61}, {63, 58}, {57, 63}, {51, 58}}));
    p.drawPolygon(QPolygon({{126, 77}, {134, 70}, {143, 75}, {137, 75}, {132, 79}}));
    Fill(p, Green);
    p.drawEllipse(QRect(-40, 92, 150, 60));
    p.drawEllipse(QRect(90, 96, 140, 56));
    Fill(p, Aqua);  // a lake between the hills
    p.drawEllipse(QRect(84, 112, 52, 12));
    Fill(p, Lime);
    p.drawEllipse(QRect(-20, 118, 120, 40));
    // A tree on the right hill.
    Fill(p, Olive);
    p.drawRect(QRect(158, 100, 4, 14));
    Fill(p, Green);
    p.drawEllipse(QRect(150, 84, 20, 20));
    Fill(p, Lime);
    p.drawEllipse(QRect(154, 87, 9, 8));
}

void DrawFilmStrip(QPainter& p, int top) {
    p.fillRect(0, top, Width, StripHeight, Black);
    Fill(p, Silver);
    for (int x = 4; x + 7 <= Width; x += 12) p.drawRoundedRect(QRect(x, top + 4, 7, 6), 1, 1);
}

}  // namespace

Bitmap BuiltinOutgoingPicture() {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Silver);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(0, StripHeight, Width, Height - 2 * StripHeight);
        DrawSky(p);
        DrawLand(p);
        p.setClipping(false);
        DrawFilmStrip(p, 0);
        DrawFilmStrip(p, Height - StripHeight);
    }
    return Bitmap::FromQImage(image);
}

}  // namespace velmora::ui

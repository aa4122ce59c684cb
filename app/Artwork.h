#pragma once
// The program's own look: the calm palette over Qt's Fusion style, and every icon and
// background picture, drawn by code at start (no artwork from elsewhere).

#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QSize>

namespace velmora::ui {

/// The drawings the windows use.
enum class TArt {
    PictureState,  ///< state icon of a picture row
    SongState,     ///< state icon of a song row
    AlbumState,    ///< state icon of an album row
    Previous,      ///< BtnPP
    Next,          ///< BtnNP
    Up,            ///< BtnUP
    Down,          ///< BtnDP
    Play,
    Pause,
    Stop,
    Add,
    Remove,
    RemoveAll,
    Edit,
    Make,
    Help,
    About,
    Program,  ///< the window icon
};

/// The calm palette: light grey-blue surfaces, dark slate text, a muted blue selection that
/// stays the same colour when its list has no focus.
QPalette VelmoraPalette();

/// Fusion style with VelmoraPalette(), applied to the running application.
void ApplyVelmoraLook();

/// The icon `art`, drawn at 16 and 32 pixels.
QIcon ArtIcon(TArt art);

/// Style sheet of the page buttons: the pressed one looks like the open tab.
QString PageTabStyle();

/// Background of the picture preview page (Image1): a soft frame on a light gradient.
QImage PreviewBackground(QSize size);

/// Background of the player page (Image3): a dark gradient with a faint staff of notes.
QImage PlayerBackground(QSize size);

/// The foreground colour of the title panels and their background.
QColor TitleBackground();
QColor TitleText();
/// Background of the strip at the window's foot (help, ticker, about).
QColor FootBackground();

}  // namespace velmora::ui

#pragma once
// The rules of the main window that decide what it shows: the captions that follow the shown
// page, the titles of the panels and the enabled state of every control. The window only maps
// the results onto its widgets, so tests check the rules without showing a window.

#include <QString>

namespace velmora::ui {

/// The two pages of the main window's notebooks (and the tags of the page buttons).
enum TMainPage : int { PagePictures = 0, PageSongs = 1 };

/// Captions of the buttons that act on the shown page.
struct TPageCaptions {
    QString DelAll;      ///< BtnDelAP
    QString DelOne;      ///< BtnDelOP
    QString Edit;        ///< BtnEditP
    bool EditVisible = true;
    QString Add;         ///< BtnAddP
};

/// The captions of `page` (0 pictures, 1 songs).
TPageCaptions PageCaptions(int page);

/// What RefreshState reads from the lists, the store and the player.
struct TMainInputs {
    int Page = PagePictures;
    int Rows = 0;          ///< rows of the shown page's list
    int Selected = -1;     ///< its selected row, -1 for none
    int PicRows = 0;       ///< rows of LvwP
    int MusicRows = 0;     ///< rows of LvwM
    int AlbumRows = 0;     ///< rows of LvwA
    int AlbumSelected = -1;
    bool AlbumCurrent = false;   ///< AlbumIndex >= 0
    QString AlbumName;           ///< name of the current album
    bool PlayerFileExists = false;
};

/// What RefreshState shows.
struct TMainView {
    QString ListTitle;      ///< PnlListTile
    QString LookTitle;      ///< PnlCurLook
    QString AllAlbumTitle;  ///< PnlAllAblumTile
    QString CurAlbumTitle;  ///< PnlCurAblmTile
    bool Up = false;        ///< BtnUP
    bool Prev = false;      ///< BtnPP
    bool Down = false;      ///< BtnDP
    bool Next = false;      ///< BtnNP
    bool DelOne = false;    ///< BtnDelOP
    bool DelAll = false;    ///< BtnDelAP
    bool Lists = false;     ///< LvwP and LvwM
    bool Edit = false;      ///< BtnEditP
    bool Add = false;       ///< BtnAddP
    bool Player = false;    ///< SbtPlay, SbtPause, SbtStop and the track bar
    bool DelAlbum = false;  ///< SbtDelA
    bool Make = false;      ///< BtnBeginMake
};

/// Applies every enabling rule and caption rule to `in`. BtnEditP needs a selected picture
/// row (the editor works on the selected record); the album title names no album when none
/// is current.
TMainView ComputeMainView(const TMainInputs& in);

/// PnlCurAblmTile: "编辑相册《name》中的图片与音乐" (an empty name when no album is current).
QString CurAlbumTitle(const QString& albumName);

}  // namespace velmora::ui

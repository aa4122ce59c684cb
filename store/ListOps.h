#pragma once
// Operations on the pictures and songs of the current album that the main window's lists
// trigger: move, step, delete one, delete all. Each works on the store and returns the row
// that the list selects afterwards; `selected` is the list's selected row, -1 for none. The
// caller refreshes its list from the records (row i always shows record i).

#include <string>

#include "store/Pub.h"

namespace velmora {

/// Swaps the selected picture with its upper (`up`) or lower neighbour and saves "PicInfo".
/// With no selection, moving down moves the first picture. Fewer than two pictures, or no
/// neighbour in that direction: nothing changes.
int MovePic(TAlbumStore& store, int selected, bool up);
/// As MovePic, for the songs and "MusicInfo".
int MoveMusic(TAlbumStore& store, int selected, bool up);

/// Selects the previous (`back`) or next picture and makes it `PicIndex`; with no selection,
/// stepping forward selects the second row. The caller shows
/// StoredFilePath(Pics[PicIndex].StoredName).
int StepPic(TAlbumStore& store, int selected, bool back);
/// As StepPic, for the songs (`MusicIndex`).
int StepMusic(TAlbumStore& store, int selected, bool back);

/// Deletes the selected picture without asking: its stored file (a failure is ignored) and
/// its record; "PicInfo" is rewritten. Returns the row selected afterwards (the same row, the
/// new last row, or -1 when no picture is left).
int DeleteCurrentPic(TAlbumStore& store, int selected);
/// As DeleteCurrentPic, for the songs.
int DeleteCurrentMusic(TAlbumStore& store, int selected);

/// Deletes every picture of the album (stored files, failures ignored) and empties "PicInfo".
/// Ask DeleteAllPicsQuestion first.
void DeleteAllPics(TAlbumStore& store);
/// As DeleteAllPics, for the songs.
void DeleteAllMusic(TAlbumStore& store);

/// Rows to scroll so that `selected` becomes visible in a list whose first visible row is
/// `topRow` and which shows `visibleRows` whole rows: positive scrolls down (the row ends as the
/// last visible one), negative scrolls up (it ends as the first), 0 leaves the list.
int ScrollSelectedIntoViewSteps(int selected, int topRow, int visibleRows);

/// "本相册共有N张图片，确定全部都删除吗？"
std::string DeleteAllPicsQuestion(int picCount);
/// "本相册共有N首音乐，确定全部都删除吗？"
std::string DeleteAllMusicQuestion(int musicCount);

}  // namespace velmora

#include "app/MainRules.h"

#include <QCoreApplication>

namespace velmora::ui {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("TFrmMain", text); }

}  // namespace

TPageCaptions PageCaptions(int page) {
    if (page == PageSongs) {
        return {Tr(QT_TRANSLATE_NOOP("TFrmMain", "删除全部音乐")),
                Tr(QT_TRANSLATE_NOOP("TFrmMain", "删除当前音乐")),
                Tr(QT_TRANSLATE_NOOP("TFrmMain", "编辑音乐信息")), false,
                Tr(QT_TRANSLATE_NOOP("TFrmMain", "继续加入音乐"))};
    }
    return {Tr(QT_TRANSLATE_NOOP("TFrmMain", "删除全部图片")),
            Tr(QT_TRANSLATE_NOOP("TFrmMain", "删除当前图片")),
            Tr(QT_TRANSLATE_NOOP("TFrmMain", "编辑图片信息")), true,
            Tr(QT_TRANSLATE_NOOP("TFrmMain", "继续加入图片"))};
}

QString CurAlbumTitle(const QString& albumName) {
    return Tr(QT_TRANSLATE_NOOP("TFrmMain", "编辑相册《%1》中的图片与音乐")).arg(albumName);
}

TMainView ComputeMainView(const TMainInputs& in) {
    TMainView view;
    const int n = in.Rows;
    const int s = in.Selected;
    const QString number = QString::number(n);
    const QString shown = QString::number(s + 1);
    if (in.Page == PageSongs) {
        view.ListTitle =
            n < 1 ? Tr(QT_TRANSLATE_NOOP("TFrmMain", "当前相册全部音乐列表 [暂无音乐]"))
                  : Tr(QT_TRANSLATE_NOOP("TFrmMain", "当前相册全部音乐列表 [共%1张音乐]"))
                        .arg(number);
        view.LookTitle = n < 1 ? Tr(QT_TRANSLATE_NOOP("TFrmMain", "音乐视听[暂无]"))
                               : Tr(QT_TRANSLATE_NOOP("TFrmMain", "音乐视听[第%1张]")).arg(shown);
    } else {
        view.ListTitle =
            n < 1 ? Tr(QT_TRANSLATE_NOOP("TFrmMain", "当前相册全部图片列表 [暂无图片]"))
                  : Tr(QT_TRANSLATE_NOOP("TFrmMain", "当前相册全部图片列表 [共%1张图片]"))
                        .arg(number);
        view.LookTitle = n < 1 ? Tr(QT_TRANSLATE_NOOP("TFrmMain", "图片预览[暂无]"))
                               : Tr(QT_TRANSLATE_NOOP("TFrmMain", "图片预览[第%1张]")).arg(shown);
    }
    // Arrows: enabled, then off at the ends (with no selection, S = -1 is not N - 1).
    view.Up = view.Prev = s >= 1;
    view.Down = view.Next = s != n - 1;
    view.DelOne = s >= 0;
    view.DelAll = n > 0;
    view.Lists = n > 0;
    view.Edit = in.Page == PagePictures && n > 0 && s >= 0 && s < n;
    view.Add = in.AlbumCurrent;
    view.Player = in.PlayerFileExists;
    if (in.AlbumRows > 0) {
        view.AllAlbumTitle =
            Tr(QT_TRANSLATE_NOOP("TFrmMain", "现有相册列表[共%1个]")).arg(in.AlbumRows);
        view.DelAlbum = in.AlbumSelected >= 0;
    } else {
        view.AllAlbumTitle = Tr(QT_TRANSLATE_NOOP("TFrmMain", "现有相册列表[暂无]"));
    }
    view.CurAlbumTitle = CurAlbumTitle(in.AlbumCurrent ? in.AlbumName : QString());
    view.Make = in.PicRows > 0 && in.MusicRows > 0;
    return view;
}

}  // namespace velmora::ui

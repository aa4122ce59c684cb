#include "app/StoreModels.h"

#include <QCoreApplication>
#include <algorithm>

#include "effects/EffectTable.h"
#include "effects/ui/EffectTexts.h"

namespace velmora::ui {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("TFrmMain", text); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text); }

/// Valid records of a list: the count, never more than the array holds.
template <typename TRec>
int ValidCount(const std::vector<TRec>& records, int count) {
    return static_cast<int>(std::min<std::size_t>(records.size(), std::size_t(std::max(count, 0))));
}

}  // namespace

TStoreListModel::TStoreListModel(TAlbumStore& store, QIcon stateIcon, QStringList captions,
                                 QObject* parent)
    : QAbstractTableModel(parent),
      FStore(store),
      FIcon(std::move(stateIcon)),
      FCaptions(std::move(captions)) {}

int TStoreListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TStoreListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FCaptions.size());
}

QVariant TStoreListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= FCaptions.size()) return {};
    return FCaptions[section];
}

QVariant TStoreListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= FRows || index.row() >= StoreCount()) return {};
    if (index.column() == 0) {
        return role == Qt::DecorationRole ? QVariant(FIcon) : QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return CellText(index.row(), index.column());
    }
    return {};
}

void TStoreListModel::Fill() {
    beginResetModel();
    FRows = StoreCount();
    RowsRebuilt();
    endResetModel();
}

void TStoreListModel::Clear() {
    beginResetModel();
    FRows = 0;
    RowsRebuilt();
    endResetModel();
}

void TStoreListModel::RemoveRow(int row) {
    if (row < 0 || row >= FRows) return;
    beginRemoveRows({}, row, row);
    FRows -= 1;
    RowsRebuilt();
    endRemoveRows();
}

void TStoreListModel::RefreshRow(int row) {
    if (row < 0 || row >= FRows) return;
    RowShownAgain(row);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

TAlbumListModel::TAlbumListModel(TAlbumStore& store, QIcon icon, QObject* parent)
    : TStoreListModel(store, std::move(icon),
                      {QString(), Tr(QT_TRANSLATE_NOOP("TFrmMain", "相册名称"))}, parent) {}

int TAlbumListModel::StoreCount() const { return ValidCount(FStore.Albums, FStore.AlbumCount); }

QString TAlbumListModel::CellText(int row, int) const {
    return FromUtf8(FStore.Albums[row].Name.Text());
}

TPicListModel::TPicListModel(TAlbumStore& store, QIcon icon, QObject* parent)
    : TStoreListModel(store, std::move(icon),
                      {QString(), Tr(QT_TRANSLATE_NOOP("TFrmMain", "停留时间")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "过渡效果")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "图片题目")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "备注"))},
                      parent) {}

int TPicListModel::StoreCount() const { return ValidCount(FStore.Pics, FStore.PicCount); }

QString TPicListModel::CellText(int row, int column) const {
    const TPicInfo& pic = FStore.Pics[row];
    switch (column) {
        case 1: {
            const auto typed = FDwellTexts.constFind(row);
            return typed != FDwellTexts.cend() ? *typed : QString::number(pic.Dwell);
        }
        case 2:
            return EffectText(pic.Effect);
        case 3:
            return FromUtf8(pic.Title.Text());
        case 4:
            return FromUtf8(pic.Remark.Text());
        default:
            return {};
    }
}

void TPicListModel::SetDwellText(int row, const QString& text) {
    if (row < 0 || row >= rowCount()) return;
    FDwellTexts.insert(row, text);
    Q_EMIT dataChanged(index(row, 1), index(row, 1));
}

TMusicListModel::TMusicListModel(TAlbumStore& store, QIcon icon, QObject* parent)
    : TStoreListModel(store, std::move(icon),
                      {QString(), Tr(QT_TRANSLATE_NOOP("TFrmMain", "播放时间")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "歌曲名称")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "歌手信息")),
                       Tr(QT_TRANSLATE_NOOP("TFrmMain", "备注信息"))},
                      parent) {}

int TMusicListModel::StoreCount() const { return ValidCount(FStore.Musics, FStore.MusicCount); }

QString TMusicListModel::CellText(int row, int column) const {
    const TMusicInfo& song = FStore.Musics[row];
    switch (column) {
        case 1:
            return QString::number(song.PlayTime);
        case 2:
            return FromUtf8(song.SongName.Text());
        case 3:
            return FromUtf8(song.Singer.Text());
        case 4:
            return FromUtf8(song.Remark.Text());
        default:
            return {};
    }
}

}  // namespace velmora::ui

#pragma once
// The three lists of the main window as views over the album store: row i shows record i,
// read from the store when the view paints it, so filling a list of 10,000 records costs no
// more than filling one of ten. A list has as many rows as it was last filled with (a fill
// takes the store's count), and keeps them in step through the row operations below.

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

#include "store/Pub.h"

namespace velmora::ui {

/// What the lists share: the store, the row count and the state icon of column 0.
class TStoreListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TStoreListModel(TAlbumStore& store, QIcon stateIcon, QStringList captions,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// Rebuilds all rows from the store's records (the fill helpers).
    void Fill();
    /// Removes every row.
    void Clear();
    /// Removes row `row` (the record was deleted).
    void RemoveRow(int row);
    /// Row `row` shows its record again.
    void RefreshRow(int row);

protected:
    /// Number of records the store holds for this list.
    virtual int StoreCount() const = 0;
    /// Text of column `column` (1 and up) of record `row`.
    virtual QString CellText(int row, int column) const = 0;
    /// Forgets per-row display overrides (rows were rebuilt or removed).
    virtual void RowsRebuilt() {}
    /// Forgets the display overrides of one row (it shows its record again).
    virtual void RowShownAgain(int) {}

    TAlbumStore& FStore;

private:
    QIcon FIcon;
    QStringList FCaptions;
    int FRows = 0;
};

/// LvwA: the album names.
class TAlbumListModel : public TStoreListModel {
    Q_OBJECT
public:
    TAlbumListModel(TAlbumStore& store, QIcon icon, QObject* parent = nullptr);

protected:
    int StoreCount() const override;
    QString CellText(int row, int column) const override;
};

/// LvwP: dwell, effect name, title, remark.
class TPicListModel : public TStoreListModel {
    Q_OBJECT
public:
    TPicListModel(TAlbumStore& store, QIcon icon, QObject* parent = nullptr);

    /// Column "停留时间" of `row` shows `text` as typed until the row is shown again.
    void SetDwellText(int row, const QString& text);

protected:
    int StoreCount() const override;
    QString CellText(int row, int column) const override;
    void RowsRebuilt() override { FDwellTexts.clear(); }
    void RowShownAgain(int row) override { FDwellTexts.remove(row); }

private:
    QHash<int, QString> FDwellTexts;
};

/// LvwM: play time, song name, singer, remark.
class TMusicListModel : public TStoreListModel {
    Q_OBJECT
public:
    TMusicListModel(TAlbumStore& store, QIcon icon, QObject* parent = nullptr);

protected:
    int StoreCount() const override;
    QString CellText(int row, int column) const override;
};

}  // namespace velmora::ui

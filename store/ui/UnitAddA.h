#pragma once
// TFrmAddA: the create-album dialog. It lists the existing albums, checks the typed name on
// every change (the rules and notices are the catalogue's, store/Catalogue.h), drops the
// characters a folder name cannot hold as they are typed, and creates albums through the
// catalogue. It stays open after a creation, so several albums can be made in one visit.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {
class TAlbumStore;
}

namespace velmora::ui {

class TServices;

class TFrmAddA : public QDialog {
    Q_OBJECT

public:
    /// The dialog over `store`; errors of a creation are shown through `services`.
    TFrmAddA(TAlbumStore& store, TServices& services, QWidget* parent = nullptr);

    /// Index in store.Albums of the album created last in this visit, -1 when none. The
    /// dialog ends Accepted when it created at least one album, Rejected otherwise.
    int CreatedIndex() const noexcept { return FCreatedIndex; }

    // The controls, named as the window names them (for the tests).
    QLabel* Lab = nullptr;
    QListWidget* Lst = nullptr;
    QLineEdit* Edt = nullptr;
    QPushButton* BtnAdd = nullptr;
    QPushButton* BtnClose = nullptr;
    QLabel* PnlNotice = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void EdtChange();
    void BtnAddClick();
    bool EdtKeyPress(QKeyEvent* event);
    void UpdateListLabel();

    TAlbumStore& FStore;
    TServices& FServices;
    int FCreatedIndex = -1;
};

}  // namespace velmora::ui

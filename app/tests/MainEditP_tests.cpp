// The picture editor opened from the main window by its button, as a person uses it: the
// editor works on the selected row, its Save and "到全部" show in the main window's list, and
// stepping moves the list's selection with it.

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "app/tests/MainFixture.h"
#include "effects/ui/UnitEditP.h"

namespace velmora::test {
namespace {

class MainEditP : public MainFixture {
protected:
    // Clicks BtnEditP; `work` runs inside the modal editor, which is closed after it.
    void WithEditor(const std::function<void(ui::TFrmEditP&)>& work) {
        bool ran = false;
        QTimer::singleShot(0, Window.get(), [&] {
            auto* editor = qobject_cast<ui::TFrmEditP*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            ran = true;
            work(*editor);
            editor->close();
        });
        QTest::mouseClick(W().BtnEditP, Qt::LeftButton);
        EXPECT_TRUE(ran);
    }
    QString Cell(int row, int column) {
        return W().LvwP->model()->index(row, column).data().toString();
    }
};

TEST_F(MainEditP, EditorFromTheMainWindowUpdatesItsList) {
    AddAlbum("相册", 3, 0);
    Open();
    W().show();
    ui::TFrmMain::SelectRow(W().LvwP, 1);
    WithEditor([&](ui::TFrmEditP& editor) {
        EXPECT_EQ(editor.windowTitle(), "图片编辑[第[2]张]");
        EXPECT_EQ(editor.EdtSJ->text(), "4");  // picture 1 of the fixture dwells 4 s
        editor.EdtTM->setText("海边");
        editor.LbXG->setCurrentRow(13);
        QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        EXPECT_EQ(Cell(1, 3), "海边");
        EXPECT_EQ(Cell(1, 2), "从左向右流入");

        QTest::mouseClick(editor.SbtnNP, Qt::LeftButton);
        EXPECT_EQ(Selected(W().LvwP), 2);
        EXPECT_EQ(editor.windowTitle(), "图片编辑[第[3]张]");

        editor.EdtSJ->setText("9");
        editor.EdtSJ->setCursorPosition(0);
        editor.EdtSJ->insert("00");
        QTest::mouseClick(editor.BtnToAll, Qt::LeftButton);
        for (int row = 0; row < 3; ++row) EXPECT_EQ(Cell(row, 1), "009");
    });
    EXPECT_TRUE(Services.Prompts.isEmpty());
    for (const TPicInfo& pic : Store.Pics) EXPECT_EQ(pic.Dwell, 9);
    TAlbumStore disk;
    disk.AlbumPath = Store.AlbumPath;
    disk.LoadRecords("P");
    ASSERT_EQ(disk.PicCount, 3);
    EXPECT_EQ(disk.Pics[1].Title.Text(), "海边");
    EXPECT_EQ(disk.Pics[1].Effect, 13);
    EXPECT_EQ(disk.Pics[2].Dwell, 9);
}

}  // namespace
}  // namespace velmora::test

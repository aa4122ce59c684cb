#include "widgets/ImportDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "widgets/Guard.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

constexpr int ClientWidth = 434;
constexpr int ClientHeight = 125;
constexpr int StartInterval = 1000;  // ms from showing to the first file

}  // namespace

TImportDialog::TImportDialog(const QString& caption, TServices& services, const QStringList& files,
                             QWidget* parent)
    : QDialog(parent), FServices(services) {
    setWindowTitle(caption);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (const QString& file : files) FFiles.push_back(QFile::encodeName(file).toStdString());
    BuildControls();
    setFixedSize(ClientWidth, ClientHeight);
    Timer1 = new QTimer(this);
    Timer1->setInterval(StartInterval);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Button1, &QPushButton::clicked, this, [this] { FCancelTag = 1; });
}

TImportDialog::~TImportDialog() = default;

void TImportDialog::BuildControls() {
    Label1 = new QLabel(tr("正在导入文件："), this);
    Label1->setGeometry(24, 14, 385, 18);
    // The root of the file system stands where the form shows a drive's root before the
    // first file.
    Label2 = new QLabel(QStringLiteral("/"), this);
    Label2->setGeometry(24, 33, 385, 18);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(24, 56, 385, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Button1 = new QPushButton(tr("取消"), this);
    Button1->setGeometry(334, 88, 75, 25);
    // Enter never reaches a default button: the import ends only by itself.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
}

QString TImportDialog::DecodeName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TImportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The import starts one interval after the dialog is on screen, and only once.
    if (!FStarted) {
        FStarted = true;
        Timer1->start();
    }
}

void TImportDialog::ShowPass(int position, int count, const std::string& path) {
    ProgressBar1->setValue(position);
    Label1->setText(tr("正在导入文件：（%1/%2）").arg(position).arg(count));
    FCurrentPath = DecodeName(path);
    Label2->setText(
        QFontMetrics(Label2->font()).elidedText(FCurrentPath, Qt::ElideMiddle, Label2->width()));
    Label2->setToolTip(FCurrentPath);
    // The labels repaint and a click on "取消" is handled here, between files.
    QCoreApplication::processEvents();
    if (AfterEventsForTests) AfterEventsForTests(position);
}

void TImportDialog::Timer1Timer() {
    Timer1->stop();
    if (FRunning || FFinishing) return;
    FRunning = true;
    ProgressBar1->setRange(0, static_cast<int>(FFiles.size()));
    ProgressBar1->setValue(0);
    RunGuarded(this, FServices, [this] { FOutcome = RunImport(); });
    FRunning = false;
    accept();
}

void TImportDialog::done(int result) {
    // While files are being imported the dialog stays: the import closes it at its end.
    if (FRunning) return;
    FFinishing = true;  // a start timer that still fires imports nothing now
    Timer1->stop();
    QDialog::done(result);
}

void TImportDialog::closeEvent(QCloseEvent* event) {
    if (FRunning) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TImportDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();  // neither ends an import, nor the dialog before it starts
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

QString SkippedFilesText(const QStringList& skipped, int shown) {
    QString text = TImportDialog::tr("有%1个文件无法导入，已跳过：").arg(skipped.size());
    const int listed = std::min<int>(shown, static_cast<int>(skipped.size()));
    for (int i = 0; i < listed; ++i) text += QLatin1Char('\n') + skipped[i];
    if (skipped.size() > listed) {
        text +=
            QLatin1Char('\n') + TImportDialog::tr("……另有%1个文件").arg(skipped.size() - listed);
    }
    return text;
}

void ShowSkippedFiles(QWidget* parent, TServices& services, const QStringList& skipped) {
    if (skipped.isEmpty()) return;
    services.Prompt(parent, TPrompt{SkippedFilesText(skipped), TImportDialog::tr("提示"),
                                    QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok});
}

int ExecImport(TImportDialog& dialog, QWidget* parent, TServices& services) {
    dialog.exec();
    ShowSkippedFiles(parent, services, dialog.Outcome().Skipped);
    return dialog.Outcome().Imported;
}

}  // namespace velmora::ui

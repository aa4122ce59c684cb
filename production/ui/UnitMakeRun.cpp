// The production run from the dialog: SbtnMake starts the core's run on a worker thread, the
// dialog shows its progress, remaining time and preview frames as they arrive, SbtnStop asks it
// to stop, and when it has ended the dialog restores its settings and reports the outcome.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include "production/ui/MakeWorker.h"
#include "production/ui/UnitMake.h"
#include "store/Pub.h"
#include "widgets/Guard.h"
#include "widgets/ImageView.h"
#include "widgets/Services.h"

namespace velmora::ui {

TProductionSettings TFrmMake::CollectSettings() const {
    TProductionSettings settings;
    settings.OutputType = OutputType();
    settings.OutputPath = QFile::encodeName(EdtOut->text().trimmed()).toStdString();
    settings.Sync = CboxTB->isChecked();
    settings.Fade = CboxMH->isChecked();
    settings.Background.UsePictures = RbtnTP->isChecked();
    settings.Background.Colour = FColour.rgb() & 0xFFFFFFu;
    settings.Background.Blur = RbtnBlur->isChecked();
    settings.DiscImage = CboxDisc->isChecked() && CboxDisc->isEnabled();
    // The checked background pictures, in list order, as full paths.
    const std::string folder = BackPicFolder(FStore.RootPath);
    for (int row = 0; row < Clb1->count(); ++row) {
        const QListWidgetItem* item = Clb1->item(row);
        if (item->checkState() == Qt::Checked) {
            settings.Background.Pictures.push_back(folder +
                                                   QFile::encodeName(item->text()).toStdString());
        }
    }
    return settings;
}

void TFrmMake::SbtnMakeClick() {
    if (FRunActive) return;
    TProductionSettings settings;
    std::string refusal;
    const bool checked = RunGuarded(this, FServices, [&] {
        settings = CollectSettings();
        refusal = CheckProduction(FStore, settings);
    });
    if (!checked) return;
    if (!refusal.empty()) {
        ShowError(this, FServices, std::runtime_error(refusal));
        return;
    }

    FRunActive = true;
    SbtnMake->setEnabled(false);
    SbtnStop->setEnabled(true);
    ImgMpg->Clear();
    SetSettingsEnabled(false);
    Lguage->setText(tr("完成进度：0%"));

    // The hourglass while the run sets itself up, until its first progress report.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FWaitCursor = true;
    FWorker = new TProductionWorker(FStore, std::move(settings), this);
    connect(FWorker, &TProductionWorker::ProgressChanged, this, &TFrmMake::WorkerProgress);
    connect(FWorker, &TProductionWorker::PreviewFrame, this, &TFrmMake::WorkerPreview);
    connect(FWorker, &TProductionWorker::Finished, this, &TFrmMake::RunEnded);
    FWorker->Start();

    // Long still stretches change no text; the run's controls are repainted anyway, so the
    // window never looks frozen during a run.
    if (FRepaintTimer == nullptr) {
        FRepaintTimer = new QTimer(this);
        FRepaintTimer->setInterval(50);
        connect(FRepaintTimer, &QTimer::timeout, this, [this] {
            ImgMpg->update();
            Lguage->update();
            LOverTine->update();
        });
    }
    FRepaintTimer->start();
}

void TFrmMake::SbtnStopClick() {
    if (FWorker != nullptr) FWorker->Stop();
    SbtnStop->setEnabled(false);
}

void TFrmMake::SetSettingsEnabled(bool enabled) {
    RGOutType->setEnabled(enabled);
    SpeedButton3->setEnabled(enabled);
    CboxTB->setEnabled(enabled);
    GroupBox3->setEnabled(enabled);
}

void TFrmMake::RestoreCursor() {
    if (!FWaitCursor) return;
    FWaitCursor = false;
    QApplication::restoreOverrideCursor();
}

void TFrmMake::WorkerProgress(const QString& progress, const QString& time) {
    RestoreCursor();
    Lguage->setText(progress);
    LOverTine->setText(time);
}

void TFrmMake::WorkerPreview(const QImage& frame) { ImgMpg->SetPicture(frame); }

void TFrmMake::RunEnded() {
    FLastReport = FWorker->Report();
    FWorker->deleteLater();
    FWorker = nullptr;
    if (FRepaintTimer != nullptr) FRepaintTimer->stop();
    RestoreCursor();

    SetSettingsEnabled(true);
    Lguage->setText(tr("相册生成完毕!"));
    LOverTine->setText(tr("剩余时间：00:00"));
    SbtnMake->setEnabled(true);
    SbtnStop->setEnabled(false);
    ImgMpg->Clear();
    Image1->update();
    FRunActive = false;

    ShowReport(FLastReport);
    Q_EMIT RunFinished();
}

void TFrmMake::ShowReport(const TProductionReport& report) {
    const QString output = QFile::decodeName(QByteArray::fromStdString(report.OutputPath));
    // Success only when the conversion succeeded and its file is there; a stopped run counts
    // (its shorter file is playable). A failed run says why, even when an old or partial file
    // of that name exists.
    if (report.Success && QFileInfo(output).isFile()) {
        const QMessageBox::StandardButton answer =
            FServices.Prompt(this, TPrompt{tr("文件生成完毕！请确定查看。"), tr("完成"),
                                           QMessageBox::Yes | QMessageBox::No,
                                           QMessageBox::Information, QMessageBox::Yes});
        if (answer == QMessageBox::Yes) {
            FServices.OpenUrl(QUrl::fromLocalFile(QFileInfo(output).absolutePath()));
        }
    } else {
        QString text = tr("创建相册视频文件出错，请重新制作！");
        if (!report.FailureDetail.empty()) {
            text += QStringLiteral("\n\n") + QString::fromStdString(report.FailureDetail);
        }
        FServices.Prompt(this, TPrompt{text, tr("错误"), QMessageBox::Ok, QMessageBox::Information,
                                       QMessageBox::Ok});
    }
    // Pictures that could not be decoded, songs that were skipped, a disc image that could
    // not be made: one notice for all.
    if (!report.Notices.empty() || !report.DiscFailure.empty()) {
        QStringList lines;
        for (const std::string& notice : report.Notices) {
            lines.append(QString::fromStdString(notice));
        }
        if (!report.DiscFailure.empty()) lines.append(QString::fromStdString(report.DiscFailure));
        FServices.Prompt(this, TPrompt{lines.join(QLatin1Char('\n')), QStringLiteral("Velmora"),
                                       QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok});
    }
}

}  // namespace velmora::ui

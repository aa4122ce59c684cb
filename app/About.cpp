#include "app/About.h"

#include <SDL.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/avutil.h>
}

#include "app/Artwork.h"
#include "widgets/AppFont.h"

namespace velmora::ui {

namespace {

QString Row(const QString& name, const QString& version, const QString& licence) {
    return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>")
        .arg(name.toHtmlEscaped(), version.toHtmlEscaped(), licence.toHtmlEscaped());
}

}  // namespace

QString TFrmAbout::VersionText() { return QStringLiteral(VELMORA_VERSION); }

QString TFrmAbout::LicencesHtml() {
    SDL_version sdl{};
    SDL_GetVersion(&sdl);
    const QString sdlVersion =
        QStringLiteral("%1.%2.%3").arg(sdl.major).arg(sdl.minor).arg(sdl.patch);
    // FFmpeg's licence depends on how the installed libraries were built; they say it.
    const QString ffmpegLicence = QString::fromUtf8(avcodec_license());
    QString html = QStringLiteral("<table cellspacing='0' cellpadding='2'>");
    html += Row(QStringLiteral("Qt"), QString::fromLatin1(qVersion()),
                QStringLiteral("LGPL 3"));
    html += Row(QStringLiteral("FFmpeg"), QString::fromUtf8(av_version_info()), ffmpegLicence);
    html += Row(QStringLiteral("SDL2"), sdlVersion, QStringLiteral("zlib"));
    html += Row(QStringLiteral("libjpeg-turbo"), QString(), QStringLiteral("IJG, BSD-3-Clause, zlib"));
    html += Row(QStringLiteral("pixman"), QString(), QStringLiteral("MIT"));
    html += Row(QStringLiteral("FreeType"), QString(), QStringLiteral("FreeType License (BSD-style)"));
    html += Row(QStringLiteral("fontconfig"), QString(), QStringLiteral("MIT"));
    html += Row(QStringLiteral("libwmf"), QString(), QStringLiteral("LGPL 2"));
    html += Row(QStringLiteral("libemf2svg"), QString(), QStringLiteral("GPL 2"));
    html += Row(QStringLiteral("librsvg"), QString(), QStringLiteral("LGPL 2.1 or later"));
    html += Row(QStringLiteral("cairo"), QString(), QStringLiteral("LGPL 2.1 / MPL 1.1"));
    html += Row(QStringLiteral("iconv (GNU C Library)"), QString(), QStringLiteral("LGPL 2.1 or later"));
    html += Row(QStringLiteral("CLI11"), QString(), QStringLiteral("BSD-3-Clause"));
    html += Row(QStringLiteral("nlohmann-json"), QString(), QStringLiteral("MIT"));
    html += QStringLiteral("</table>");
    return html;
}

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent), FLicences(new QTextBrowser(this)) {
    setWindowTitle(tr("关于 Velmora"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(480, 420);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(ArtIcon(TArt::Program).pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Velmora"), this);
    QFont big = SongFont(20);
    big.setBold(true);
    name->setFont(big);
    header->addWidget(icon);
    header->addWidget(name, 1);
    layout->addLayout(header);
    auto* version = new QLabel(tr("版本 %1").arg(VersionText()), this);
    version->setObjectName(QStringLiteral("LblVersion"));
    layout->addWidget(version);
    auto* about = new QLabel(tr("把照片和MP3歌曲制作成电子相册视频（VCD、SVCD、DVD）。"), this);
    about->setWordWrap(true);
    layout->addWidget(about);
    layout->addWidget(new QLabel(tr("本程序使用的程序库及其许可证："), this));
    FLicences->setObjectName(QStringLiteral("Licences"));
    FLicences->setHtml(LicencesHtml());
    layout->addWidget(FLicences, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace velmora::ui

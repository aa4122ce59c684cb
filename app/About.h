#pragma once
// The About box: product name, version (the build's project version) and the licences of the
// libraries the program uses.

#include <QDialog>

class QTextBrowser;

namespace velmora::ui {

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* parent = nullptr);

    /// The version shown, the same text the build gives the project.
    static QString VersionText();
    /// The licence list as HTML (shown in the box's text area).
    static QString LicencesHtml();

private:
    QTextBrowser* FLicences;
};

}  // namespace velmora::ui

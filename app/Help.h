#pragma once
// The help action and the two product pages: local HTML files shipped with the program,
// opened with the desktop's default handler through the window services. A missing file is
// not reported (the action then does nothing).

#include <QString>

namespace velmora::ui {

class TServices;

/// Paths of the shipped pages.
QString ManualPath();        ///< manual/index.html (Chinese), manual/en/index.html (English)
QString ProductPagePath();   ///< pages/product.html, opened when the main window closes
QString WhatsNewPagePath();  ///< pages/whatsnew.html, opened by a click on the ticker

/// Opens the manual (PnlHelp, and the picture editor's help). False when it is missing or
/// the desktop could not open it.
bool ShowHelp(TServices& services);
/// Opens the product page.
bool OpenProductPage(TServices& services);
/// Opens the "what's new" page.
bool OpenWhatsNewPage(TServices& services);

}  // namespace velmora::ui

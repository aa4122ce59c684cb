#pragma once
// Fixtures of the picture editor's tests: a real album store in a temporary folder, made
// through the core (album created, pictures drawn by ImageMagick and imported), and a main
// window stand-in that records what the editor asks of it.

#include <QImage>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "effects/ui/EditPHost.h"
#include "imaging/Bitmap.h"
#include "store/Pub.h"
#include "tests/TestSupport.h"

namespace velmora::test {

/// What the editor asked of the main window, in order.
class TTestEditPHost : public ui::TEditPHost {
public:
    explicit TTestEditPHost(const TAlbumStore& store) : FStore(store) {}

    /// Rows refreshed, each with the texts the list would show then: dwell, effect name,
    /// title, remark.
    std::vector<std::pair<int, QStringList>> Refreshed;
    std::vector<std::pair<int, QString>> DwellTexts;
    std::vector<int> Selected;
    int HelpCount = 0;

    void RefreshPictureRow(int index) override;
    void SetPictureDwellText(int index, const QString& text) override;
    void SelectPicture(int index) override { Selected.push_back(index); }
    void ShowHelp() override { ++HelpCount; }

private:
    const TAlbumStore& FStore;
};

/// A store with one album of `colours.size()` pictures, each a `width` x `height` picture of
/// one colour (ImageMagick names such as "red"), imported through the core.
class TEditPStore {
public:
    explicit TEditPStore(const std::vector<std::string>& colours, int width = 200,
                         int height = 100);

    TAlbumStore Store;
    /// The bytes of the album's "PicInfo" file now.
    std::vector<std::uint8_t> PicInfoBytes() const;
    /// The album's records as a fresh store reads them from disk.
    std::vector<TPicInfo> RecordsOnDisk() const;

private:
    TempDir FDir;
};

/// The shown picture in the form a QImage comparison needs.
QImage AsImage(const Bitmap& bitmap);

}  // namespace velmora::test

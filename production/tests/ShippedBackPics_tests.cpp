// The shipped background pictures offered to a store on its first start.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "production/ProductionSettings.h"
#include "production/ShippedBackPics.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(ShippedBackPics, FirstStartCopiesTheJpegPicturesOnce) {
    test::TempDir shipped;
    test::TempDir root;
    test::WriteText(shipped / "sea.jpg", "sea");
    test::WriteText(shipped / "Dawn.JPG", "dawn");
    test::WriteText(shipped / "readme.txt", "not a picture");
    fs::create_directories(shipped / "folder.jpg");

    EXPECT_EQ(OfferShippedBackPics(root.Dir(), shipped.Dir()), 2);
    std::vector<std::string> listed = ListBackPictures(root.Dir());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"Dawn.JPG", "sea.jpg"}));
    EXPECT_EQ(test::ReadBytes(root / "BackPic/sea.jpg"), test::ReadBytes(shipped / "sea.jpg"));
    EXPECT_FALSE(fs::exists(root / "BackPic/readme.txt"));
    // Nothing is left beside the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root.Path())) ++entries;
    EXPECT_EQ(entries, 1);

    // The user's own choice stands: a removed picture is not offered again.
    fs::remove(root / "BackPic/sea.jpg");
    EXPECT_EQ(OfferShippedBackPics(root.Dir(), shipped.Dir()), 0);
    EXPECT_EQ(ListBackPictures(root.Dir()), (std::vector<std::string>{"Dawn.JPG"}));
}

TEST(ShippedBackPics, ExistingOrMissingFoldersAreLeftAlone) {
    test::TempDir shipped;
    test::TempDir root;
    test::WriteText(shipped / "sea.jpg", "sea");
    // An emptied BackPic is the user's.
    fs::create_directories(root / "BackPic");
    EXPECT_EQ(OfferShippedBackPics(root.Dir(), shipped.Dir()), 0);
    EXPECT_TRUE(fs::is_empty(root / "BackPic"));
    // Nothing shipped (a data folder that is missing): no BackPic made.
    test::TempDir other;
    EXPECT_EQ(OfferShippedBackPics(other.Dir(), other.Dir() + "missing/"), 0);
    EXPECT_FALSE(fs::exists(other / "BackPic"));
}

}  // namespace
}  // namespace velmora

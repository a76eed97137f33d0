// The embedded artwork and the image lists cut from it.
#include <gtest/gtest.h>
#include <vector>
#include <wx/image.h>

#include "controls/CBitmapImageList.h"
#include "controls/ResourceArt.h"
#include "resources/ResourceIds.h"

namespace {

const wxColour kMagenta(255, 0, 255);

int OpaquePixels(const wxImage& img) {
    int opaque = 0;
    for (int y = 0; y < img.GetHeight(); ++y)
        for (int x = 0; x < img.GetWidth(); ++x)
            opaque += !img.HasAlpha() || img.GetAlpha(x, y) > 128;
    return opaque;
}

// What shows of a picture: alpha everywhere, colour wherever a pixel is fully opaque.
std::vector<int> Visible(const wxImage& img) {
    std::vector<int> seen;
    for (int y = 0; y < img.GetHeight(); ++y)
        for (int x = 0; x < img.GetWidth(); ++x) {
            const int a = img.HasAlpha() ? img.GetAlpha(x, y) : -1;
            seen.insert(
                seen.end(),
                {a, a == 255 ? (img.GetRed(x, y) << 16) | (img.GetGreen(x, y) << 8) | img.GetBlue(x, y) : 0});
        }
    return seen;
}

TEST(ControlsArt, EveryImageOfEveryStripDrawsSomethingAndNothingLiesBeyond) {
    for (int id : {IDR_MAINFRAME, IDB_IMAGES16, IDB_IMAGES32, IDB_FOLDER_TREE, IDB_BROWSE_FOLDER,
                   IDB_ERROR_SIGN, IDB_DECORATION, IDB_GEARS}) {
        SCOPED_TRACE(id);
        const int count = GetStripImageCount(id);
        const wxSize cell = GetStripImageSize(id);
        ASSERT_GT(count, 0);
        EXPECT_EQ(GetResourceBitmap(id).GetDefaultSize(), wxSize(cell.x * count, cell.y));
        for (int i = 0; i < count; ++i) {
            const wxImage img = GetStripImage(id, i).GetBitmap(cell).ConvertToImage();
            ASSERT_EQ(img.GetSize(), cell) << i;
            EXPECT_GT(OpaquePixels(img), cell.x * cell.y / 8) << i;
        }
        EXPECT_FALSE(GetStripImage(id, count).IsOk());
        EXPECT_FALSE(GetStripImage(id, -1).IsOk());
    }
    // The code names the images of these strips one by one.
    EXPECT_EQ(GetStripImageCount(IDB_IMAGES16), IMAGES_COUNT);
    EXPECT_EQ(GetStripImageCount(IDB_IMAGES32), IMAGES_COUNT);
    EXPECT_EQ(GetStripImageCount(IDB_FOLDER_TREE), TREE_IMAGES_COUNT);
    EXPECT_EQ(GetStripImageCount(IDR_MAINFRAME), TOOLBAR_IMAGES_COUNT);
}

// Each list as the program creates it holds the strip's own pictures: the artwork's
// transparency kept, and pixels of the mask colour cleared on top of it.
TEST(ControlsArt, ImageListsHoldTheStripsPicturesWithTheMaskColourCleared) {
    struct Case {
        int id;
        int size; // 0: square, as high as the bitmap
        wxColour mask;
    } const cases[] = {{IDB_IMAGES16, 16, kMagenta},
                       {IDB_IMAGES32, 32, kMagenta},
                       {IDB_FOLDER_TREE, 0, kMagenta},
                       {IDB_BROWSE_FOLDER, 16, wxColour(0, 255, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CBitmapImageList list;
        ASSERT_TRUE(c.size ? list.CreateFromBitmap(c.id, c.size, c.size, c.mask)
                           : list.CreateFromSquareBitmap(c.id, c.mask));
        ASSERT_EQ(list.GetImageCount(), GetStripImageCount(c.id));
        const wxSize cell = GetStripImageSize(c.id);
        EXPECT_EQ(list.GetSize(), cell);
        for (int i = 0; i < list.GetImageCount(); ++i)
            ASSERT_TRUE(Visible(list.GetBitmap(i).ConvertToImage()) ==
                        Visible(GetStripImage(c.id, i).GetBitmap(cell).ConvertToImage()))
                << i;
    }
    // Keyed on white, the enabled button's white plus disappears; the green around it stays.
    CBitmapImageList keyed;
    ASSERT_TRUE(keyed.CreateFromBitmap(IDB_IMAGES16, 16, 16, *wxWHITE));
    const wxImage img = keyed.GetBitmap(IMG_PROFILE_ENABLED).ConvertToImage();
    EXPECT_EQ(img.GetAlpha(8, 8), 0);
    EXPECT_EQ(img.GetAlpha(3, 8), 255);
}

TEST(ControlsArt, EachIconIsExactlyItsSize) {
    // Not a larger rendering marked as high-resolution.
    for (const wxIconBundle& icons : {GetAppIcons(), GetDocumentIcons()})
        for (int s : {16, 32, 48, 256}) {
            const wxIcon icon = icons.GetIcon(wxSize(s, s), wxIconBundle::FALLBACK_NONE);
            ASSERT_TRUE(icon.IsOk()) << s;
            EXPECT_EQ(icon.GetLogicalWidth(), s);
            EXPECT_EQ(icon.GetWidth(), s);
        }
}

} // namespace

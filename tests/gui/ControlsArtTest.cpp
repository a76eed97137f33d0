// The embedded artwork and the image lists cut from it.
#include <gtest/gtest.h>
#include <wx/image.h>

#include "controls/CBitmapImageList.h"
#include "controls/ResourceArt.h"
#include "resources/ResourceIds.h"

namespace {

const wxColour kMagenta(255, 0, 255);

struct StripCase {
    int id;
    int count;
    wxSize cell;
};

TEST(ControlsArt, EveryStripHasItsImagesAtItsCellSize) {
    const StripCase cases[] = {
        {IDR_MAINFRAME, 16, {16, 15}},  {IDB_IMAGES16, 7, {16, 16}},      {IDB_IMAGES32, 7, {32, 32}},
        {IDB_FOLDER_TREE, 4, {16, 16}}, {IDB_BROWSE_FOLDER, 1, {16, 16}}, {IDB_ERROR_SIGN, 1, {32, 32}},
        {IDB_DECORATION, 1, {32, 32}},  {IDB_GEARS, 1, {40, 32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(GetStripImageCount(c.id), c.count);
        EXPECT_EQ(GetStripImageSize(c.id), c.cell);
        const wxBitmapBundle whole = GetResourceBitmap(c.id);
        ASSERT_TRUE(whole.IsOk());
        EXPECT_EQ(whole.GetDefaultSize(), wxSize(c.cell.x * c.count, c.cell.y));
        for (int i = 0; i < c.count; ++i) {
            const wxBitmapBundle one = GetStripImage(c.id, i);
            ASSERT_TRUE(one.IsOk()) << i;
            const wxBitmap bmp = one.GetBitmap(c.cell);
            ASSERT_TRUE(bmp.IsOk()) << i;
            EXPECT_EQ(bmp.GetSize(), c.cell);
            // Every image draws something: not all transparent.
            const wxImage img = bmp.ConvertToImage();
            int opaque = 0;
            for (int y = 0; y < img.GetHeight(); ++y)
                for (int x = 0; x < img.GetWidth(); ++x)
                    opaque += !img.HasAlpha() || img.GetAlpha(x, y) > 128;
            EXPECT_GT(opaque, img.GetWidth() * img.GetHeight() / 8) << i;
        }
        EXPECT_FALSE(GetStripImage(c.id, c.count).IsOk());
    }
    EXPECT_FALSE(GetResourceBitmap(999).IsOk());
    EXPECT_FALSE(GetStripImage(IDB_IMAGES16, -1).IsOk());
}

TEST(ControlsArt, DoubleScaleRendersTwiceAsManyPixels) {
    const wxBitmap big = GetStripImage(IDB_IMAGES16, IMG_PADLOCK).GetBitmap(wxSize(32, 32));
    EXPECT_EQ(big.GetSize(), wxSize(32, 32));
    const wxBitmap strip = GetResourceBitmap(IDR_MAINFRAME).GetBitmap(wxSize(16 * 32, 30));
    EXPECT_EQ(strip.GetSize(), wxSize(16 * 32, 30));
}

TEST(ControlsArt, ImageListsHoldTheStripsImages) {
    CBitmapImageList small, large, tree, browse, toolbar;
    ASSERT_TRUE(small.CreateFromBitmap(IDB_IMAGES16, 16, 16, kMagenta));
    EXPECT_EQ(small.GetImageCount(), 7);
    EXPECT_EQ(small.GetSize(), wxSize(16, 16));
    ASSERT_TRUE(large.CreateFromBitmap(IDB_IMAGES32, 32, 32, kMagenta));
    EXPECT_EQ(large.GetImageCount(), 7);
    EXPECT_EQ(large.GetSize(), wxSize(32, 32));
    ASSERT_TRUE(tree.CreateFromSquareBitmap(IDB_FOLDER_TREE, kMagenta));
    EXPECT_EQ(tree.GetImageCount(), 4);
    EXPECT_EQ(tree.GetSize(), wxSize(16, 16));
    ASSERT_TRUE(browse.CreateFromBitmap(IDB_BROWSE_FOLDER, 16, 16, wxColour(0, 255, 0)));
    EXPECT_EQ(browse.GetImageCount(), 1);
    ASSERT_TRUE(toolbar.CreateFromBitmap(IDR_MAINFRAME, 16, 15, kMagenta));
    EXPECT_EQ(toolbar.GetImageCount(), 16);

    CBitmapImageList missing;
    EXPECT_FALSE(missing.CreateFromBitmap(999, 16, 16, kMagenta));
    EXPECT_FALSE(missing.CreateFromSquareBitmap(999, kMagenta));
}

TEST(ControlsArt, ImageCornersAreTransparentAndCentresOpaque) {
    CBitmapImageList small;
    ASSERT_TRUE(small.CreateFromBitmap(IDB_IMAGES16, 16, 16, kMagenta));
    // The round buttons leave their corners free and fill their middle.
    for (int i : {IMG_PROFILE_ENABLED, IMG_STRIPED_BUTTON, IMG_PROFILE_DISABLED}) {
        const wxImage img = small.GetBitmap(i).ConvertToImage();
        ASSERT_TRUE(img.HasAlpha()) << i;
        EXPECT_EQ(img.GetAlpha(0, 0), 0) << i;
        EXPECT_EQ(img.GetAlpha(15, 15), 0) << i;
        EXPECT_EQ(img.GetAlpha(8, 8), 255) << i;
    }
}

TEST(ControlsArt, MaskColourPixelsBecomeTransparent) {
    // The folder image paints no pure green, so keying on a colour it does use
    // (its white highlight is not pure either) is checked with the enabled
    // button's white plus: keyed on white, the plus disappears.
    CBitmapImageList keyed;
    ASSERT_TRUE(keyed.CreateFromBitmap(IDB_IMAGES16, 16, 16, *wxWHITE));
    const wxImage img = keyed.GetBitmap(IMG_PROFILE_ENABLED).ConvertToImage();
    EXPECT_EQ(img.GetAlpha(8, 8), 0);
    EXPECT_EQ(img.GetAlpha(3, 8), 255); // the green around it stays
}

TEST(ControlsArt, IconsAndDesktopFiles) {
    const wxIconBundle icons = GetAppIcons();
    EXPECT_GE(icons.GetIconCount(), 5u);
    // Each icon is exactly its size, not a larger rendering marked as high-resolution.
    for (int s : {16, 32, 48, 256}) {
        const wxIcon icon = icons.GetIcon(wxSize(s, s), wxIconBundle::FALLBACK_NONE);
        ASSERT_TRUE(icon.IsOk()) << s;
        EXPECT_EQ(icon.GetLogicalWidth(), s);
        EXPECT_EQ(icon.GetWidth(), s);
    }
    EXPECT_TRUE(GetDocumentIcons().GetIcon(wxSize(16, 16)).IsOk());

    const std::string desktop = GetDesktopFile();
    EXPECT_NE(desktop.find("Exec=corvane %f"), std::string::npos);
    EXPECT_NE(desktop.find("MimeType=application/x-corvane-dix;"), std::string::npos);
    const std::string mime = GetMimeXml();
    EXPECT_NE(mime.find("application/x-corvane-dix"), std::string::npos);
    EXPECT_NE(mime.find("*.dix"), std::string::npos);
    EXPECT_EQ(GetSvgResource("corvane.svg").rfind("<svg", 0), 0u);
    EXPECT_TRUE(GetSvgResource("no-such.svg").empty());
}

} // namespace

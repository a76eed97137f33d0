#include "controls/CBitmapImageList.h"

#include <wx/image.h>

#include "controls/ResourceArt.h"

bool CBitmapImageList::CreateFromBitmap(int nBitmapID, int cx, int cy, const wxColour& mask) {
    if (cx <= 0 || cy <= 0)
        return false;
    const wxBitmapBundle strip = GetResourceBitmap(nBitmapID);
    if (!strip.IsOk())
        return false;
    if (!Create(cx, cy, true, 0))
        return false;
    wxImage image = strip.GetBitmap(strip.GetDefaultSize()).ConvertToImage();
    if (!image.IsOk())
        return false;
    if (!image.HasAlpha())
        image.InitAlpha();
    // Honour the colour key too, so a picture that paints the key colour (as old
    // strips did for their background) still shows through.
    const unsigned char mr = mask.Red(), mg = mask.Green(), mb = mask.Blue();
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) == mr && image.GetGreen(x, y) == mg && image.GetBlue(x, y) == mb)
                image.SetAlpha(x, y, 0);
    const int count = image.GetWidth() / cx;
    for (int i = 0; i < count; ++i) {
        wxImage cell(cx, cy);
        cell.InitAlpha();
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                const int sx = i * cx + x;
                if (y < image.GetHeight()) {
                    cell.SetRGB(x, y, image.GetRed(sx, y), image.GetGreen(sx, y), image.GetBlue(sx, y));
                    cell.SetAlpha(x, y, image.GetAlpha(sx, y));
                } else {
                    cell.SetRGB(x, y, mr, mg, mb);
                    cell.SetAlpha(x, y, 0);
                }
            }
        Add(wxBitmap(cell));
    }
    return true;
}

bool CBitmapImageList::CreateFromSquareBitmap(int nBitmapID, const wxColour& mask) {
    const wxBitmapBundle strip = GetResourceBitmap(nBitmapID);
    if (!strip.IsOk())
        return false;
    const int h = strip.GetDefaultSize().y;
    return CreateFromBitmap(nBitmapID, h, h, mask);
}

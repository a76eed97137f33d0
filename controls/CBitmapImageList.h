#pragma once
// An image list cut from one of the program's bitmap strips. Pixels of the
// given mask colour become transparent, on top of the artwork's own alpha.
#include <wx/imaglist.h>

class CBitmapImageList : public wxImageList {
public:
    // The colour the program's strips paint their transparent pixels with.
    static inline const wxColour kMaskColour{255, 0, 255};

    CBitmapImageList() = default;

    // Creates the list with images of cx x cy and adds the whole strip cut into
    // images cx wide. False when the bitmap does not exist or the list cannot be
    // created.
    bool CreateFromBitmap(int nBitmapID, int cx, int cy, const wxColour& mask);
    // Square images as high as the bitmap.
    bool CreateFromSquareBitmap(int nBitmapID, const wxColour& mask);
};

#pragma once
// The program's artwork, drawn as SVG and embedded in the binary. Every picture
// is rendered on demand at the size the screen needs, so it stays crisp at any
// scale. Bitmap identifiers are those of resources/ResourceIds.h.
#include <string>
#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

#include "resources/ResourceIds.h"

// One image of a strip (index counted from 0), at the strip's cell size by
// default. An empty bundle when the bitmap or the index does not exist.
wxBitmapBundle GetStripImage(int nBitmapID, int index);

// The whole bitmap: a strip renders as its images side by side (width = image
// count x cell width). An empty bundle for an unknown identifier.
wxBitmapBundle GetResourceBitmap(int nBitmapID);

// Number of images in a strip (1 for a single picture, 0 when unknown), and
// the size of one image at the normal scale.
int GetStripImageCount(int nBitmapID);
wxSize GetStripImageSize(int nBitmapID);

// The program icon at the usual desktop sizes (16 to 256 pixels).
wxIconBundle GetAppIcons();
// The icon of ".dix" project files at the same sizes.
wxIconBundle GetDocumentIcons();

// Embedded files, byte for byte: the desktop entry ("corvane.desktop"), the
// shared-mime-info package for ".dix", and any artwork by its file name
// ("corvane.svg", "application-x-corvane-dix.svg"). Empty when not embedded.
std::string GetDesktopFile();
std::string GetMimeXml();
std::string GetSvgResource(const std::string& name);

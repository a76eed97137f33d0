#include "controls/ResourceArt.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>
#include <wx/icon.h>
#include <wx/image.h>

#include "resources/EmbeddedResources.h"

namespace {

struct BitmapDef {
    int id;
    wxSize cell;
    std::vector<const char*> files; // one SVG per image, in strip order
};

const std::vector<BitmapDef>& Definitions() {
    static const std::vector<BitmapDef> defs = {
        {IDR_MAINFRAME,
         {16, 15},
         {"tb-new.svg", "tb-open.svg", "tb-save.svg", "tb-folders-new.svg", "tb-folders-delete.svg",
          "tb-folders-edit.svg", "tb-connections.svg", "tb-reports.svg", "tb-mail.svg", "tb-proxy.svg",
          "tb-interval.svg", "tb-large-icons.svg", "tb-small-icons.svg", "tb-list.svg", "tb-details.svg",
          "tb-about.svg"}},
        {IDB_IMAGES16,
         {16, 16},
         {"img-profile.svg", "img-person.svg", "img-padlock.svg", "img-server.svg", "img-striped.svg",
          "img-page.svg", "img-profile-off.svg"}},
        {IDB_IMAGES32,
         {32, 32},
         {"img32-profile.svg", "img32-person.svg", "img32-padlock.svg", "img32-server.svg",
          "img32-striped.svg", "img32-page.svg", "img32-profile-off.svg"}},
        {IDB_GEARS, {40, 32}, {"gears.svg"}},
        {IDB_FOLDER_TREE,
         {16, 16},
         {"tree-folder.svg", "tree-folder-open.svg", "tree-computer.svg", "tree-folder-failed.svg"}},
        {IDB_ERROR_SIGN, {32, 32}, {"error-sign.svg"}},
        {IDB_DECORATION, {32, 32}, {"decoration.svg"}},
        {IDB_BROWSE_FOLDER, {16, 16}, {"browse-folder.svg"}},
    };
    return defs;
}

const BitmapDef* FindDef(int id) {
    for (const auto& d : Definitions())
        if (d.id == id)
            return &d;
    return nullptr;
}

const corvane::EmbeddedResource* FindArt(const char* name) {
    if (const auto* r = corvane::FindEmbeddedResource(name))
        return r;
    // The large strip may reuse a small drawing where it has no own version.
    const std::string n = name;
    if (n.starts_with("img32-"))
        return corvane::FindEmbeddedResource("img-" + n.substr(6));
    return nullptr;
}

wxBitmapBundle FromArt(const char* name, const wxSize& size) {
    // Parsed once per drawing and size: the frame asks for the same toolbar and
    // menu images many times while it builds itself. Used on the GUI thread only.
    static std::map<std::pair<std::string, std::pair<int, int>>, wxBitmapBundle> cache;
    const auto key = std::make_pair(std::string(name), std::make_pair(size.x, size.y));
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    const auto* r = FindArt(name);
    if (!r)
        return {};
    wxBitmapBundle bundle = wxBitmapBundle::FromSVG(r->data, r->size, size);
    cache.emplace(key, bundle);
    return bundle;
}

// A whole strip: its images rendered one by one at the requested scale and put
// side by side, so each image stays as sharp as when drawn alone.
class CStripBundleImpl : public wxBitmapBundleImpl {
public:
    CStripBundleImpl(std::vector<wxBitmapBundle> parts, wxSize cell)
        : m_parts(std::move(parts)), m_cell(cell) {}

    wxSize GetDefaultSize() const override { return {m_cell.x * static_cast<int>(m_parts.size()), m_cell.y}; }
    wxSize GetPreferredBitmapSizeAtScale(double scale) const override {
        const wxSize cell(wxRound(m_cell.x * scale), wxRound(m_cell.y * scale));
        return {cell.x * static_cast<int>(m_parts.size()), cell.y};
    }
    wxBitmap GetBitmap(const wxSize& size) override {
        const auto key = std::make_pair(size.x, size.y);
        if (auto it = m_cache.find(key); it != m_cache.end())
            return it->second;
        const int n = static_cast<int>(m_parts.size());
        const int cellW = n ? size.x / n : 0;
        wxImage strip(size.x, size.y);
        strip.InitAlpha();
        std::fill_n(strip.GetAlpha(), size.x * size.y, 0);
        std::fill_n(strip.GetData(), size.x * size.y * 3, 0);
        for (int i = 0; i < n && cellW > 0; ++i) {
            wxImage part = m_parts[i].GetBitmap(wxSize(cellW, size.y)).ConvertToImage();
            if (!part.IsOk())
                continue;
            if (!part.HasAlpha())
                part.InitAlpha();
            for (int y = 0; y < std::min(part.GetHeight(), size.y); ++y)
                for (int x = 0; x < std::min(part.GetWidth(), cellW); ++x) {
                    const int sx = i * cellW + x;
                    strip.SetRGB(sx, y, part.GetRed(x, y), part.GetGreen(x, y), part.GetBlue(x, y));
                    strip.SetAlpha(sx, y, part.GetAlpha(x, y));
                }
        }
        wxBitmap bmp(strip);
        m_cache.emplace(key, bmp);
        return bmp;
    }

private:
    std::vector<wxBitmapBundle> m_parts;
    wxSize m_cell;
    std::map<std::pair<int, int>, wxBitmap> m_cache;
};

std::string EmbeddedText(const char* name) {
    const auto* r = corvane::FindEmbeddedResource(name);
    if (!r)
        return {};
    return std::string(reinterpret_cast<const char*>(r->data), r->size);
}

wxIconBundle IconsFrom(const char* name) {
    wxIconBundle icons;
    const auto* r = corvane::FindEmbeddedResource(name);
    if (!r)
        return icons;
    const wxBitmapBundle art = wxBitmapBundle::FromSVG(r->data, r->size, wxSize(64, 64));
    for (int s : {16, 24, 32, 48, 64, 128, 256}) {
        // A bundle marks renderings above its own size as high-resolution ones;
        // an icon of each size must be a plain bitmap of that many pixels.
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(art.GetBitmap(wxSize(s, s)).ConvertToImage()));
        icons.AddIcon(icon);
    }
    return icons;
}

} // namespace

wxBitmapBundle GetStripImage(int nBitmapID, int index) {
    const BitmapDef* def = FindDef(nBitmapID);
    if (!def || index < 0 || index >= static_cast<int>(def->files.size()))
        return {};
    return FromArt(def->files[index], def->cell);
}

wxBitmapBundle GetResourceBitmap(int nBitmapID) {
    const BitmapDef* def = FindDef(nBitmapID);
    if (!def)
        return {};
    if (def->files.size() == 1)
        return FromArt(def->files[0], def->cell);
    std::vector<wxBitmapBundle> parts;
    for (const char* f : def->files) {
        parts.push_back(FromArt(f, def->cell));
        if (!parts.back().IsOk())
            return {};
    }
    return wxBitmapBundle::FromImpl(new CStripBundleImpl(std::move(parts), def->cell));
}

int GetStripImageCount(int nBitmapID) {
    const BitmapDef* def = FindDef(nBitmapID);
    return def ? static_cast<int>(def->files.size()) : 0;
}

wxSize GetStripImageSize(int nBitmapID) {
    const BitmapDef* def = FindDef(nBitmapID);
    return def ? def->cell : wxSize();
}

wxIconBundle GetAppIcons() {
    return IconsFrom("corvane.svg");
}

wxIconBundle GetDocumentIcons() {
    return IconsFrom("application-x-corvane-dix.svg");
}

std::string GetDesktopFile() {
    return EmbeddedText("corvane.desktop");
}

std::string GetMimeXml() {
    return EmbeddedText("corvane-mime.xml");
}

std::string GetSvgResource(const std::string& name) {
    return EmbeddedText(name.c_str());
}

#include "app/MenuImages.h"

#include <wx/menu.h>

#ifdef __WXGTK__
#include "controls/ToolkitSymbol.h"
#endif

namespace corvane {

void ShowMenuImages(wxMenu* menu) {
#ifdef __WXGTK__
    // GTK 3 shows item images only when the theme asks for them, unless the item
    // says otherwise.
    using SetAlwaysShow = void (*)(GtkWidget*, int);
    static const auto setAlwaysShow =
        corvane::ToolkitSymbol<SetAlwaysShow>("gtk_image_menu_item_set_always_show_image");
    if (!setAlwaysShow || !menu)
        return;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->GetSubMenu())
            ShowMenuImages(item->GetSubMenu());
        else if (item->GetBitmapBundle().IsOk() && item->GetMenuItem())
            setAlwaysShow(item->GetMenuItem(), 1);
    }
#else
    (void)menu;
#endif
}

} // namespace corvane

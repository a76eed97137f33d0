#include "app/MenuImages.h"

#include <wx/menu.h>

#ifdef __WXGTK__
#include <dlfcn.h>
#endif

namespace corvane {

void ShowMenuImages(wxMenu* menu) {
#ifdef __WXGTK__
    // GTK 3 shows item images only when the theme asks for them, unless the item
    // says otherwise. GTK is already loaded by wx; its headers are not needed
    // for this one call.
    using SetAlwaysShow = void (*)(GtkWidget*, int);
    static const auto setAlwaysShow =
        reinterpret_cast<SetAlwaysShow>(::dlsym(RTLD_DEFAULT, "gtk_image_menu_item_set_always_show_image"));
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

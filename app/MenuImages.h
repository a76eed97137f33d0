#pragma once
// Menu items show their toolbar image beside the text, as they always have,
// even where the desktop hides menu images by default.
class wxMenu;

namespace corvane {

// Call once the menu's items have been appended.
void ShowMenuImages(wxMenu* menu);

} // namespace corvane

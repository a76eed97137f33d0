#pragma once
// Identifiers of the program's bitmaps and icons. The numbers are the ones the
// dialogs and the frame cite; they are internal to the program and global,
// as resource identifiers traditionally are.

// Frame resources: the 16-image toolbar strip (16 x 15 each) and the program icon.
inline constexpr int IDR_MAINFRAME = 128;
// Strip of seven 16 x 16 images; magenta is the transparent colour.
inline constexpr int IDB_IMAGES16 = 133;
// The same seven images at 32 x 32.
inline constexpr int IDB_IMAGES32 = 134;
// Decoration of the interval dialog: gear wheels.
inline constexpr int IDB_GEARS = 141;
// Folder tree strip: four 16 x 16 images; magenta is the transparent colour.
inline constexpr int IDB_FOLDER_TREE = 142;
// Red round sign with a white cross, shown when connecting fails.
inline constexpr int IDB_ERROR_SIGN = 144;
// Decoration of the folder profile and mail account dialogs.
inline constexpr int IDB_DECORATION = 146;
// One 16 x 16 image, a folder with an arrow; pure green is the transparent colour.
inline constexpr int IDB_BROWSE_FOLDER = 148;

// Images of IDB_IMAGES16 / IDB_IMAGES32.
inline constexpr int IMG_PROFILE_ENABLED = 0;  // green round button with a white plus
inline constexpr int IMG_PERSON = 1;           // mail recipient
inline constexpr int IMG_PADLOCK = 2;          // exclusion mask
inline constexpr int IMG_SERVER = 3;           // FTP connection: grey cylinder
inline constexpr int IMG_STRIPED_BUTTON = 4;   // grey round striped button
inline constexpr int IMG_PAGE = 5;             // report channel: page of text
inline constexpr int IMG_PROFILE_DISABLED = 6; // the plus button in grey
inline constexpr int IMAGES_COUNT = 7;

// Images of IDB_FOLDER_TREE.
inline constexpr int IMG_TREE_FOLDER = 0;
inline constexpr int IMG_TREE_FOLDER_OPEN = 1;
inline constexpr int IMG_TREE_COMPUTER = 2;
inline constexpr int IMG_TREE_FOLDER_FAILED = 3;
inline constexpr int TREE_IMAGES_COUNT = 4;

// Images of the toolbar strip IDR_MAINFRAME, in button order.
inline constexpr int TB_NEW = 0;
inline constexpr int TB_OPEN = 1;
inline constexpr int TB_SAVE = 2;
inline constexpr int TB_FOLDERS_NEW = 3;
inline constexpr int TB_FOLDERS_DELETE = 4;
inline constexpr int TB_FOLDERS_EDIT = 5;
inline constexpr int TB_CONNECTIONS = 6;
inline constexpr int TB_REPORTS = 7;
inline constexpr int TB_MAIL = 8;
inline constexpr int TB_PROXY = 9;
inline constexpr int TB_INTERVAL = 10;
inline constexpr int TB_LARGE_ICONS = 11;
inline constexpr int TB_SMALL_ICONS = 12;
inline constexpr int TB_LIST = 13;
inline constexpr int TB_DETAILS = 14;
inline constexpr int TB_ABOUT = 15;
inline constexpr int TOOLBAR_IMAGES_COUNT = 16;

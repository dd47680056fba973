// Ids of the view's menu commands, first paint and help menu.
#pragma once

#define IDB_BACKGROUND_PICTURE          272
#define IDS_WAITING_FOR_OPERATOR        4088
#define IDS_PDF_READER_REQUIRED         4643
#define IDS_DEVIATIONS_MENU_TEXT        15575
#define IDS_EN13829_DATA_ENTRY_MENU     22327

// Ids of the program's message boxes: their two dialogs, the note icon,
// their controls and texts, and the comma warning of numeric fields.
#pragma once

#define IDD_MESSAGE_DIALOG              167
#define IDD_SIZABLE_MESSAGE_DIALOG      257

// Message icons: 175 stands for the system's exclamation icon (there is
// no such resource); 176 is the program's note icon.
#define IDI_MESSAGE_EXCLAMATION         175
#define IDI_MESSAGE_NOTE                176

// Controls of the message boxes; buttons 1 and 2 are IDOK and IDCANCEL.
#define IDC_MESSAGE_HELP                1359
#define IDC_MESSAGE_TURN_OFF_WARNING    1425
#define IDC_MESSAGE_NO_ACTION           1763

// Button texts, captions and the comma warning.
#define IDS_MSG_PROCEED_WITH_TEST       4033
#define IDS_MSG_CANCEL_TEST             4034
#define IDS_MSG_END_TEST                4040
#define IDS_MSG_REENTER                 4058
#define IDS_MSG_PROCEED                 4059
#define IDS_MSG_OK                      4407
#define IDS_MSG_CANCEL                  4408
#define IDS_MSG_RETRY                   4409
#define IDS_MSG_YES                     4410
#define IDS_MSG_NO                      4411
#define IDS_MSG_HELP                    4619
#define IDS_MSG_COMMA_IN_NUMBER         4641
#define IDS_MSG_CAPTION                 10166
#define IDS_MSG_TURN_OFF_WARNING        10167
#define IDS_MSG_SELECT_PRIMARY_DEVICE   22226
#define IDS_MSG_SET_TO_AUTO_SELECT      22227
#define IDS_MSG_SET_TO_OFF_LINE         22228
#define IDS_MSG_SELECT_CONNECTED_DEVICES 22229

// Ids of the print preview: its toolbar template, buttons and their texts.
#pragma once

#define IDD_AFX_PREVIEW_TOOLBAR          30723
#define ID_AFX_PREVIEW_CLOSE             58112
#define ID_AFX_PREVIEW_NUMPAGE           58113
#define ID_AFX_PREVIEW_NEXT              58114
#define ID_AFX_PREVIEW_PREV              58115
#define ID_AFX_PREVIEW_PRINT             58116
#define ID_AFX_PREVIEW_ZOOMIN            58117
#define ID_AFX_PREVIEW_ZOOMOUT           58118
#define IDS_PREVIEW_PRINT                22101
#define IDS_PREVIEW_NEXT_PAGE            22102
#define IDS_PREVIEW_PREV_PAGE            22103
#define IDS_PREVIEW_ONE_PAGE             22104
#define IDS_PREVIEW_TWO_PAGE             22105
#define IDS_PREVIEW_ZOOM_IN              22106
#define IDS_PREVIEW_ZOOM_OUT             22107
#define IDS_PREVIEW_CLOSE                22108
#define IDS_AFX_COMMAND_FAILED           61705

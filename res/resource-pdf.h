// Ids of the texts of PDF output.
#pragma once

#define IDS_PDF_FILE_FILTER             22001
#define IDS_PDF_SAVE_TITLE              22002
#define IDS_PDF_BEING_GENERATED         22003
#define IDS_PDF_NOT_WRITTEN             22010

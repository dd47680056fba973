// Report logos: the logo picture files of the per-user data folder, their
// lookup (".bmp" before ".emf"), drawing a logo into a box with its aspect
// ratio kept, and converting another picture to a 24-bit bitmap. The view's
// logo operations pass their data folder to these.
#pragma once

#include <windows.h>

#include "framework/Dc.h"
#include "framework/Geometry.h"
#include "framework/String.h"

class CDib;

// Logo file formats.
enum { kLogoFormatBmp = 0, kLogoFormatEmf = 1 };
// Logo positions.
enum { kLogoHeader = 0, kLogoFooterLeft = 1, kLogoFooterCenter = 2, kLogoFooterRight = 3 };

// "ReportLogo-Header" for position 0 and any position other than 1 to 3.
CString GetReportLogoName(int nPosition);
// Data folder + name + extension when that file exists, else an empty text.
CString GetReportLogoPath(const CString& strDataFolder, int nFormat, int nPosition);
// The ".bmp" path when it exists, else the ".emf" path when it exists, else empty.
CString GetReportLogoFile(const CString& strDataFolder, int nPosition);

// Size of a w x h image fitted into the box's top-left corner with its
// aspect ratio kept (negative height: below the top edge in MM_TWIPS).
CSize FitBmpLogo(CSize image, const CRect& rcBox);
// Size of a metafile of frame fw x fh fitted into the box (positive height).
CSize FitEmfLogo(CSize frame, const CRect& rcBox);

// Each returns the drawn size; nothing drawn gives (0, 0), except an
// unreadable ".bmp", which gives (box width, 0) so that the letterhead still
// moves right of the logo box. A problem worth telling the user (an
// unreadable bitmap) is put in *pProblem when given, for the caller to show
// once per job: these run inside paints and show nothing themselves.
CSize DrawReportLogo(CDC* pDC, const CRect& rcBox, const CString& strDataFolder, int nPosition,
                     CString* pProblem = nullptr);
CSize DrawBmpLogo(CDC* pDC, const CRect& rcBox, const CString& strPath, CString* pProblem = nullptr);
CSize DrawEmfLogo(CDC* pDC, const CRect& rcBox, const CString& strPath);

// Loads a picture through GDI+ into a 24-bit bottom-up bitmap (pDib, or one
// of the call's own when nullptr); with bSave writes it beside the source as
// ".bmp". false, and no file written, when the picture cannot be loaded or
// allocated, or the file cannot be written.
bool ConvertImageToDib(const CString& strPath, CDib* pDib, bool bSave);

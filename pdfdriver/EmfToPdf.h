// Turns the pages of a print job, each an enhanced metafile, into PDF pages:
// every record is followed with the DC state it sets (mapping mode, window
// and viewport, world transform, objects, colours, alignment, clipping), text
// becomes PDF text in the embedded fonts at the recorded glyph advances,
// lines and fills stay vectors, and bitmaps become images.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pdfdriver/PdfWriter.h"

// The page the job drew on: its size in device pixels and their resolution.
// The fixed mapping modes (MM_TWIPS, ...) are taken against it, and it is
// the page's size in the PDF.
struct CPdfPageGeometry {
    int nWidthPx = 5100;
    int nHeightPx = 6600;
    int nDpi = 600;
};

// Adds the metafile as one page; false when its records cannot be read.
bool AddMetafilePage(CPdfDocument& doc, HENHMETAFILE hMeta, const CPdfPageGeometry& page);

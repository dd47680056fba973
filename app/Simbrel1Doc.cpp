#include "app/Simbrel1Doc.h"

IMPLEMENT_DYNCREATE(CSimbrel1Doc, CDocument)

void CSimbrel1Doc::Serialize(CArchive&) {}

BOOL CSimbrel1Doc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

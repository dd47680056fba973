// The document. It holds nothing: the test lives in the view's records, so
// serialisation reads and writes nothing.
#pragma once

#include "framework/Framework.h"

class CSimbrel1Doc : public CDocument {
    DECLARE_DYNCREATE(CSimbrel1Doc)
public:
    CSimbrel1Doc() = default;
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
};

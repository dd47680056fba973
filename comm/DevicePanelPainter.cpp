#include "comm/DevicePanelPainter.h"

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "comm/QarCommunications.h"
#include "report/MarkupText.h"
#include "report/TextTable.h"
#include "res/resource.h"

namespace {

CString Label(UINT nID)
{
    CString strText;
    strText.LoadString(nID);
    return L"\\bold" + strText;
}

CString FormatInt(const wchar_t* pszFormat, int nValue)
{
    CString strText;
    strText.Format(pszFormat, nValue);
    return strText;
}

CString PortText(const CQarCommunications& link)
{
    return FormatInt(L"COM %d", link.m_nPortIndex + 1);
}

CPanelTable MakeTable(const CRect& rc, int nRows, std::vector<double> fractions)
{
    CPanelTable table;
    table.rcArea = rc;
    table.nRows = nRows;
    table.nColumns = static_cast<int>(fractions.size());
    table.columnFractions = std::move(fractions);
    table.cells.assign(static_cast<size_t>(nRows), std::vector<CString>(static_cast<size_t>(table.nColumns)));
    return table;
}

}  // namespace

void CDevicePanelPainter::DrawGroupFrame(CDC* pDC, CRect rc, const CString& strCaption, CFont* pFont)
{
    CBrush brush;
    brush.CreateSysColorBrush(COLOR_BTNFACE);
    CFont* pOldFont = pDC->SelectObject(pFont);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Rectangle(&rc);

    // The caption sits on the top edge, a little in from the left corner,
    // both by the text height of the font.
    const int nHeight = pDC->DrawText(L"XX", 2, &rc, DT_CALCRECT | DT_NOPREFIX);
    rc.left += nHeight / 4;
    rc.top -= nHeight / 2;
    CMarkupText markup;
    markup.DrawLine(pDC, rc, pFont, L" " + strCaption + L" ", CMarkupText::kAlignLeft);

    if (pOldBrush != nullptr)
        pDC->SelectObject(pOldBrush);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}

CPanelLayout CDevicePanelPainter::LayoutDevicePanel(const CQarCommunications& link, const CRect& rcClient)
{
    CRect rc = rcClient;
    rc.bottom -= 24;
    const int W = rc.Width();
    const int H = rc.Height();
    const int m = W / 32;
    const int h = H / 32;
    const CRect rcBase(m, H / 20, (W - m) / 2, H / 20 + 6 * h);

    CPanelLayout layout;
    layout.nTextHeight = h;
    if (link.m_bGauge) {
        CRect rcIdentity = rcBase;
        rcIdentity.OffsetRect(0, rcBase.Height() / 4);
        CPanelTable identity = MakeTable(rcIdentity, 3, {0.62, 0.38});
        identity.cells[0] = {Label(IDS_PANEL_SERIAL_NUMBER), link.m_strModelSerial};
        identity.cells[1] = {Label(IDS_PANEL_CALIBRATION_DATE), link.m_strCalDateShort};
        identity.cells[2] = {Label(IDS_PANEL_FIRMWARE_VERSION), link.m_strFirmware};

        CRect rcLink = rcIdentity;
        rcLink.OffsetRect(rcIdentity.Width() + m, 0);
        rcLink.right += 20;
        rcLink.OffsetRect(-20, 0);
        const bool bNetwork = link.m_bSocketOpen != 0;
        CPanelTable linkTable = MakeTable(rcLink, 3, bNetwork ? std::vector<double>{0.62, 0.38}
                                                              : std::vector<double>{0.75, 0.25});
        linkTable.cells[0] = {Label(IDS_PANEL_PRESSURE_SENSORS), link.m_strTypeText};
        linkTable.cells[1] = {Label(IDS_PANEL_BATTERY_VOLTAGE), link.m_strSupply};
        if (bNetwork) {
            CString strAddress;
            strAddress.Format(L"%s:%d", link.m_Device.m_strAddress.GetString(), link.m_Device.m_nPort);
            linkTable.cells[2] = {Label(IDS_PANEL_WIFI_ADDRESS), strAddress};
        } else {
            linkTable.cells[2] = {Label(IDS_PANEL_SERIAL_PORT), PortText(link)};
        }

        CRect rcConstants = rcLink;
        rcConstants.OffsetRect(0, 3 * rcLink.Height() / 2);
        rcConstants.left = m;
        CPanelTable constants = MakeTable(rcConstants, 4, {0.19, 0.27, 0.27, 0.27});
        constants.strTitle = Label(IDS_PANEL_CALIBRATION_READINGS);
        const wchar_t* const kRowLabels[4] = {L"\\boldCh A Pos", L"\\boldCh A Neg", L"\\boldCh B Pos",
                                              L"\\boldCh B Neg"};
        for (int r = 0; r < 4; ++r) {
            constants.cells[r][0] = kRowLabels[r];
            for (int k = 0; k < 3; ++k)
                constants.cells[r][k + 1] = link.m_strConstants[3 * r + k];
        }
        layout.tables = {identity, linkTable, constants};
        return layout;
    }

    CRect rcIdentity = rcBase;
    rcIdentity.OffsetRect(0, rcBase.Height() / 6);
    CPanelTable identity = MakeTable(rcIdentity, 2, {0.65, 0.35});
    identity.cells[0] = {Label(IDS_PANEL_SERIAL_NUMBER), link.m_strModelSerial};
    identity.cells[1] = {Label(IDS_PANEL_CALIBRATION_DATE), link.m_strCalDateShort};

    CRect rcLink = rcIdentity;
    rcLink.OffsetRect(rcIdentity.Width() + m, 0);
    CPanelTable linkTable = MakeTable(rcLink, 3, {0.75, 0.25});
    linkTable.cells[0] = {Label(IDS_PANEL_PRESSURE_SENSORS), link.m_strTypeText};
    linkTable.cells[1] = {Label(IDS_PANEL_VOLTAGE), link.m_strSupply};
    linkTable.cells[2] = {Label(IDS_PANEL_SERIAL_PORT), PortText(link)};

    CRect rcGains = rcLink;
    rcGains.OffsetRect(0, 4 * rcLink.Height() / 3);
    rcGains.left = m;
    CPanelTable gains = MakeTable(rcGains, 10, {0.34, 0.33, 0.33});
    gains.strTitle = Label(IDS_PANEL_CALIBRATION_READINGS);
    gains.cells[0] = {CString(), Label(IDS_PANEL_LO_RANGE), Label(IDS_PANEL_HI_RANGE)};
    gains.cells[1] = {Label(IDS_PANEL_ANALOG), link.m_strRangeGain[1], link.m_strRangeGain[0]};
    for (int k = 1; k <= 8; ++k)
        gains.cells[k + 1] = {Label(IDS_PANEL_PRESSURE_1 + k - 1), link.m_strChannelGain[2 * (k - 1)],
                              link.m_strChannelGain[2 * (k - 1) + 1]};
    layout.tables = {identity, linkTable, gains};
    return layout;
}

void CDevicePanelPainter::DrawDevicePanel(CDC* pDC, int nLink)
{
    if (g_pView == nullptr || nLink < 0 || nLink > 3)
        return;
    CRect rcClient;
    ::GetClientRect(pDC->GetWindowHandle(), &rcClient);
    DrawLinkPanel(pDC, rcClient, g_pView->m_pLink[nLink]);
}

void CDevicePanelPainter::DrawLinkPanel(CDC* pDC, const CRect& rcClient, CQarCommunications* pLink)
{
    if (pLink == nullptr || !pLink->m_bIdentified)
        return;
    // The panel shows what the device says now, not what it said when it
    // was connected.
    pLink->IdentifyDevice();
    pLink->m_bTextsFormatted = 0;
    pLink->FormatDeviceInfo();

    const CPanelLayout layout = LayoutDevicePanel(*pLink, rcClient);
    CFont font;
    font.CreateFont(-layout.nTextHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    for (const CPanelTable& panelTable : layout.tables) {
        CTextTable table;
        table.m_rcArea = panelTable.rcArea;
        table.m_nRows = panelTable.nRows;
        table.m_nColumns = panelTable.nColumns;
        table.m_pTitleFont = &font;
        table.m_pCellFont = &font;
        if (!table.Allocate())
            continue;
        for (int c = 0; c < panelTable.nColumns; ++c)
            table.m_dColumnFraction[c] = panelTable.columnFractions[static_cast<size_t>(c)];
        for (int r = 0; r < panelTable.nRows; ++r) {
            table.m_dRowFactor[r] = 1.2;
            for (int c = 0; c < panelTable.nColumns; ++c)
                table.m_pRowTexts[r][c] = panelTable.cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
        }
        table.SetColumnAlignment(0, 0, CMarkupText::kAlignRight);
        table.m_strTitle = panelTable.strTitle;
        table.Draw(pDC);
        table.FreeRows();
    }
}

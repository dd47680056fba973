// CQarWifiLinkConfigDialog: reads the settings of a gauge's network adapter
// over its TCP link, lets the technician choose direct connection (the
// adapter's own network) or a router network, and writes them back with the
// adapter's commands, ending with its restart. Every exchange runs over a
// temporary link that is closed on every way out.
#pragma once

#include "comm/WifiDeviceInfo.h"
#include "framework/Dialog.h"

class CQarWifiLinkConfigDialog : public CDialog {
public:
    enum { IDD = 282 };
    enum Mode { kNoMode = -1, kAccessPoint = 0, kRouter = 1 };
    // "CH ", "SS " or "PW " with a value and CR LF must fit one request.
    static constexpr int kMaxValueLength = 31 - 5;

    explicit CQarWifiLinkConfigDialog(CWnd* pParent = nullptr);
    ~CQarWifiLinkConfigDialog() override;

    // The adapter's settings text: channel, mode ("0" access point, any
    // other router), SSID and password, separated by commas; the password
    // is all after the third comma. Fills the fields as far as it gets
    // (SSID and password into both of their fields); false when the text is
    // empty or a comma is missing.
    bool ParseWifiLinkSettings(const CString& strSettings);
    // Over a temporary link: the settings text into the fields.
    bool ReadWifiLinkSettings();
    // Over a temporary link: CC (once more when unconfirmed), CH, RT, SS,
    // PW (not for an empty password), RS. False at the first command that
    // fails, named in m_strFailedCommand (empty when the link could not be
    // opened). A value the chosen mode does not use and that is too long to
    // be sent is left out: the adapter keeps the value it reported.
    bool WriteWifiLinkSettings();
    void SetModeControls(int nMode);

    // The field whose value is too long to be sent (0 none), checked in the
    // order channel, SSID, password for the fields the mode uses.
    static int FindTooLongField(int nMode, const CString& strChannel, const CString& strSsid,
                                const CString& strPassword);

    CString m_strTitle;
    CString m_strChannel;
    CString m_strSsid;
    CString m_strPassword;
    CString m_strSsidConfirm;
    CString m_strPasswordConfirm;
    CWifiDeviceInfo m_Device;
    int m_nMode = kNoMode;
    CString m_strFailedCommand;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    void OnModeAccessPoint();
    void OnModeRouter();
    // Shows the message (a format with %d or %s given its argument) and
    // puts the focus on the field.
    void RefuseField(UINT nIDText, int nFieldId);

    DECLARE_MESSAGE_MAP()
};

#include "framework/CmdTarget.h"

#include "framework/String.h"

namespace {
const MsgMap* NoBaseMap()
{
    return nullptr;
}
const MsgMapEntry kNoEntries[] = {{0, 0, 0, 0, MsgSig::End, {nullptr}, nullptr}};
}  // namespace

const MsgMap* CCmdTarget::GetThisMessageMap()
{
    static const MsgMap messageMap = {&NoBaseMap, kNoEntries};
    return &messageMap;
}

const MsgMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MsgMapEntry* CCmdTarget::FindEntry(const MsgMap* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const MsgMapEntry* p = pMap->lpEntries; p->sig != MsgSig::End; ++p) {
            if (p->pnRegisteredMessage != nullptr) {
                if (*p->pnRegisteredMessage == nMessage && nMessage != 0)
                    return p;
                continue;
            }
            if (p->nMessage != nMessage)
                continue;
            if (nMessage == WM_COMMAND || nMessage == WM_NOTIFY) {
                if (p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)
                    return p;
            } else {
                return p;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo)
{
    const MsgMapEntry* pEntry = FindEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (pEntry == nullptr)
        return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = pEntry->pfn.v_v;
        return TRUE;
    }
    switch (pEntry->sig) {
    case MsgSig::v_v:
        (this->*pEntry->pfn.v_v)();
        return TRUE;
    case MsgSig::v_u:
        (this->*pEntry->pfn.v_u)(nID);
        return TRUE;
    case MsgSig::cmdui: {
        auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = false;
        (this->*pEntry->pfn.cmdui)(pCmdUI);
        // A handler that asked to continue lets the next target decide.
        return pCmdUI->m_bContinueRouting ? FALSE : TRUE;
    }
    default:
        return FALSE;
    }
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_hMenu != nullptr)
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = true;
    m_bEnabled = bOn != FALSE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu != nullptr)
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const wchar_t* pszText)
{
    if (m_hMenu == nullptr)
        return;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(pszText);
    SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &mii);
}

bool CCmdUI::DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler)
{
    m_bEnableChanged = false;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!bHandled && bDisableIfNoHandler && !m_bEnableChanged) {
        HandlerInfo info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
    }
    return bHandled != FALSE;
}

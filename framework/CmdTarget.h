// CCmdTarget: an object that can receive commands through its message map.
// CCmdUI: one user-interface item (a menu entry) whose state a command's
// enabling handler sets.
#pragma once

#include "framework/MessageMap.h"
#include "framework/Object.h"

// What a handler lookup found, for callers that only ask whether a command
// has a handler.
struct HandlerInfo {
    CCmdTarget* pTarget = nullptr;
    AfxPmsg pmf = nullptr;
};

class CCmdTarget : public CObject {
public:
    // Routes a command (nCode CN_COMMAND or a control notification), or a
    // command-enabling request (nCode CN_UPDATE_COMMAND_UI, pExtra the
    // CCmdUI), to a handler of this object's message map. With pHandlerInfo
    // the handler is only looked up, not called. True when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo);

    static const MsgMap* GetThisMessageMap();
    virtual const MsgMap* GetMessageMap() const;

protected:
    // The first entry of the map chain that matches, or nullptr.
    static const MsgMapEntry* FindEntry(const MsgMap* pMap, UINT nMessage, UINT nCode, UINT nID);
};

class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;  // the popup menu holding the entry, when it is a menu entry
    UINT m_nIndexMax = 0;
    bool m_bEnableChanged = false;
    bool m_bEnabled = true;   // the state the last Enable set
    bool m_bContinueRouting = false;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const wchar_t* pszText);
    void ContinueRouting() { m_bContinueRouting = true; }

    // Asks the target to set the item's state. An item with neither an
    // enabling handler nor a command handler is disabled when
    // bDisableIfNoHandler is set. True when an enabling handler ran.
    bool DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler);
};

// Message-map lookup: the most derived class's map first, then each base class's map.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

bool entryMatches(const AFX_MSGMAP_ENTRY& e, UINT message)
{
    if (e.nMessage == AFX_REGISTERED_MESSAGE)
        return e.pnRegistered && *e.pnRegistered != 0 && *e.pnRegistered == message;
    if (e.nMessage == WM_COMMAND || e.nMessage == WM_NOTIFY)
        return false;
    if (e.nLastID != 0)
        return e.nMessage <= message && message <= e.nLastID;
    return e.nMessage == message;
}

bool idMatches(const AFX_MSGMAP_ENTRY& e, UINT nMessage, UINT nID, UINT nCode)
{
    return e.nMessage == nMessage && e.nCode == nCode && e.nID <= nID && nID <= e.nLastID;
}

template <typename Match>
const AFX_MSGMAP_ENTRY* findEntry(const AFX_MSGMAP* pMap, Match match)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e) {
            if (match(*e))
                return e;
        }
    }
    return nullptr;
}

} // namespace

BOOL CCmdTarget::DispatchThroughMaps(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* e =
        findEntry(GetMessageMap(), [message](const AFX_MSGMAP_ENTRY& x) { return entryMatches(x, message); });
    if (!e)
        return FALSE;
    // The handler may destroy this object; nothing of it is touched after the call.
    LRESULT result = e->pfn(this, message, wParam, lParam);
    if (pResult)
        *pResult = result;
    return TRUE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, LPARAM lParam, LRESULT* pResult)
{
    UINT code = static_cast<UINT>(nCode);
    const AFX_MSGMAP_ENTRY* e = findEntry(GetMessageMap(), [nID, code](const AFX_MSGMAP_ENTRY& x) {
        return idMatches(x, WM_COMMAND, nID, code);
    });
    if (!e)
        return FALSE;
    LRESULT result = e->pfn(this, WM_COMMAND, MAKEWPARAM(nID, nCode), lParam);
    if (pResult)
        *pResult = result;
    return TRUE;
}

BOOL CCmdTarget::OnNotifyMsg(UINT nID, UINT nCode, NMHDR* pNMHDR, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* e = findEntry(GetMessageMap(), [nID, nCode](const AFX_MSGMAP_ENTRY& x) {
        return idMatches(x, WM_NOTIFY, nID, nCode);
    });
    if (!e)
        return FALSE;
    LRESULT result = e->pfn(this, WM_NOTIFY, nID, reinterpret_cast<LPARAM>(pNMHDR));
    if (pResult)
        *pResult = result;
    return TRUE;
}

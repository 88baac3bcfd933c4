// Temporary wrappers of menus the framework does not own (the window menu of GetSystemMenu).
#include "afximpl.h"

namespace {

void releaseTempMenu(CMenu* pMenu)
{
    pMenu->m_hMenu = nullptr;   // a temporary wrapper never destroys the menu
}

CTempHandleMap<CMenu, HMENU>& tempMenuMap()
{
    thread_local CTempHandleMap<CMenu, HMENU> map(releaseTempMenu);
    return map;
}

} // namespace

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    if (CMenu* pTemp = tempMenuMap().Lookup(hMenu))
        return pTemp;
    CMenu* pTemp = new CMenu;
    pTemp->m_hMenu = hMenu;
    return tempMenuMap().Add(hMenu, pTemp);
}

void PASCAL CMenu::DeleteTempMap()
{
    tempMenuMap().DeleteTemp(AfxGetTempMapKeepDepth());
}

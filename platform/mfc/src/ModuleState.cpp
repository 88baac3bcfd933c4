// The module's instance handle and the module its resources are looked up in.
#include "afx.h"

namespace {

struct ModuleState {
    HINSTANCE hInstance = nullptr;
    HINSTANCE hResource = nullptr;
};

ModuleState& moduleState()
{
    static ModuleState state;
    if (!state.hInstance)
        state.hInstance = ::GetModuleHandleW(nullptr);
    if (!state.hResource)
        state.hResource = state.hInstance;
    return state;
}

} // namespace

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return moduleState().hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return moduleState().hResource;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    ASSERT(hInstResource != nullptr);
    moduleState().hResource = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    ModuleState& state = moduleState();
    if (::FindResourceW(state.hResource, lpszName, lpszType))
        return state.hResource;
    if (state.hInstance != state.hResource && ::FindResourceW(state.hInstance, lpszName, lpszType))
        return state.hInstance;
    return state.hResource;
}

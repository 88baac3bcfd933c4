#include "AccessibleControl.h"

#include "ControlDescription.h"

namespace tsl {
namespace {

bool isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Every call goes to the standard object except the control's own name, role and state. Children
// (the items of a list, the parts of a combo box) stay the standard object's.
class AccessibleControl final : public IAccessible {
public:
    AccessibleControl(HWND control, IAccessible* standard) : m_control(control), m_standard(standard) {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown: IEnumVARIANT and IOleWindow are the standard object's.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *ppv = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return m_standard->QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, lcid, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override
    {
        return m_standard->Invoke(id, riid, lcid, flags, params, result, exception, argError);
    }

    // IAccessible: what the control itself is.
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override
    {
        if (!isSelf(child) || !name)
            return m_standard->get_accName(child, name);
        BSTR standardName = nullptr;
        if (FAILED(m_standard->get_accName(child, &standardName)))
            standardName = nullptr;
        CString described = describedName(m_control, standardName ? CString(standardName) : CString());
        SysFreeString(standardName);
        *name = nullptr;
        if (described.IsEmpty())
            return S_FALSE;
        *name = SysAllocString(described);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        HRESULT result = m_standard->get_accRole(child, role);
        if (SUCCEEDED(result) && isSelf(child) && role->vt == VT_I4)
            role->lVal = describedRole(m_control, role->lVal);
        return result;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override
    {
        HRESULT result = m_standard->get_accState(child, state);
        if (SUCCEEDED(result) && isSelf(child) && state->vt == VT_I4)
            state->lVal = describedState(m_control, state->lVal);
        return result;
    }

    // IAccessible: the rest is the standard object's.
    STDMETHODIMP get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(LONG* count) override { return m_standard->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** result) override
    {
        return m_standard->get_accChild(child, result);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override { return m_standard->get_accValue(child, value); }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return m_standard->get_accHelp(child, help); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT* children) override { return m_standard->get_accSelection(children); }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return m_standard->get_accDefaultAction(child, action);
    }
    STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return m_standard->accSelect(flags, child); }
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override { return m_standard->accHitTest(x, y, child); }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override { return m_standard->accDoDefaultAction(child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return m_standard->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override { return m_standard->put_accValue(child, value); }

private:
    ~AccessibleControl() { m_standard->Release(); }

    LONG m_refs = 1;
    HWND m_control;
    IAccessible* m_standard;
};

} // namespace

LRESULT answerClientObject(HWND control, WPARAM wParam)
{
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))))
        return 0;
    AccessibleControl* object = new AccessibleControl(control, standard);
    LRESULT result = LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object));
    object->Release();   // LresultFromObject holds its own reference for the caller
    return result > 0 ? result : 0;
}

} // namespace tsl

// The library's message box: a dialog built in memory with the style's icon, text and buttons,
// run modally on the framework's loop and drawn like every other skinned dialog.
#include "TslMessageBox.h"
#include "TslControls.h"
#include "TslDialogs.h"
#include "TslLook.h"
#include "resource.h"

#include <vector>

namespace {

const int kIconId = 20;          // the icon's control id, as the system's message box has it
const int kTextId = 0xFFFF;      // the text's control id, likewise
const int kMargin = 16;
const int kButtonHeight = 24;
const int kButtonMinWidth = 80;
const int kButtonGap = 8;
const int kMaxTextWidth = 420;

struct MessageButton {
    int id;
    CString text;
};

// A button's caption in the user's language: the system's own where user32 offers it (as the
// system's message box shows it), else the resource module's string for the button (the locale
// library holds them in each of its languages), else the English one.
CString buttonCaption(int id, LPCWSTR english)
{
    using GetButtonString = LPCWSTR(WINAPI*)(UINT);
    static const auto systemString = reinterpret_cast<GetButtonString>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "MB_GetString")));
    if (systemString) {
        LPCWSTR text = systemString(static_cast<UINT>(id - IDOK));
        if (text && *text)
            return text;
    }
    CString text;
    if (HINSTANCE resources = AfxGetResourceHandle()) {
        wchar_t buffer[64] = L"";
        if (::LoadStringW(resources, IDS_BUTTON_OK + (id - IDOK), buffer, ARRAYSIZE(buffer)) > 0)
            text = buffer;
    }
    return text.IsEmpty() ? CString(english) : text;
}

struct ButtonName {
    int id;
    LPCWSTR english;
};

std::vector<ButtonName> buttonNamesFor(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, L"&Abort"}, {IDRETRY, L"&Retry"}, {IDIGNORE, L"&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDCANCEL, L"Cancel"}};
    case MB_YESNO: return {{IDYES, L"&Yes"}, {IDNO, L"&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, L"&Retry"}, {IDCANCEL, L"Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, L"Cancel"}, {IDTRYAGAIN, L"&Try Again"}, {IDCONTINUE, L"&Continue"}};
    default: return {{IDOK, L"OK"}};
    }
}

std::vector<MessageButton> buttonsFor(UINT type)
{
    std::vector<MessageButton> buttons;
    for (const ButtonName& name : buttonNamesFor(type))
        buttons.push_back({name.id, buttonCaption(name.id, name.english)});
    return buttons;
}

LPCWSTR iconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

// Appends a DLGTEMPLATE or DLGITEMTEMPLATE record with its class, text and creation data.
class TemplateWriter {
public:
    void header(DWORD style, WORD items, LPCWSTR caption)
    {
        DLGTEMPLATE t = {};
        t.style = style;
        t.cdit = items;
        append(&t, sizeof t);
        word(0);   // no menu
        word(0);   // the dialog class
        text(caption);
        word(8);
        text(L"MS Shell Dlg");
    }
    void item(DWORD style, WORD id, WORD atom, LPCWSTR caption)
    {
        align();
        DLGITEMTEMPLATE t = {};
        t.style = style | WS_CHILD | WS_VISIBLE;
        t.id = id;
        t.cx = 10;
        t.cy = 10;   // every control is placed in pixels once the dialog exists
        append(&t, sizeof t);
        word(0xFFFF);
        word(atom);
        text(caption);
        word(0);   // no creation data
    }
    LPCDLGTEMPLATE data() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void append(const void* p, size_t bytes)
    {
        const WORD* w = static_cast<const WORD*>(p);
        m_words.insert(m_words.end(), w, w + bytes / sizeof(WORD));
    }
    void word(WORD w) { m_words.push_back(w); }
    void text(LPCWSTR s)
    {
        for (; s && *s; ++s)
            m_words.push_back(static_cast<WORD>(*s));
        m_words.push_back(0);
    }
    void align()
    {
        if (m_words.size() % 2)
            m_words.push_back(0);   // items start on DWORD boundaries
    }
    std::vector<WORD> m_words;
};

class TesselMessageDialog : public TesselDialog {
public:
    TesselMessageDialog(LPCWSTR text, LPCWSTR caption, UINT type)
        : TesselDialog(0u, nullptr), m_text(text ? text : L""), m_caption(caption ? caption : L"Error"),
          m_type(type), m_buttons(buttonsFor(type))
    {
    }

    int run(CWnd* pParentWnd);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { EndDialog(IDOK); }
    void OnCancel() override;

private:
    bool hasButton(int id) const
    {
        for (const MessageButton& b : m_buttons)
            if (b.id == id)
                return true;
        return false;
    }
    int defaultIndex() const
    {
        int index = static_cast<int>((m_type & MB_DEFMASK) >> 8);
        return index < static_cast<int>(m_buttons.size()) ? index : 0;
    }
    void layout();

    CString m_text;
    CString m_caption;
    UINT m_type;
    std::vector<MessageButton> m_buttons;
    TesselButton m_buttonControls[3];
    TesselStatic m_textControl;
};

int TesselMessageDialog::run(CWnd* pParentWnd)
{
    TemplateWriter writer;
    LPCWSTR icon = iconFor(m_type);
    WORD items = static_cast<WORD>(m_buttons.size() + 1 + (icon ? 1 : 0));
    writer.header(DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU, items,
                  m_caption);
    if (icon)
        writer.item(SS_ICON, kIconId, 0x0082, L"");
    writer.item(SS_LEFT | SS_NOPREFIX, kTextId, 0x0082, m_text);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        DWORD style = WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                      (static_cast<int>(i) == defaultIndex() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        writer.item(style, static_cast<WORD>(m_buttons[i].id), 0x0080, m_buttons[i].text);
    }

    // As the framework's DoModal, with a template built here.
    HWND hWndTop = nullptr;
    HWND owner = CWnd::GetSafeOwner(pParentWnd, &hWndTop)->GetSafeHwnd();
    const bool enableOwner = DisableModalOwner(owner);
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateIndirect(writer.data(), CWnd::FromHandle(owner), nullptr) && ContinueModal()) {
        ::MessageBeep(m_type & MB_ICONMASK);
        RunModalLoop(MLF_SHOWONIDLE);
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    int result = m_nModalResult;
    EndModalWindow(owner, enableOwner, hWndTop);
    return result;
}

BOOL TesselMessageDialog::OnInitDialog()
{
    TesselDialog::OnInitDialog();
    for (size_t i = 0; i < m_buttons.size() && i < 3; ++i)
        m_buttonControls[i].SubclassDlgItem(m_buttons[i].id, this);
    m_textControl.SubclassDlgItem(kTextId, this);
    if (LPCWSTR icon = iconFor(m_type))
        ::SendDlgItemMessageW(m_hWnd, kIconId, STM_SETICON,
                              reinterpret_cast<WPARAM>(::LoadIconW(nullptr, icon)), 0);
    // A box without Cancel (other than a lone OK) cannot be closed from its caption.
    if (!hasButton(IDCANCEL) && m_buttons.size() > 1)
        if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE))
            ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    layout();
    if (m_type & (MB_SYSTEMMODAL | MB_TOPMOST | MB_SETFOREGROUND))
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND focus = ::GetDlgItem(m_hWnd, m_buttons[defaultIndex()].id);
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    return FALSE;   // the focus is set
}

void TesselMessageDialog::layout()
{
    HWND text = ::GetDlgItem(m_hWnd, kTextId);
    HDC hdc = ::GetDC(text);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : nullptr;
    RECT measured = {0, 0, kMaxTextWidth, 0};
    ::DrawTextW(hdc, m_text, m_text.GetLength(), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int buttonWidth = kButtonMinWidth;
    for (const MessageButton& b : m_buttons) {
        RECT r = {0, 0, 0, 0};
        ::DrawTextW(hdc, b.text, b.text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
        if (r.right + 24 > buttonWidth)
            buttonWidth = r.right + 24;
    }
    if (oldFont)
        ::SelectObject(hdc, oldFont);
    ::ReleaseDC(text, hdc);

    bool hasIcon = iconFor(m_type) != nullptr;
    int iconSize = ::GetSystemMetrics(SM_CXICON);
    int textLeft = kMargin + (hasIcon ? iconSize + 12 : 0);
    int textHeight = measured.bottom;
    int contentHeight = hasIcon && iconSize > textHeight ? iconSize : textHeight;
    int textTop = kMargin + (contentHeight - textHeight) / 2;
    int count = static_cast<int>(m_buttons.size());
    int rowWidth = count * buttonWidth + (count - 1) * kButtonGap;
    int width = textLeft + measured.right + kMargin;
    if (rowWidth + 2 * kMargin > width)
        width = rowWidth + 2 * kMargin;
    if (width < 220)
        width = 220;
    int buttonTop = kMargin + contentHeight + kMargin;
    int height = buttonTop + kButtonHeight + 12;

    if (hasIcon)
        ::SetWindowPos(::GetDlgItem(m_hWnd, kIconId), nullptr, kMargin, kMargin, iconSize, iconSize,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(text, nullptr, textLeft, textTop, measured.right, textHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    int x = width - kMargin - rowWidth;
    for (const MessageButton& b : m_buttons) {
        ::SetWindowPos(::GetDlgItem(m_hWnd, b.id), nullptr, x, buttonTop, buttonWidth, kButtonHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        x += buttonWidth + kButtonGap;
    }
    RECT frame = {0, 0, width, height};
    ::AdjustWindowRectEx(&frame, ::GetWindowLongW(m_hWnd, GWL_STYLE), FALSE,
                         ::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
}

BOOL TesselMessageDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id != IDOK && id != IDCANCEL && hasButton(id)) {
        EndDialog(id);
        return TRUE;
    }
    return TesselDialog::OnCommand(wParam, lParam);
}

void TesselMessageDialog::OnCancel()
{
    // Escape and the close box: Cancel where there is one, OK for a lone OK, otherwise nothing.
    if (hasButton(IDCANCEL))
        EndDialog(IDCANCEL);
    else if (m_buttons.size() == 1)
        EndDialog(m_buttons[0].id);
}

} // namespace

int TesselMessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType, CWnd* pParentWnd)
{
    TesselMessageDialog box(lpszText, lpszCaption, nType);
    return box.run(pParentWnd);
}

#include "DialogTemplate.h"

#include <cstring>

namespace kivotest {

namespace {

// Reads the template's words in order; every read checks the end first.
class Reader {
public:
    Reader(const void* data, DWORD size)
        : m_begin(static_cast<const BYTE*>(data)), m_p(m_begin), m_end(m_begin + size) {}
    bool ok() const { return m_ok; }

    template <typename T> T read()
    {
        T value = {};
        if (!need(sizeof value))
            return value;
        std::memcpy(&value, m_p, sizeof value);
        m_p += sizeof value;
        return value;
    }
    // A string or, after 0xFFFF, an ordinal (class ordinals become the predefined class's name).
    std::wstring stringOrOrdinal(bool isClass)
    {
        WORD first = read<WORD>();
        if (first == 0xFFFF) {
            WORD ordinal = read<WORD>();
            return isClass ? className(ordinal) : std::wstring();
        }
        std::wstring text;
        for (WORD c = first; m_ok && c != 0; c = read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }
    void skip(size_t bytes)
    {
        if (need(bytes))
            m_p += bytes;
    }
    void alignToDword()
    {
        size_t offset = static_cast<size_t>(m_p - m_begin);
        skip((4 - offset % 4) % 4);
    }

private:
    bool need(size_t bytes)
    {
        if (static_cast<size_t>(m_end - m_p) < bytes)
            m_ok = false;
        return m_ok;
    }
    static std::wstring className(WORD ordinal)
    {
        switch (ordinal) {
        case 0x0080: return L"Button";
        case 0x0081: return L"Edit";
        case 0x0082: return L"Static";
        case 0x0083: return L"ListBox";
        case 0x0084: return L"ScrollBar";
        case 0x0085: return L"ComboBox";
        default: return L"#" + std::to_wstring(ordinal);
        }
    }

    const BYTE* m_begin;
    const BYTE* m_p;
    const BYTE* m_end;
    bool m_ok = true;
};

} // namespace

bool readDialogTemplate(HMODULE hModule, WORD id, LANGID language, DialogTemplate& dialog)
{
    DWORD size = 0;
    const void* data = findResourceIn(hModule, RT_DIALOG, MAKEINTRESOURCEW(id), language, &size);
    if (!data)
        return false;
    Reader r(data, size);
    if (r.read<WORD>() != 1 || r.read<WORD>() != 0xFFFF)
        return false;
    r.read<DWORD>();   // help id
    r.read<DWORD>();   // extended style
    dialog.style = r.read<DWORD>();
    WORD count = r.read<WORD>();
    r.skip(4 * sizeof(short));
    r.stringOrOrdinal(false);   // menu
    r.stringOrOrdinal(false);   // window class
    dialog.caption = r.stringOrOrdinal(false);
    if (dialog.style & DS_SETFONT) {
        r.skip(2 * sizeof(WORD) + 2);   // size, weight, italic, character set
        r.stringOrOrdinal(false);
    }
    dialog.controls.clear();
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.alignToDword();
        TemplateControl c;
        r.read<DWORD>();   // help id
        r.read<DWORD>();   // extended style
        c.style = r.read<DWORD>();
        short x = r.read<short>(), y = r.read<short>(), cx = r.read<short>(), cy = r.read<short>();
        c.units = {x, y, x + cx, y + cy};
        c.id = r.read<DWORD>();
        c.className = r.stringOrOrdinal(true);
        c.text = r.stringOrOrdinal(false);
        r.skip(r.read<WORD>());   // creation data
        dialog.controls.push_back(c);
    }
    return r.ok();
}

} // namespace kivotest

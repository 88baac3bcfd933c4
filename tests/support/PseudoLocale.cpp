#include "PseudoLocale.h"

#include "LocaleTexts.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kivotest {
namespace {

const LPCWSTR kListData = MAKEINTRESOURCEW(240);
using Bytes = std::vector<BYTE>;

// Reads a resource's bytes in order; a read past the end marks it failed and yields zeros.
class Reader {
public:
    Reader(const void* data, DWORD size)
        : m_start(static_cast<const BYTE*>(data)), m_p(m_start), m_end(m_start + (data ? size : 0))
    {
    }
    bool ok() const { return m_ok; }
    const BYTE* at() const { return m_p; }
    bool atEnd() const { return m_p >= m_end; }
    void skip(size_t bytes)
    {
        m_ok = m_ok && bytes <= size_t(m_end - m_p);
        m_p = m_ok ? m_p + bytes : m_end;
    }
    // The next value of type T, or 0 past the end.
    template <typename T> T next()
    {
        T value = 0;
        if (m_ok && m_p + sizeof value <= m_end)
            memcpy(&value, m_p, sizeof value);
        skip(sizeof value);
        return value;
    }
    WORD word() { return next<WORD>(); }
    DWORD dword() { return next<DWORD>(); }
    std::wstring string()
    {
        std::wstring text;
        for (WORD w = word(); m_ok && w; w = word())
            text += static_cast<wchar_t>(w);
        return text;
    }
    // A name or an ordinal (0xFFFF and its number) or nothing (0); true for a name.
    bool nameOrOrdinal(std::wstring* name, WORD* ordinal = nullptr)
    {
        WORD first = word();
        WORD number = first == 0xFFFF ? word() : 0;
        if (ordinal)
            *ordinal = number;
        if (first == 0 || first == 0xFFFF)
            return false;
        m_p -= sizeof first;
        *name = string();
        return true;
    }
    void alignToDword() { skip((4 - (m_p - m_start) % 4) % 4); }

private:
    const BYTE* m_start;
    const BYTE* m_p;
    const BYTE* m_end;
    bool m_ok = true;
};

void appendBytes(Bytes& out, const BYTE* from, const BYTE* to) { out.insert(out.end(), from, to); }

void appendString(Bytes& out, const std::wstring& text)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    appendBytes(out, p, p + (text.size() + 1) * sizeof(wchar_t));
}

// An extended dialog template cut where its texts are: each part's bytes kept as they are, texts
// taken out so that another language's can go in.
struct DialogItem {
    Bytes front;          // fixed fields and class
    bool hasText = false;
    std::wstring text;
    Bytes title;          // the title as stored (text or ordinal)
    Bytes extra;          // creation data with its count
    bool keepsText = false;   // an owner-drawn button, whose caption names its images
};

struct Dialog {
    Bytes head;           // header, menu and class
    std::wstring caption;
    Bytes font;
    std::vector<DialogItem> items;
};

bool isOwnerDrawnButton(DWORD style, bool named, const std::wstring& name, WORD atom)
{
    bool button = named ? _wcsicmp(name.c_str(), L"Button") == 0 : atom == 0x0080;
    return button && (style & BS_TYPEMASK) == BS_OWNERDRAW;
}

bool parseDialog(const void* data, DWORD size, Dialog* dialog)
{
    Reader r(data, size);
    const BYTE* start = r.at();
    if (r.word() != 1 || r.word() != 0xFFFF)
        return false;   // only extended templates
    r.skip(8);          // help id, extended style
    const DWORD style = r.dword();
    const WORD count = r.word();
    r.skip(8);          // position and size
    std::wstring ignored;
    r.nameOrOrdinal(&ignored);   // menu
    r.nameOrOrdinal(&ignored);   // class
    appendBytes(dialog->head, start, r.at());
    dialog->caption = r.string();
    const BYTE* font = r.at();
    if (style & DS_SETFONT) {
        r.skip(6);
        r.string();
    }
    appendBytes(dialog->font, font, r.at());
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.alignToDword();
        DialogItem item;
        const BYTE* fixed = r.at();
        r.skip(8);
        const DWORD itemStyle = r.dword();
        r.skip(12);   // position, size, id
        std::wstring className;
        WORD atom = 0;
        const bool named = r.nameOrOrdinal(&className, &atom);
        appendBytes(item.front, fixed, r.at());
        item.keepsText = isOwnerDrawnButton(itemStyle, named, className, atom);
        const BYTE* title = r.at();
        item.hasText = r.nameOrOrdinal(&item.text);
        appendBytes(item.title, title, r.at());
        const BYTE* extra = r.at();
        r.skip(r.word());
        appendBytes(item.extra, extra, r.at());
        dialog->items.push_back(item);
    }
    return r.ok();
}

// The layout template's geometry with the English texts made pseudo.
bool pseudoDialog(const void* english, DWORD englishSize, const void* geometry, DWORD geometrySize, Bytes* out)
{
    Dialog texts, layout;
    if (!parseDialog(english, englishSize, &texts) || !parseDialog(geometry, geometrySize, &layout) ||
        texts.items.size() != layout.items.size())
        return false;
    *out = layout.head;
    appendString(*out, texts.caption.empty() ? texts.caption : pseudoText(texts.caption));
    appendBytes(*out, layout.font.data(), layout.font.data() + layout.font.size());
    for (size_t i = 0; i < layout.items.size(); ++i) {
        const DialogItem& item = layout.items[i];
        const DialogItem& text = texts.items[i];
        out->resize((out->size() + 3) / 4 * 4, 0);
        appendBytes(*out, item.front.data(), item.front.data() + item.front.size());
        if (text.hasText && !text.text.empty() && !text.keepsText)
            appendString(*out, pseudoText(text.text));
        else
            appendBytes(*out, text.title.data(), text.title.data() + text.title.size());
        appendBytes(*out, item.extra.data(), item.extra.data() + item.extra.size());
    }
    return true;
}

// Sixteen counted strings, each made pseudo.
bool pseudoStrings(const void* english, DWORD size, Bytes* out)
{
    Reader r(english, size);
    for (int i = 0; i < 16 && r.ok(); ++i) {
        WORD length = r.word();
        std::wstring text(reinterpret_cast<const wchar_t*>(r.at()), r.ok() ? length : 0);
        r.skip(length * sizeof(wchar_t));
        std::wstring pseudo = text.empty() ? text : pseudoText(text);
        WORD pseudoLength = static_cast<WORD>(pseudo.size());
        appendBytes(*out, reinterpret_cast<const BYTE*>(&pseudoLength), reinterpret_cast<const BYTE*>(&pseudoLength + 1));
        appendBytes(*out, reinterpret_cast<const BYTE*>(pseudo.data()), reinterpret_cast<const BYTE*>(pseudo.data() + pseudo.size()));
    }
    return r.ok();
}

// List entries (control, message, length, text in the system's code page) made pseudo; letters
// that code page lacks become what it makes of them, as in any list data of that language.
bool pseudoListData(const void* english, DWORD size, Bytes* out)
{
    Reader r(english, size);
    while (r.ok() && !r.atEnd()) {
        const BYTE* record = r.at();
        if (r.word() == 0) {
            appendBytes(*out, record, r.at());
            break;
        }
        r.word();
        DWORD length = r.dword();
        const char* text = reinterpret_cast<const char*>(r.at());
        r.skip(length);
        if (!r.ok())
            return false;
        std::wstring wide(length, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(strnlen(text, length)), &wide[0], length));
        std::wstring pseudo = pseudoText(wide);
        std::string bytes(pseudo.size() * 2 + 1, '\0');
        bytes.resize(WideCharToMultiByte(CP_ACP, 0, pseudo.c_str(), static_cast<int>(pseudo.size()), &bytes[0],
                                         static_cast<int>(bytes.size()), nullptr, nullptr));
        bytes += '\0';
        DWORD pseudoLength = static_cast<DWORD>(bytes.size());
        appendBytes(*out, record, record + 4);
        appendBytes(*out, reinterpret_cast<const BYTE*>(&pseudoLength), reinterpret_cast<const BYTE*>(&pseudoLength + 1));
        appendBytes(*out, reinterpret_cast<const BYTE*>(bytes.data()), reinterpret_cast<const BYTE*>(bytes.data() + bytes.size()));
    }
    return r.ok();
}

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(names)->push_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

} // namespace

PseudoLocale::PseudoLocale(const std::wstring& locale, const std::vector<WORD>& englishLayouts)
    : m_folder(L"pseudo")
{
    HMODULE original = LoadLibraryW(locale.c_str());
    const std::wstring copy = m_folder.file(L"KivoLocalePseudo.dll");
    if (!original || !CopyFileW(locale.c_str(), copy.c_str(), FALSE)) {
        m_error = "the locale library cannot be read or copied";
    } else if (write(original, copy, englishLayouts)) {
        m_module = LoadLibraryW(copy.c_str());
        if (!m_module)
            m_error = "the copy does not load";
    }
    if (original)
        FreeLibrary(original);
}

PseudoLocale::~PseudoLocale()
{
    if (m_module)
        FreeLibrary(m_module);
}

bool PseudoLocale::write(HMODULE original, const std::wstring& copy, const std::vector<WORD>& englishLayouts)
{
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update) {
        m_error = "the copy cannot be updated";
        return false;
    }
    const LPCWSTR types[] = {RT_DIALOG, RT_STRING, kListData};
    for (LPCWSTR type : types) {
        std::vector<WORD> names;
        EnumResourceNamesW(original, type, collectName, reinterpret_cast<LONG_PTR>(&names));
        for (WORD name : names) {
            DWORD englishSize = 0, germanSize = 0;
            const void* english = findResourceIn(original, type, MAKEINTRESOURCEW(name), kEnglish, &englishSize);
            const void* german = findResourceIn(original, type, MAKEINTRESOURCEW(name), kGerman, &germanSize);
            const bool englishLayout = std::find(englishLayouts.begin(), englishLayouts.end(), name) != englishLayouts.end();
            const void* layout = englishLayout ? english : german;
            const DWORD layoutSize = englishLayout ? englishSize : germanSize;
            Bytes pseudo;
            bool made = type == RT_DIALOG ? pseudoDialog(english, englishSize, layout, layoutSize, &pseudo)
                        : type == RT_STRING ? pseudoStrings(english, englishSize, &pseudo)
                                            : pseudoListData(english, englishSize, &pseudo);
            if (!made) {
                m_error = "resource " + std::to_string(name) + " cannot be read";
                EndUpdateResourceW(update, TRUE);
                return false;
            }
            UpdateResourceW(update, type, MAKEINTRESOURCEW(name), kEnglish, pseudo.data(), static_cast<DWORD>(pseudo.size()));
            if (german)
                UpdateResourceW(update, type, MAKEINTRESOURCEW(name), kGerman, nullptr, 0);
        }
    }
    if (!EndUpdateResourceW(update, FALSE)) {
        m_error = "the copy cannot be written";
        return false;
    }
    return true;
}

} // namespace kivotest

// The hourglass while a long operation runs on the user interface thread.
#include "afxwin.h"

namespace {

HCURSOR waitCursor()
{
    return ::LoadCursorW(nullptr, IDC_WAIT);   // a shared system cursor: never destroyed
}

} // namespace

// Nested wait cursors put back, in turn, what each one replaced.
CWaitCursor::CWaitCursor() : m_hPrevious(::SetCursor(waitCursor()))
{
}

CWaitCursor::~CWaitCursor()
{
    ::SetCursor(m_hPrevious);
}

// Shows the wait cursor again after something (a message box) has changed the cursor.
void CWaitCursor::Restore()
{
    ::SetCursor(waitCursor());
}

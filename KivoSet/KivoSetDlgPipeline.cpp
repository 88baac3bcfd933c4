// The panel's frame pipeline: every frame the capturing application receives is rewritten in place
// with the chosen effects and handed back. The frame's record comes from the capturing process
// through the product library, so its format is checked before any byte is copied.
#include "KivoSetDlg.h"

#include "KivoNames.h"
#include "resource.h"

#include <cstring>

namespace {

// Larger than any camera frame; a record beyond it is not a frame.
const LONG kMaxFrameSide = 16384;
const DWORD kFourccYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');

LONG absoluteHeight(LONG height)
{
    return height < 0 ? -height : height;
}

BYTE* allocateBuffer(DWORD size)
{
    return static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size));
}

void freeBuffer(BYTE*& buffer)
{
    if (buffer) {
        GlobalFree(buffer);
        buffer = nullptr;
    }
}

} // namespace

LRESULT CKivoSetDlg::OnFrameReady(WPARAM, LPARAM)
{
    // Killing a timer is a call into the system: made once, not for every frame.
    if (m_openWaitTimerOn) {
        KillTimer(kOpenWaitTimerId);
        m_openWaitTimerOn = false;
    }
    m_effectFailed = false;
    ioGetBuffer();
    if (m_pTask)
        m_pTask->CompleteFrame();
    // The box runs a modal loop: shown from its own message, after the frame went back.
    if (m_effectFailed && m_showEffectAlert) {
        m_showEffectAlert = 0;
        PostMessage(WM_EFFECT_FAILED, 0, 0);
    }
    return 0;
}

LRESULT CKivoSetDlg::OnEffectFailed(WPARAM, LPARAM)
{
    CString text, caption;
    text.LoadString(IDS_EFFECT_FAILED);
    caption.LoadString(IDS_PRODUCT_NAME);
    runModal([&] { TesselMessageBox(text, caption, MB_ICONEXCLAMATION); });
    return 0;
}

KIVO_FRAME_BUFFER* CKivoSetDlg::ioAcquireFrameBuffer()
{
    if (m_pFrameBuffer)
        return m_pFrameBuffer;
    if (!m_pTask) {
        WriteLog(L"CKivoSetDlg::ioAcquireFrameBuffer() pFrameBuffer == NULL.");
        return nullptr;
    }
    KIVO_FRAME_BUFFER* frame = nullptr;
    if (!m_pTask->CmdAcquireFrameBuffer(&frame)) {
        WriteLog(L"CKivoSetDlg::ioAcquireFrameBuffer() CmdAcquireFrameBuffer error1.");
        return nullptr;
    }
    if (!frame) {
        WriteLog(L"CKivoSetDlg::ioAcquireFrameBuffer() pFrameBuffer == NULL.");
        return nullptr;
    }
    m_pFrameBuffer = frame;
    return frame;
}

int CKivoSetDlg::ioGetBuffer()
{
    KIVO_FRAME_BUFFER* frame = ioAcquireFrameBuffer();
    if (!frame) {
        WriteLog(L"CKivoSetDlg::ioGetBuffer()  NULL == ioAcquireFrameBuffer()");
        return 1;
    }
    if (!frame->pData)
        return 1;
    if (!isFrameConsistent(frame)) {
        WriteLog(L"CKivoSetDlg::ioGetBuffer() frame record not consistent: %ldx%ld, %u bits, 0x%08lx, %lu bytes.",
                 static_cast<long>(frame->bmiHeader.biWidth), static_cast<long>(frame->bmiHeader.biHeight),
                 static_cast<unsigned>(frame->bmiHeader.biBitCount),
                 static_cast<unsigned long>(frame->bmiHeader.biCompression),
                 static_cast<unsigned long>(frame->cbData));
        return 1;
    }
    const BITMAPINFOHEADER& header = frame->bmiHeader;
    bool formatChanged = header.biWidth != m_curWidth || header.biHeight != m_curHeight ||
                         header.biBitCount != m_curBitCount || header.biCompression != m_curCompression ||
                         frame->cbData != m_effectBufferSize;
    if (formatChanged)
        onFrameFormatChange(frame);
    // Larger frames pass untouched, also before the switch-off message has been handled.
    if (effectsAllowed())
        applyEffects(frame);
    return 1;
}

// Width, height, pixel format and byte size must describe one another: a frame whose size does not
// match its format is never copied.
bool CKivoSetDlg::isFrameConsistent(const KIVO_FRAME_BUFFER* frame)
{
    const BITMAPINFOHEADER& header = frame->bmiHeader;
    LONG width = header.biWidth;
    LONG rows = absoluteHeight(header.biHeight);
    if (width <= 0 || width > kMaxFrameSide || rows <= 0 || rows > kMaxFrameSide)
        return false;
    ULONGLONG stride = 0;
    if (header.biCompression == BI_RGB && (header.biBitCount == 24 || header.biBitCount == 32))
        stride = ((ULONGLONG(width) * header.biBitCount + 31) / 32) * 4;
    else if (header.biCompression == kFourccYuy2 && header.biBitCount == 16 && width % 2 == 0)
        stride = ULONGLONG(width) * 2;
    else
        return false;
    return ULONGLONG(frame->cbData) == stride * ULONGLONG(rows);
}

// Any change of size or format: the effect buffers are made anew for the new frame, or the effects
// are switched off when the frame is too large for them.
void CKivoSetDlg::onFrameFormatChange(KIVO_FRAME_BUFFER* frame)
{
    const BITMAPINFOHEADER& header = frame->bmiHeader;
    WriteLog(L"change Reso (X) %d -> %d, (Y) %d -> %d", static_cast<int>(m_curWidth),
             static_cast<int>(header.biWidth), static_cast<int>(m_curHeight), static_cast<int>(header.biHeight));
    m_curWidth = header.biWidth;
    m_curHeight = header.biHeight;
    m_curBitCount = header.biBitCount;
    m_curCompression = header.biCompression;
    freeEffectBuffers();
    m_effectBufferSize = frame->cbData;

    if (!effectsAllowed()) {
        PostMessage(WM_EFFECT_DISABLE, 0, 0);
        return;
    }
    PostMessage(WM_EFFECT_ENABLE, 1, 0);
    m_still1Buffer = createStillBuffer(frame, m_still1Bitmap);
    m_still2Buffer = createStillBuffer(frame, m_still2Bitmap);
    m_lastOutput = allocateBuffer(m_effectBufferSize);
    copyFromFrame(m_lastOutput, m_effectBufferSize, frame);
}

bool CKivoSetDlg::effectsAllowed() const
{
    return m_curWidth <= kMaxEffectWidth && absoluteHeight(m_curHeight) <= kMaxEffectHeight;
}

// The still picture drawn once in the frame's format. A picture that cannot be drawn leaves no
// buffer, so the still mode leaves the frame as it is instead of showing an empty one.
BYTE* CKivoSetDlg::createStillBuffer(KIVO_FRAME_BUFFER* frame, HBITMAP bitmap)
{
    if (!bitmap || !m_pKivoLib)
        return nullptr;
    BYTE* buffer = allocateBuffer(frame->cbData);
    if (buffer && !m_pKivoLib->RenderBitmap(buffer, frame, m_hWnd, bitmap))
        freeBuffer(buffer);
    return buffer;
}

void CKivoSetDlg::applyEffects(KIVO_FRAME_BUFFER* frame)
{
    DWORD flags = m_effectFlags;
    DWORD mode = flags & kModeBits;
    if (mode == 0 && m_freezeBuffer) {
        freeBuffer(m_freezeBuffer);
        m_freezeSize = 0;
    }
    if (flags == 0) {
        m_frameCounter = 0;
        return;
    }
    // Only every second frame is processed; the others repeat the last output.
    DWORD previous = m_frameCounter++;
    if ((previous & 1) && copyIntoFrame(frame, m_lastOutput, m_effectBufferSize))
        return;

    if (mode == kModeStill1) {
        copyIntoFrame(frame, m_still1Buffer, m_effectBufferSize);
    } else if (mode == kModeStill2) {
        copyIntoFrame(frame, m_still2Buffer, m_effectBufferSize);
    } else {
        if ((flags & (kFrameBits | kZoomBits)) && m_pKivoLib)
            m_effectFailed = !m_pKivoLib->ApplyFrameEffect(frame, m_hWnd, m_frameBitmap, flags);
        if (mode == kModeFreeze)
            applyFreeze(frame);
    }
    copyFromFrame(m_lastOutput, m_effectBufferSize, frame);
}

// The first frame after the freeze began (with its overlay and zoom) is kept and shown from then on.
void CKivoSetDlg::applyFreeze(KIVO_FRAME_BUFFER* frame)
{
    if (m_freezeBuffer && m_freezeSize != frame->cbData) {
        freeBuffer(m_freezeBuffer);
        m_freezeSize = 0;
    }
    if (!m_freezeBuffer) {
        m_freezeBuffer = allocateBuffer(frame->cbData);
        if (!m_freezeBuffer)
            return;
        m_freezeSize = frame->cbData;
        copyFromFrame(m_freezeBuffer, m_freezeSize, frame);
    }
    copyIntoFrame(frame, m_freezeBuffer, m_freezeSize);
}

bool CKivoSetDlg::copyIntoFrame(KIVO_FRAME_BUFFER* frame, const BYTE* buffer, DWORD bufferSize)
{
    if (!buffer || bufferSize != frame->cbData)
        return false;
    memcpy(frame->pData, buffer, bufferSize);
    return true;
}

bool CKivoSetDlg::copyFromFrame(BYTE* buffer, DWORD bufferSize, const KIVO_FRAME_BUFFER* frame)
{
    if (!buffer || bufferSize != frame->cbData)
        return false;
    memcpy(buffer, frame->pData, bufferSize);
    return true;
}

void CKivoSetDlg::freeEffectBuffers()
{
    freeBuffer(m_lastOutput);
    freeBuffer(m_still1Buffer);
    freeBuffer(m_still2Buffer);
    freeBuffer(m_freezeBuffer);
    m_freezeSize = 0;
}

// The panel's side of the frames: every frame the capturing application receives is acquired from
// the task, rewritten in place by the frame pipeline with the chosen effects, and handed back. What
// follows from a frame (a log line, the effect panel switched on or off, the failure box) is done
// here, where the window is.
#include "KivoSetDlg.h"

#include "KivoNames.h"
#include "resource.h"

LRESULT CKivoSetDlg::OnFrameReady(WPARAM, LPARAM)
{
    processFrame();
    return 0;
}

void CKivoSetDlg::processFrame()
{
    stopOpenWaitTimer();
    KIVO_FRAME_BUFFER* frame = ioAcquireFrameBuffer();
    const FrameOutcome outcome = ioGetBuffer(frame);
    if (m_pTask)
        m_pTask->CompleteFrame();
    // The box runs a modal loop: shown from its own message, after the frame went back.
    if (outcome.effectFailed && m_showEffectAlert) {
        m_showEffectAlert = 0;
        PostMessage(WM_EFFECT_FAILED, 0, 0);
    }
}

// A frame came, so no over-resolution alert from the open-wait timer. Killing a timer is a call
// into the system: made once, not for every frame.
void CKivoSetDlg::stopOpenWaitTimer()
{
    if (m_openWaitTimerOn) {
        KillTimer(kOpenWaitTimerId);
        m_openWaitTimerOn = false;
    }
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

// Processes one frame; what the pipeline made of it.
FrameOutcome CKivoSetDlg::ioGetBuffer(KIVO_FRAME_BUFFER* frame)
{
    if (!frame) {
        WriteLog(L"CKivoSetDlg::ioGetBuffer()  NULL == ioAcquireFrameBuffer()");
        return FrameOutcome();
    }
    FrameEffectInputs inputs;
    inputs.library = m_pKivoLib.get();
    inputs.caller = m_hWnd;
    inputs.flags = m_effectFlags;
    inputs.frameBitmap = m_frameBitmap;
    inputs.still1 = m_still1Bitmap;
    inputs.still2 = m_still2Bitmap;
    const FrameOutcome outcome = m_pipeline.process(*frame, inputs);
    reportFrameOutcome(*frame, outcome);
    return outcome;
}

// A refused record is logged; a new size or format switches the effect panel on or off.
void CKivoSetDlg::reportFrameOutcome(const KIVO_FRAME_BUFFER& frame, const FrameOutcome& outcome)
{
    const BITMAPINFOHEADER& header = frame.bmiHeader;
    if (outcome.refused) {
        WriteLog(L"CKivoSetDlg::ioGetBuffer() frame record not consistent: %ldx%ld, %u bits, 0x%08lx, %lu bytes.",
                 static_cast<long>(header.biWidth), static_cast<long>(header.biHeight),
                 static_cast<unsigned>(header.biBitCount), static_cast<unsigned long>(header.biCompression),
                 static_cast<unsigned long>(frame.cbData));
        return;
    }
    if (!outcome.formatChanged)
        return;
    WriteLog(L"change Reso (X) %d -> %d, (Y) %d -> %d", static_cast<int>(outcome.previousWidth),
             static_cast<int>(header.biWidth), static_cast<int>(outcome.previousHeight),
             static_cast<int>(header.biHeight));
    if (m_pipeline.effectsAllowed())
        PostMessage(WM_EFFECT_ENABLE, 1, 0);
    else
        PostMessage(WM_EFFECT_DISABLE, 0, 0);
}

#include "ImgFAccessTask.h"

#include <new>

void ImgFAccessTask::Release()
{
    delete this;
}

DWORD ImgFAccessTask::Open(HWND hNotifyWnd, DWORD cameraIndex)
{
    DWORD rc = m_channel.open(hNotifyWnd, cameraIndex);
    if (rc != KIVO_TASK_OK)
        WriteLog(L"ImgFAccessTask::Open() camera %u: result %u.", unsigned(cameraIndex), unsigned(rc));
    return rc;
}

BOOL ImgFAccessTask::GetFrameStats(KIVO_FRAME_STATS* pStats)
{
    if (!pStats || pStats->cbSize != sizeof(KIVO_FRAME_STATS))
        return FALSE;
    DWORD processed = 0, passed = 0;
    if (!m_channel.frameStats(processed, passed))
        return FALSE;
    pStats->dwProcessed = processed;
    pStats->dwPassedThrough = passed;
    return TRUE;
}

DWORD ImgFAccessTask::EnableFrameAccess(DWORD enable)
{
    return m_channel.enableFrameAccess(enable != 0) ? KIVO_TASK_OK : KIVO_TASK_FAILED;
}

BOOL ImgFAccessTask::CmdAcquireFrameBuffer(KIVO_FRAME_BUFFER** ppBuffer)
{
    if (!ppBuffer || !m_channel.isOpen())
        return FALSE;
    *ppBuffer = m_channel.descriptor();
    return TRUE;
}

DWORD ImgFAccessTask::Close()
{
    m_channel.close();
    return KIVO_TASK_OK;
}

DWORD ImgFAccessTask::CompleteFrame()
{
    return m_channel.completeFrame() ? KIVO_TASK_OK : KIVO_TASK_FAILED;
}

extern "C" KIVOLIB_API IImgFAccessTask* __cdecl CreateImgFAccessTask()
{
    return new (std::nothrow) ImgFAccessTask();
}

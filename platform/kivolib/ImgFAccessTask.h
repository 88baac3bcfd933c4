// The image access task: IImgFAccessTask over the virtual camera's task channel.
#pragma once

#include "KivoLib.h"

#include "TaskChannel.h"

class ImgFAccessTask : public IImgFAccessTask {
public:
    ImgFAccessTask() = default;
    virtual ~ImgFAccessTask() = default;

    void Release() override;
    DWORD Open(HWND hNotifyWnd, DWORD cameraIndex) override;
    BOOL GetFrameStats(KIVO_FRAME_STATS* pStats) override;
    DWORD EnableFrameAccess(DWORD enable) override;
    BOOL CmdAcquireFrameBuffer(KIVO_FRAME_BUFFER** ppBuffer) override;
    DWORD Close() override;
    DWORD CompleteFrame() override;

private:
    ImgFAccessTask(const ImgFAccessTask&) = delete;
    ImgFAccessTask& operator=(const ImgFAccessTask&) = delete;

    vcam::TaskChannel m_channel;
};

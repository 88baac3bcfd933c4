#include "ShowCameraProperties.h"

#include "CameraPropertySheet.h"

void showCameraProperties(std::shared_ptr<ICameraPropertySettings> settings, int direction, HWND hPanel)
{
    if (!settings)
        return;
    if (settings->IsInternalCamera())
        runCameraPropertySheet(settings.get(), direction);
    else
        settings->ShowPropertyDialog(hPanel);
}

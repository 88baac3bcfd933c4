// The camera's picture properties as the panel's sheet button shows them: the panel's own property
// sheet for the built-in camera, the settings object's dialog for any other camera.
#pragma once

#include "KivoLib.h"

#include <windows.h>

#include <memory>

// Runs modally. It holds the settings object until the dialog has returned: the camera may close
// while the dialog is open, which destroys the panel and drops the panel's reference.
void showCameraProperties(std::shared_ptr<ICameraPropertySettings> settings, int direction, HWND hPanel);

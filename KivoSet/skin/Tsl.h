// The skin library's whole interface (Tsl.dll).
#pragma once

#include "TslApi.h"
#include "TslPainters.h"
#include "TslButtons.h"
#include "TslDialogs.h"
#include "TslControls.h"
#include "TslMessageBox.h"
#include "TslColors.h"
#include "TslAccessible.h"

// The shared test support of every Wine test: one include for all of it.
#pragma once

#include "BitmapPixels.h"
#include "BmpFile.h"
#include "DialogDriver.h"
#include "LoadedLibrary.h"
#include "LogFile.h"
#include "ResourceCounts.h"
#include "ScopedVariable.h"
#include "ScratchFolder.h"
#include "SettingsKey.h"
#include "Staging.h"
#include "TestPaths.h"
#include "TestProcess.h"
#include "UniqueName.h"
#include "Wait.h"
#include "WindowSearch.h"

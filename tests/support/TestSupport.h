// The shared test support of every Wine test: one include for all of it.
#pragma once

#include "DialogDriver.h"
#include "LocaleTexts.h"
#include "LogFile.h"
#include "ResourceCounts.h"
#include "ScopedVariable.h"
#include "ScratchFolder.h"
#include "Staging.h"
#include "TestPaths.h"
#include "TestProcess.h"
#include "TextFit.h"
#include "UniqueName.h"
#include "Wait.h"
#include "WindowSearch.h"

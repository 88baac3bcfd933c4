// Telling whether the process that wrote a record is still the one running under that id.
#pragma once

#include "VcamLayout.h"

#include "UniqueHandle.h"

namespace vcam {

ProcessTag currentProcessTag();

// A handle (SYNCHRONIZE) to the process the tag names, or null when it has ended or the id now
// belongs to another process.
UniqueHandle openTaggedProcess(const ProcessTag& tag);

bool isProcessAlive(const ProcessTag& tag);

} // namespace vcam

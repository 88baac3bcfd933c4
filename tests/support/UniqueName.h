// Names no other test process uses at the same time (ctest runs test programs in parallel): for
// kernel objects, registry keys, files and virtual camera namespaces.
#pragma once

#include <string>

namespace kivotest {

// stem-PID-N, N counting up in this process.
std::wstring uniqueName(const std::wstring& stem);

} // namespace kivotest

#include "TslMessageBox.h"

namespace {

// Read and written on the user-interface thread; the library's windows read it when they are skinned.
bool g_lunaEnabled = true;

} // namespace

bool TesselAPI::EnableLuna(bool enable)
{
    bool previous = g_lunaEnabled;
    g_lunaEnabled = enable;
    return previous;
}

bool TesselAPI::IsLunaEnabled()
{
    return g_lunaEnabled;
}

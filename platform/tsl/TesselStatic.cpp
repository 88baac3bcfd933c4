#include "TslControls.h"

IMPLEMENT_DYNAMIC(TesselStatic, CStatic)

// The dialog colours a static control through WM_CTLCOLORSTATIC; the control itself draws as the
// system's does.
TesselStatic::TesselStatic() = default;
TesselStatic::~TesselStatic() = default;

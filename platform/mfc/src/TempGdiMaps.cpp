// Idle cleanup of the GDI wrappers' temporary maps.
// The GDI sources (CGdiObject, CDC) keep their temporary maps as CTempHandleMap objects and take
// this function over, freeing them with DeleteTemp(AfxGetTempMapKeepDepth()). Until those sources
// exist there is no GDI wrapper and so nothing to free.
#include "afximpl.h"

void AfxDeleteTempGdiMaps()
{
}

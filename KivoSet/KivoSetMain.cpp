// The settings program: its one application object.
#include "KivoSetApp.h"

CKivoSetApp theApp;

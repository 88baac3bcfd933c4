// The service program: its one application object.
#include "KivoServeApp.h"

KivoServeApp theApp;

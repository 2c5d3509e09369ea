// A module without "StartCmd": the host must refuse it cleanly.
#include "base/api_decl.h"

ZAV_EXTERN_C int ZAVAPI CwCmdVer() { return 100; }

#include "trace.h"

Trace g_trace;

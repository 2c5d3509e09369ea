// The shell's dialogs share the framework's dialog base; its colours and
// buttons come from the application object (filled in InstallHostServices).
#pragma once

#include "shell/cad_system.h"
#include "win/dialog_base.h"

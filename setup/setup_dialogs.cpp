#include "setup/setup_dialogs.h"

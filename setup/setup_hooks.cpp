#include "setup/setup_hooks.h"

SetupHooks& SetupHost() {
    static SetupHooks hooks;
    return hooks;
}

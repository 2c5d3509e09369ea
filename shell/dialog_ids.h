// Resource numbers of the small dialogs of the shell (res/dialogs.rc).
#pragma once

#define IDD_INPUT_POINT 223
#define IDD_VERSION_INFO 224
#define IDD_YESNO_CANCEL 231
#define IDD_YESNO_ONE 233
#define IDD_TOOLBAR_SETTINGS 258
#define IDI_YESNO 247
// The plain yes/no dialog is named, not numbered.
#define IDD_YESNO_PLAIN_NAME "YesNo0"

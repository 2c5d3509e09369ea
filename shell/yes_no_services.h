// The yes/no questions that command modules ask the user through the host
// (UM_CONFIRM_YESNO and UM_CONFIRM_YESNO_EX). The request's prompt (the
// text pointer at +0x70 of the CmdRequest) goes to the prompt bar, its
// placement flag (+0x6c) says whether the dialog opens where the last one
// stood; the dialogs (yes_no_dialogs.h) take the answer, never assumed.
#pragma once

#include <windows.h>

// Yes or no: 0 when the user answers No, 1 otherwise.
LRESULT RunYesNoPlainDialog(WPARAM wParam, LPARAM request);
// Yes, no or cancel: 1 yes, 2 cancel, 0 no.
LRESULT RunYesNoCancelDialog(WPARAM wParam, LPARAM request);

// The question of an element pick among several candidates: 6 take it,
// 7 or 1001 the next one, 2 stop (RunYesNoDialog). `title` is the caption
// (YESNOMSG); the placement words, when given, keep each next question at
// the place of the first after a "no".
int RunPickQuestion(int* placed, int* x, int* y, const char* title);

// The yes/no questions that command modules ask the user through the host
// (UM_CONFIRM_YESNO and UM_CONFIRM_YESNO_EX). The request's prompt (the
// text pointer at +0x70 of the CmdRequest) goes to the prompt bar and into
// the question; the answer is the user's, never assumed.
#pragma once

#include <windows.h>

// Yes or no: 0 when the user answers No, 1 otherwise.
LRESULT RunYesNoPlainDialog(WPARAM wParam, LPARAM request);
// Yes, no or cancel: 1 yes, 2 cancel, 0 no.
LRESULT RunYesNoCancelDialog(WPARAM wParam, LPARAM request);

// The question of an element pick among several candidates: IDYES take it,
// IDNO the next one, IDCANCEL stop. `title` is the question (YESNOMSG; a
// default text when empty). The box opens where the system puts it, so the
// placement words are left as they are.
int RunPickQuestion(int* placed, int* x, int* y, const char* title);

// The temporary database ("仮DB") a command builds a preview in, painted
// over the drawing window whose drawing information it took, and the list
// of overlay databases, each painted over the windows of one drawing.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

// UM_TEMP_DB: wParam the sub-argument, request +0x10 the operation.
LRESULT TempDbRequest(WPARAM a, const CmdRequest* req);

// The header of the temporary database, whether or not it exists.
DbHeader* GetTempDb();
int TempDbExists();

// For the painter of the drawing views, after a view's own drawing:
// 1 when the temporary database is to be drawn over the view of `db`.
int IsTempDbView(DbHeader* db);
// The overlay databases paired with the views of `db`, one by one; 0 at
// the end (and when the list is switched off).
DbHeader* TempDbFindFirst(DbHeader* db);
DbHeader* TempDbFindNext(DbHeader* db);

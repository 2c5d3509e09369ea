// Undo and redo of the active drawing: the host replays the CAD library's
// undo records one step at a time (erasing and redrawing exactly the
// elements concerned) and moves the drawing's current undo position; the
// thin services beside it close and clear steps and read and write the
// user data and tags of elements.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

int ClearUndoElements(DbHeader* db);  // null: the active drawing
int MakeUndoPass();
int CanUndo();
int CanRedo();
int UndoLastStep();
int RedoLastStep();

// Element kinds that the replay erases and redraws.
bool IsDisplayableKind(int kind);

int GetElementUserData(StoredElement* element, void* buffer256);
int SetElementUserData(StoredElement* element, const void* data256);
int GetElementTag(int tag, StoredElement* element);
int SetElementTag(int tag, StoredElement* element, int value);
int GetElementTagString(const CmdRequest* req);
int SetElementTagString(const CmdRequest* req);

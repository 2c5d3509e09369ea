// The service commands that are more than a line of the table, by file:
// service_view_cmds.cpp (zoom, scroll, zoom window, loupe, grid centre, a
// second window, previous view, extents), service_pick_cmds.cpp (highlight
// in rectangles, attribute pick-up, mid point, delete with link check) and
// service_memo_cmds.cpp (drawing memo, help file, settings dialogs,
// pattern-save toggle). Each returns the command's result.
#pragma once

#include <windows.h>

int ServiceZoomByClick();                // 1205
int ServiceScrollByClick();              // 1206
int ServiceZoomWindow(LPARAM argument);  // 1210
int ServiceLoupe();                      // 1300
int ServiceGridCentre();                 // 1350
int ServiceNewWindow(int id);            // 1203, 1213
int ServicePreviousView();               // 1333
int ServiceZoomExtents();                // 1334

int ServiceHighlightInRects();     // 1235
int ServiceAttributePickUp();      // 1304
int ServiceMidPoint();             // 1332
int ServiceDeleteWithLinkCheck();  // 1336

int ServiceDeleteMemo();                // 1311
int ServiceChooseMemo();                // 1313
int ServiceShowMemo();                  // 1318
int ServiceHelpFile(const char* path);  // 1212
int ServiceSettingsSheet();             // 1229
int ServicePatternSaveToggle();         // 1307

// The memo file chosen last by the file chooser (empty after a cancel).
const char* ChosenMemoFile();

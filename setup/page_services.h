// Pages of the active drawing: current page, page state, page records,
// paper/model space and frame views. The present forms do the least until the
// CAD library serves pages; each says what it does.
#pragma once

#include <windows.h>

#include "view/db_info.h"

// The current page of the active drawing (0 without one).
int GetCurrentPage();
// Makes `page` current; 0 above 256 or without an active drawing, else 1.
int SetCurrentPage(int page);
// Copies the active drawing's page state (196 bytes) out of and into its
// header; 0 without an active drawing.
int GetPageState(PageStateBlock* state);
int SetPageState(const PageStateBlock* state);
// Present form of the page record services: 0, nothing changed,
// pages have their dialogs.
int AddPageFrom(int page, int sourcePage);
int GetPageDbInfo(int page, DbInfoHead* info);
int SetPageDbInfo(int page, const DbInfoHead* info);
int GetPageAttribute(int page);
int GetPagePlacement(int page, int* values6, double* scale, double* angle);
int SetPagePlacement(int page, const int* values6, const double* scale, const double* angle);
int MarkPageElements(CadMark* mark, int page);
// Number of frame elements (kind 60) on page 0, the first one out.
int CountFrameElements(StoredElement** firstElement);
int DeletePage(int page, int reserved);
// Switch the active view to paper space or model space (commands 4039,
// 4040); the frame view of a frame element.
int ShowPaperSpace();
int ShowModelSpace();
int ShowFrameView(const void* frameElement);
// 1 when `window` (null: the active view) is a drawing view, else 0.
int UpdateFrameViewFlag(HWND window);
// Frees the page dialogs' edit records at shut-down; 0 when none.
int FreePageEditRecords();

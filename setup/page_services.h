// Pages of the active drawing: the thin layer over the CAD library's page
// calls that the page host message, the page dialogs, the layer model and
// the paper/model space commands share. Every service works on the active
// drawing view and answers 0 without one.
#pragma once

#include <windows.h>

#include "view/db_info.h"

// The current page of the active drawing (0 without one).
int GetCurrentPage();
// Makes `page` current; 0 above 256 (taken unsigned) or without an active
// drawing, else 1.
int SetCurrentPage(int page);
// Copies the active drawing's page state (196 bytes) out of and into its
// header; 0 without an active drawing.
int GetPageState(PageStateBlock* state);
int SetPageState(const PageStateBlock* state);
// A page's display and detect bits (pages 0-511; others read as 0 and are
// not written).
int IsPageDisplayed(int page);
int SetPageDisplayed(int page, int on);
int IsPageDetectable(int page);
int SetPageDetectable(int page, int on);
// Adds page `page` made from `sourcePage`: paper of the first paper row,
// the source's head, line types, colours and widths; displayed and
// detectable. 1, or 0 when the library refused the page.
int AddPageFrom(int page, int sourcePage);
// The 4,223-byte head of a page's drawing information; 0 when the page
// does not exist.
int GetPageDbInfo(int page, DbInfoHead* info);
int SetPageDbInfo(int page, const DbInfoHead* info);
// The page's attribute word (0 for page 0 and for a missing page).
int GetPageAttribute(int page);
// Placement of a page on its parent: origin as six 32-bit values, the
// horizontal factor and the angle in radians. Page 0: the frame transform.
int GetPagePlacement(int page, int* values6, double* scale, double* angle);
int SetPagePlacement(int page, const int* values6, const double* scale, const double* angle);
// The 256 title bytes of a page and the byte behind them (257 bytes).
int GetPageTitle(int page, char* title257);
// Puts every element of the page into `mark` (a group goes with its first
// member that is not a group); the number put in.
int MarkPageElements(CadMark* mark, int page);
// Number of frame elements (kind 60) on page 0, the first one out.
int CountFrameElements(StoredElement** firstElement);
// Deletes a page with all its elements; 0 without an active drawing.
int DeletePage(int page, int ask);
// Switch the active view to paper space or model space (commands 4039,
// 4040); the frame view of a frame element fitted into the view.
int ShowPaperSpace();
int ShowModelSpace();
int ShowFrameView(const void* frameElement);
// Sets the drawing's frame-view flag from the view's mode; null means the
// active view. 1 for a drawing view, else 0.
int UpdateFrameViewFlag(HWND window);
// The value of a number or a simple expression ("1/2+3").
double EvalNumberText(const char* text);


// The work records of the page dialogs: one per page, made from the
// drawing when a dialog opens, edited by it, and written through the page
// services only when it ends with OK.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "view/db_info.h"

enum PageEditFlag : unsigned char {
    kPageFlagDisplay = 1,
    kPageFlagDetect = 2,
    kPageFlagExternalRef = 4,
};

enum PageEditAction {
    kPageActionDone = -1,  // done, or to delete
    kPageActionKeep = 0,   // an existing page
    kPageActionAdd = 1,    // a page to add
};

struct PageEditRecord {
    int page = 0;
    int parent = 0;
    double factorX = 0, factorY = 0, angle = 0;
    int kind = 0;  // 1: geodetic coordinate system
    unsigned char origin[24] = {};
    char fileName[260] = "";
    char shortText[32] = "";
    char title[257] = "";
    char author[257] = "";
    char remarks[257] = "";
    double drawW = 0, drawH = 0, paperWmm = 0, paperHmm = 0, scale = 0;
    uint16_t paperCode = 0;
    unsigned char flags = 0;
    int action = kPageActionKeep;
    int level = 0;
    int key = 0;
    HTREEITEM item = nullptr;
};

// The record with key `index`, made zero-filled (and appended with that key)
// when none has it; null for a negative index.
PageEditRecord* PageEditRecordAt(int index);
int PageEditRecordCount();
// Frees the chain; 0 when there was none, else 1.
int FreePageEditRecords();

// Levels: the page information dialog's form (page 0 keeps 0, pages without
// a parent 1) or the page manager's (one less).
void ComputePageEditLevels(bool managerForm);

// Display-state icon: 2 display and detect, 1 display only, 0 otherwise.
int PageStateIconIndex(unsigned char flags);
// A click on a page's state icon: left (button 0) sets both or clears
// both; right (1) clears display-only or makes the page display-only.
unsigned char TogglePageStateFlags(unsigned char flags, int button);
// Zone of a press in the page tree at x for a page nested `level` deep:
// 0 indent, 1 state icon, 2 label, -1 between them.
int PageTreeZone(int x, int level);

// The smallest page number 1-256 no record uses; 0 when none is free.
int FirstFreePageNumber();
// Marks the records at the given indices, and the records behind each that
// lie deeper in the hierarchy (up to the first that does not), for
// deletion; then removes the marked ones from the last to the first and
// renumbers the keys. Returns the removed indices, last first.
std::vector<int> DeletePageEditRecords(const std::vector<int>& selected);

// Appends a record for a page the add-page dialog made from `source`.
PageEditRecord* AppendNewPageRecord(const PageEditRecord& source);

// One step of applying the page manager's records: delete a page, or make
// a new page from record `record`.
struct PageAppendStep {
    enum Kind { DeletePage, AddPage } kind;
    int page;
    int record;
};
// The steps that bring the existing pages (`existing`, other than page 0)
// to the records: pages without a record are deleted; a page whose number a
// new record reuses is deleted before the record makes it; remaining new
// records are made in record order.
std::vector<PageAppendStep> PlanPageAppend(const std::vector<int>& existing);

// Building from and applying to the active drawing.
// The page information dialog's records (page 0 first); 0 without a drawing.
int BuildPageEditRecords();
// The page manager's records (pages other than page 0).
int BuildPageAppendRecords();
// Writes the page information dialog's records.
int ApplyPageEditRecords();
// Runs the page manager's plan; the number of steps.
int ApplyPageAppendRecords();

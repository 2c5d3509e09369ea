// Resource numbers of the host executable.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_ICON 1001

// The drawing file dialogs.
#define IDD_OPEN_PANEL 229
#define IDD_IMPORT_OPTIONS 235
#define IDB_FLIST_UNSELECTED 239
#define IDB_FLIST_SELECTED 240
#define IDC_FLIST_GRID 500
#define IDC_OPEN_INFO 1812
#define IDC_OPEN_PREVIEW 6000
#define IDC_OPEN_TABS 6010
#define IDC_OPEN_EDIT 6050
#define IDC_OPEN_STATIC_FIRST 6071
#define IDC_OPEN_LIST 6090
#define IDC_OPEN_SETTINGS 6091

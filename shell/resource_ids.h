// Resource numbers of the host executable.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_ICON 1001

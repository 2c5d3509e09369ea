// Resource ids of the test program's dialog templates and menu.
#pragma once

#define IDD_TEST_MODAL 100
#define IDD_TEST_MODELESS 101
#define IDD_TEST_PAGE1 102
#define IDD_TEST_PAGE2 103
#define IDM_TEST_MENU 110

#define IDC_TEST_TEXT 1000
#define IDC_TEST_EDIT 1001
#define IDC_TEST_CHECK 1002
#define IDC_TEST_EDIT2 1003
#define IDC_TEST_RADIO1 1004
#define IDC_TEST_RADIO2 1005

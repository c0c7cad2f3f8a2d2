// Resource identifiers, grouped per dialog. Control identifiers are looked up in their own
// dialog only: 1007 and 1008 name different controls on the strings and the interval page.
#pragma once

#define IDR_MAINFRAME 128

// Main window
#define IDD_GENERATOR_DIALOG 102
#define IDC_STATIC_USAGE 1000
#define IDC_TAB_PAGES 1001
#define IDC_BTN_ABOUT 1031

// Strings page
#define IDD_PAGE_STRINGS 129
#define IDC_CHECK_UPPER 1002
#define IDC_CHECK_LOWER 1003
#define IDC_CHECK_DIGIT 1004
#define IDC_EDIT_HEAD 1005
#define IDC_EDIT_TAIL 1006
#define IDC_CHECK_HANZI 1007
#define IDC_EDIT_INSERT 1008
#define IDC_EDIT_STR_OUTPUT 1010
#define IDC_BTN_STR_GENERATE 1011
#define IDC_BTN_STR_EXPORT 1012
#define IDC_EDIT_LEN_MIN 1015
#define IDC_EDIT_LEN_MAX 1016
#define IDC_EDIT_STR_COUNT 1017

// Numbers page
#define IDD_PAGE_NUMBERS 130
#define IDC_CHECK_INTEGER 1018
#define IDC_CHECK_FLOAT 1019
#define IDC_EDIT_NUM_MIN 1020
#define IDC_EDIT_NUM_MAX 1021
#define IDC_EDIT_NUM_COUNT 1022
#define IDC_EDIT_DECIMALS 1023
#define IDC_BTN_NUM_GENERATE 1024
#define IDC_BTN_NUM_EXPORT 1025
#define IDC_EDIT_NUM_OUTPUT 1026

// Interval page
#define IDD_PAGE_INTERVAL 131
#define IDC_EDIT_INTERVAL_MIN 1007
#define IDC_EDIT_TIME_COUNT 1008
#define IDC_EDIT_INTERVAL_MAX 1009
#define IDC_EDIT_PROGRAM 1013
#define IDC_CHECK_RUN_PROGRAM 1014
#define IDC_EDIT_TIME_OUTPUT 1027
#define IDC_BTN_TIME_GENERATE 1028
#define IDC_BTN_TIME_EXPORT 1029

// User guide, opened by F1: the guide as the program carries it, and the window that shows it
#define IDR_USER_GUIDE 132
#define IDD_USER_GUIDE 133
#define IDC_LIST_GUIDE_SECTIONS 1040
#define IDC_EDIT_GUIDE_TEXT 1041

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Framework
#define ID_HELP 57670

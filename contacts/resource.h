#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CONTACTS_DIALOG 103
#define IDC_RIGHTS 108
#define IDC_EXIT 109
#define IDR_MAINFRAME 128
#define IDB_LABEL_PHONE 130
#define IDB_LABEL_NAME 131
#define IDB_LABEL_ADDRESS 132
#define IDB_LABEL_REMARKS 133
#define IDS_DELETE_CONFIRM 146
#define IDS_NO_NAME 154
#define IDS_NO_PHONE 155
#define IDS_REG_ERROR 156
#define IDS_OVERFLOW 157
#define IDS_REPLACE 158
#define IDS_RIGHTS 300
#define IDS_RIGHTS_PREFIX 301
#define IDS_APP_TITLE 57344

// System-menu item; any system command from 16 to 31 opens the About box.
#define IDM_ABOUTBOX 0x0010

// Help topic of the dialog in the suite's help file.
#define IDH_CONTACTS 210

#define IDC_HELP_BUTTON 3
#define IDC_PHONE_LABEL 1000
#define IDC_BOOK 1001
#define IDC_PHONE 1002
#define IDC_NAME 1003
#define IDC_ADDRESS 1004
#define IDC_REMARKS 1005
#define IDC_CLEAR 1006
#define IDC_ADD 1007
#define IDC_DELETE 1008
#define IDC_NAME_LABEL 1009
#define IDC_ADDRESS_LABEL 1010
#define IDC_REMARKS_LABEL 1011
#define IDC_SEPARATOR 1012

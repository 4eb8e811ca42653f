#pragma once
#include "common/CommonResources.h"

#define IDR_MAINFRAME 128
#define IDB_TOOLBAR 133
#define IDC_LIST_SELECTOR 135
#define IDC_LOG_LIST 136
#define IDC_VIEW 0xE900
#define IDC_PROGRESS 1000

#define IDD_ABOUTBOX 100
#define IDC_RIGHTS 105
#define IDM_ABOUTBOX 16
#define IDS_ABOUTBOX 102

#define ID_SHOW_RECEIVE_LIST 107
#define ID_SHOW_SEND_LIST 108
#define ID_REFRESH_LIST 109
#define ID_LOG_HELP 32772
#define ID_OPEN_FAX 32773
#define ID_DELETE_ROW 32774
#define ID_SEND_AGAIN 32775

#define IDS_SEND_LIST 145
#define IDS_RECEIVE_LIST 146
#define IDS_CONFIRM_DELETE 154
#define IDS_REG_ERROR 155
#define IDS_READY 203
#define IDS_RIGHTS 300
#define IDS_RIGHTS_PREFIX 301
#define IDS_APP_TITLE 57344
// Column titles of the two lists.
#define IDS_COLUMN_TO 400
#define IDS_COLUMN_FROM 401
#define IDS_COLUMN_STATUS 402
#define IDS_COLUMN_DIALS 403
#define IDS_COLUMN_DATE 404
#define IDS_COLUMN_PAGES 405
#define IDS_COLUMN_REMARK 406

#define IDH_LOGBOOK 220

// Window messages: the list to show (wParam 0 send, 1 receive), from the program's own commands and from a
// second start; and the log file code's progress reports.
#define WM_SHOW_LIST (WM_USER + 107)
#define WM_LOG_PROGRESS (WM_USER + 1127)

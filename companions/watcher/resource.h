#pragma once

#define IDS_CAPTION 101
#define IDS_RECEIVE_NOW 102
#define IDS_SAMPLES_FROM 103
#define IDS_COLUMN_DATE 104
#define IDS_COLUMN_FROM 105
#define IDS_COLUMN_PAGES 106
#define IDS_COLUMN_FILE 107
#define IDS_UNKNOWN_SENDER 108
#define IDS_NO_SAMPLE_FOLDER 110
#define IDS_NO_SAMPLES 111
#define IDS_SAMPLE_UNREADABLE 112
#define IDS_SAMPLE_TOO_LARGE 113
#define IDS_SAMPLE_INVALID 114
#define IDS_FOLDER_MISSING 115
#define IDS_DISK_FULL 116
#define IDS_CANNOT_STORE 117
#define IDS_CANNOT_RECORD 118
#define IDS_REG_ERROR 156

// The button's id is also its command, so the command can be posted to the window as well as clicked.
#define IDC_RECEIVE_NOW 1001
#define IDC_SAMPLES_TEXT 1002
#define IDC_RECEIVED_LIST 1003

#pragma once

// Resources that every program using the shared address book and log code defines with these numbers; the
// texts of some differ between programs.
#define IDD_PROGRESS 105
#define IDC_PROGRESS_BAR 106
#define IDC_PROGRESS_TEXT 107
#define IDS_CANNOT_OPEN 151
#define IDS_CANNOT_CLOSE 152
#define IDS_CANNOT_DELETE 153
#define IDS_LOADING 200
#define IDS_SAVING 201
#define IDS_CLEARING 202
// The address book's column headings, which are also the header words of its file: name, phone, address, remarks.
#define IDS_COLUMN_NAME 400
#define IDS_COLUMN_PHONE 401
#define IDS_COLUMN_ADDRESS 402
#define IDS_COLUMN_REMARKS 403

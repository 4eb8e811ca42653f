#pragma once

// Dialogs by name, as the installer's flow refers to them: "MAIN_DLG", "FILE_COPY_DLG", "VERSION_DLG",
// "FILEOPEN" (the folder chooser's template) and the icon "SHOWICON".

// MAIN_DLG
#define IDC_SOURCE_LABEL 201
#define IDC_TARGET_LABEL 202
#define IDC_GROUP_LABEL 203
#define IDC_SOURCE_EDIT 204
#define IDC_TARGET_EDIT 205
#define IDC_GROUP_EDIT 206
#define IDC_VERSION 207
#define IDC_BROWSE_SOURCE 208
#define IDC_BROWSE_TARGET 209
#define IDC_PORT_BOX 210
#define IDC_LPT1 211
#define IDC_LPT2 212
#define IDC_LPT3 213

// FILE_COPY_DLG
#define IDC_COPY_SOURCE_LABEL 301
#define IDC_COPY_TARGET_LABEL 302
#define IDC_COPY_SOURCE 303
#define IDC_COPY_TARGET 304

// VERSION_DLG
#define IDC_VERSION_CAPTION 305
#define IDC_VERSION_RIGHTS 306
#define IDC_VERSION_CREDITS 307

// FILEOPEN: the old-style open dialog's own control ids (dlgs.h).
#define IDC_CHOOSER_FOLDER 1088   // stc1
#define IDC_CHOOSER_FILES 1120    // lst1
#define IDC_CHOOSER_FOLDERS 1121  // lst2
#define IDC_CHOOSER_TYPES 1136    // cmb1
#define IDC_CHOOSER_DRIVES 1137   // cmb2
#define IDC_CHOOSER_NAME 1152     // edt1

#define IDS_CAPTION 1
#define IDS_SOURCE 2
#define IDS_TARGET 3
#define IDS_GROUP 4
#define IDS_PORTS 5
#define IDS_LPT1 6
#define IDS_LPT2 7
#define IDS_LPT3 8
#define IDS_OK 9
#define IDS_CANCEL 10
#define IDS_VERSION 11
#define IDS_BROWSE_SOURCE 12
#define IDS_BROWSE_TARGET 13
#define IDS_RIGHTS 14
#define IDS_CREDITS 15
#define IDS_INTERRUPTED 16
#define IDS_DONE 17
#define IDS_INCOMPLETE 18
#define IDS_NOT_FOUND 19
#define IDS_BAD_PATH 20
#define IDS_TOO_MANY_FILES 21
#define IDS_ACCESS_DENIED 22
#define IDS_INSERT_DISK 23
#define IDS_OVERWRITE 24
#define IDS_COPY_TITLE 25
#define IDS_PATH_TOO_LONG 26

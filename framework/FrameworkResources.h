#pragma once

// Strings every program's resources carry for the framework (framework.rc).
#define IDS_FW_FILE_NOT_FOUND 0xF110
#define IDS_FW_SHARING_VIOLATION 0xF111
#define IDS_FW_FAILED_TO_OPEN 0xF112
#define IDS_FW_FAILED_TO_SAVE 0xF113
#define IDS_FW_INVALID_FILENAME 0xF114
#define IDS_FW_BAD_PATH 0xF115
#define IDS_FW_ACCESS_DENIED 0xF116
#define IDS_FW_DISK_FULL 0xF117
#define IDS_FW_DOCK_TOP 0xF120
#define IDS_FW_DOCK_BOTTOM 0xF121
#define IDS_FW_DOCK_LEFT 0xF122
#define IDS_FW_DOCK_RIGHT 0xF123
#define IDS_FW_FLOAT 0xF124

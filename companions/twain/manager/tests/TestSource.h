#pragma once
#include "common/Twain.h"

// The test data source's exports besides DS_Entry: what it saw last, and a call back to the manager.
struct TestSourceCall {
    int count;  // calls since the library was loaded
    TW_UINT32 originId;
    TW_UINT32 group;
    TW_UINT16 type;
    TW_UINT16 message;
    TW_MEMREF data;
};
using TestSourceLastCallProc = const TestSourceCall* (*)();
// Sends DG_CONTROL/DAT_NULL with `message` to the application that opened the source.
using TestSourceNotifyProc = TW_UINT16 (*)(TW_UINT16 message);

// When set, the source refuses MSG_OPENDS and reports the variable's number as its condition code.
inline constexpr char kRefuseOpenVariable[] = "MIROLO_TEST_SOURCE_REFUSE";
// The source's product name is this prefix and its file's name, so that copies of it tell apart.
inline constexpr char kTestSourcePrefix[] = "测试来源 ";

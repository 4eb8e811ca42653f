#include "setup/core/InstallTables.h"

namespace setup {

namespace {
constexpr uint16_t kProgram = kFolderInstall;
constexpr uint16_t kProgramSub = kFolderInstall | kFolderSubfolder;
constexpr uint16_t kProgramFolder = kFolderInstall | kFolderSubfolder | kFolderOnly;
constexpr uint16_t kSystem = kFolderSystem;
constexpr uint16_t kWindows = kFolderWindows;
}  // namespace

// clang-format off
const InstallFileEntry kInstallFiles[] = {
//   lz disk    installed        source            subfolder  folder          shortcuts                          name            show  icon  arguments                           run copy uninst keep
    {1, 1, 0, "VIEWER.EXE",   "VIEWER.EX_",   nullptr,   kProgram,       kShortcutGroup,                    "查看",         1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "LOGBOOK.EXE",  "LOGBOOK.EX_",  nullptr,   kProgram,       kShortcutGroup,                    "查看接收清单", 1, 0, "\"%InstPath\\Log\\Receive.csv\"",  0, 1, 1, 0},
    {1, 1, 0, "LOGBOOK.EXE",  "LOGBOOK.EX_",  nullptr,   kProgram,       kShortcutGroup,                    "查看发送清单", 1, 0, "\"%InstPath\\Log\\Send.csv\"",     0, 1, 1, 1},
    {1, 1, 0, "LAUNCHER.EXE", "LAUNCHER.EX_", nullptr,   kProgram,       kShortcutGroup | kShortcutDesktop, "主菜单",       1, 0, nullptr,                            1, 1, 1, 0},
    {1, 1, 0, "CONTACTS.EXE", "CONTACTS.EX_", nullptr,   kProgram,       kShortcutGroup,                    "地址簿",       1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "WATCHER.EXE",  "WATCHER.EX_",  nullptr,   kProgram,       kShortcutGroup | kShortcutStartup, "自动接收",     7, 0, nullptr,                            1, 1, 1, 0},
    {1, 1, 0, "REMOVER.EXE",  "REMOVER.EX_",  nullptr,   kProgram,       kShortcutGroup,                    "卸载软件",     1, 0, "/R",                               0, 1, 1, 0},
    {1, 1, 0, "MIROLO.GID",   "MIROLO.GID",   nullptr,   kProgram,       0,                                 nullptr,        1, 0, nullptr,                            0, 0, 1, 0},
    {1, 1, 0, "ADDR.CSV",     "ADDR.CS_",     nullptr,   kProgram,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 1},
    {1, 1, 0, nullptr,        nullptr,        "LOG",     kProgramFolder, 0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, nullptr,        nullptr,        "TEMP",    kProgramFolder, 0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "RECEIVE.CSV",  "RECEIVE.CS_",  "LOG",     kProgramSub,    0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 1},
    {1, 1, 0, "SEND.CSV",     "SEND.CS_",     "LOG",     kProgramSub,    0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 1},
    {1, 1, 0, nullptr,        nullptr,        "TRAY",    kProgramFolder, 0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, nullptr,        nullptr,        "ORVEX",   kFolderTwain32 | kFolderSubfolder | kFolderOnly, 0, nullptr,       1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "KDMTW.DS",     "KDMTW.DS_",    "ORVEX",   kFolderTwain32 | kFolderSubfolder, 0,              nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "KDMCOM.DLL",   "KDMCOM.DL_",   nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "PICTBTN.DLL",  "PICTBTN.DL_",  nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "KDMFX.DRV",    "KDMFX.DR_",    nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "KDMMESS.DLL",  "KDMMESS.DL_",  nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 1, 0, "KDMSPL.EXE",   "KDMSPL.EX_",   nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "KDMLIB.DLL",   "KDMLIB.DL_",   nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "KDMLIB16.DLL", "KDMLIB16.DL_", nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "TWAIN.DLL",    "TWAIN.DL_",    nullptr,   kWindows,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 0},
    {1, 2, 0, "TWAIN_32.DLL", "TWAIN_32.DL_", nullptr,   kWindows,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 0},
    {1, 2, 0, "TWUNK_16.EXE", "TWUNK_16.EX_", nullptr,   kWindows,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 0},
    {1, 2, 0, "TWUNK_32.EXE", "TWUNK_32.EX_", nullptr,   kWindows,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 0, 0},
    {1, 2, 0, "DIALDIR.DLL",  "DIALDIR.DL_",  nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "FAXQIO16.DLL", "FAXQIO16.DL_", nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "FAXQIO32.DLL", "FAXQIO32.DL_", nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "MIROLO.HLP",   "MIROLO.HL_",   nullptr,   kProgram,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "MIROLO.CNT",   "MIROLO.CN_",   nullptr,   kProgram,       0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {1, 2, 0, "KDMLPT.VXD",   "KDMLPT.VX_",   nullptr,   kSystem,        0,                                 nullptr,        1, 0, nullptr,                            0, 1, 1, 0},
    {0, 0, 0, nullptr,        nullptr,        nullptr,   0,              0,                                 nullptr,        0, 0, nullptr,                            0, 0, 0, 0},
};

const ProfileEditEntry kProfileEdits[] = {
    {1, 0, kProfileWinIni,        "LUMENPOST Fax", "WindowsVersion", "863",            0},
    {1, 1, kProfileWinIni,        "PrinterPorts",  "LUMENPOST Fax",  "%s,LPT%d,15,45", 0},
    {1, 1, kProfileWinIni,        "Devices",       "LUMENPOST Fax",  "%s,LPT%d:",      10},
    {1, 1, kProfilePrinterFolder, nullptr,         "LUMENPOST Fax",  "%s.DRV",         13},
    {0, 0, kProfileEnd,           nullptr,         nullptr,          nullptr,          0},
};
// clang-format on

}  // namespace setup

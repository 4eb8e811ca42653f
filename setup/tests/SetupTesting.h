#pragma once
#include "setup/core/InstallPaths.h"

// The folders of a typical machine, the install folder with spaces as the default under Program Files has.
inline setup::FolderVars TypicalFolders() {
    setup::FolderVars vars;
    vars.windows = "C:\\windows";
    vars.system = "C:\\windows\\system32";
    vars.programFiles = "C:\\Program Files";
    vars.startup = "C:\\users\\li\\Start Menu\\Programs\\Startup";
    vars.programs = "C:\\users\\li\\Start Menu\\Programs";
    vars.desktop = "C:\\users\\li\\Desktop";
    vars.own = "D:\\LUMENPOST\\Disk1";
    vars.source = vars.own;
    vars.install = "C:\\Program Files\\LUMENPOST";
    vars.group = "LUMENPOST";
    return vars;
}

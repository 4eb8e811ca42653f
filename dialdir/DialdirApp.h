#pragma once
#include "common/SuiteApp.h"

// The library's application object, made when the library is loaded into a process: its resources come from
// the library's own module, and the suite folders are read at once. A missing folder is reported but the library
// stays usable, with the folders not read left empty.
class CDialdirApp : public CSuiteApp {
public:
    explicit CDialdirApp(HINSTANCE module);

protected:
    BOOL InitInstance() override { return TRUE; }
};

// Installs the suite from its disks as a user with the default answers would: for the demo and by hand.
//   DriveSetup.exe DISK1\Setup.exe [INSTALL-FOLDER]
// Prints the installer's messages with the time each came after OK was pressed, and how long the copy dialog was
// up; the exit code is 0 when it said the installation was complete.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tools/process/SetupDriver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = __argc;
    char** argv = __argv;
    if (argc < 2) {
        std::fprintf(stderr, "usage: DriveSetup SETUP.EXE [INSTALL-FOLDER]\n");
        return 2;
    }
    SetupAnswers answers;
    if (argc > 2)
        answers.install = argv[2];
    SetupOutcome outcome = DriveSetup(argv[1], answers, 300000);
    bool done = false;
    for (size_t i = 0; i < outcome.messages.size(); ++i) {
        const std::string& message = outcome.messages[i];
        std::printf("%s (%llu ms after OK)\n", message.c_str(), outcome.messageMs[i]);
        done = done || message == "安装完毕。";
    }
    if (outcome.copyShownMs)
        std::printf("copying from %llu to %llu ms after OK\n", outcome.copyShownMs, outcome.copyClosedMs);
    if (!outcome.sawMainDialog)
        std::fprintf(stderr, "DriveSetup: the installer's dialog did not come\n");
    return done ? 0 : 1;
}

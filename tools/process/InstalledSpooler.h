#pragma once
#include <string>

// For tests: the spooler stand-in built beside the test, installed in the system folder where the programs start
// it from, for the scope. A copy still running from an earlier test is ended first (it would answer the
// broadcast with its own folders) and again at the end; the file goes again unless it was there before.
class CInstalledSpooler {
public:
    CInstalledSpooler();
    ~CInstalledSpooler();
    CInstalledSpooler(const CInstalledSpooler&) = delete;
    CInstalledSpooler& operator=(const CInstalledSpooler&) = delete;

    // The system folder holds this build's spooler.
    bool Installed() const { return m_installed; }
    static std::string Path();
    // Ends the stand-in's running copy, if any.
    static void EndRunning();

private:
    bool m_wasThere = false;
    bool m_installed = false;
};

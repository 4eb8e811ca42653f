#pragma once
#include <string>

// Makes .smh files open in the Viewer from the shell: the document type "Viewer.Document", its open command and
// DDE open command, and its icon (the program's second icon). False only when the icon's key could be neither
// written nor closed.
bool RegisterSmhDocumentType(const std::string& programFolder);

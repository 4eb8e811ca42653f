#pragma once
#include <windows.h>

#include <string>

class IPhoneBook;

// Handing the open document to the device software: copies of the SMH file with the send or print header in the
// received-fax folder, their paths in "RESEND.TMP" beside them, the spooler started, and after 2000 ms (the
// window kept alive meanwhile) the registered resend message broadcast. Messages use the exclamation icon.

// Destinations from the phone book: one copy "xmitfax<i>.smh" and one list line per destination. False when the
// user chose none or the job stopped (a message has been shown where there is one).
bool SendFax(HWND mainWindow, const std::string& document, const std::string& recvFolder, IPhoneBook& phoneBook);

// One copy "xmitfaxtemp.smh" for the device to print; the list holds its path without a line end.
bool SendPrint(HWND mainWindow, const std::string& document, const std::string& recvFolder);

// True when the drive of `folder` has room for `copies` copies of `file` (a folder without a drive letter has
// none that can be asked).
bool HasRoomForCopies(const std::string& file, const std::string& folder, unsigned copies);

#pragma once
#include <windows.h>

#include <string>

// What every hand-off to the device's spooler shares: the job list "RESEND.TMP" in the received-fax folder, the
// spooler "kdmspl.exe" started from the system folder, a 2000 ms wait that keeps the window alive, and the
// registered message "WM_MESSAGE_OF_KDM-540_RESEND" sent to every top-level window.

inline constexpr char kJobListName[] = "RESEND.TMP";
inline constexpr char kResendMessageName[] = "WM_MESSAGE_OF_KDM-540_RESEND";

// Writes `text` to the job list in text mode, replacing or appending. False after "不能打开文件 RESEND.TMP" or
// "不能关闭文件 RESEND.TMP" (strings 151 and 152, exclamation icon), or silently when the write itself failed.
bool WriteJobList(HWND owner, const std::string& list, const std::string& text, bool append);

// The copy of a document that a job hands over: any older copy is removed first (read-only or not), so that a
// copy that cannot be made never leaves the previous job's in its place; the new copy is never read-only, so
// the next job can replace it. False when the copy could not be made.
bool MakeHandOffCopy(const std::string& document, const std::string& copy);
// Removes an older copy; false when one is there and stays.
bool RemoveHandOffCopy(const std::string& copy);

// Starts the spooler and waits up to 60 s for it to take input; a spooler that cannot start is not reported.
void StartSpooler();

// The wait, then the broadcast; returns once every top-level window has handled the message.
void HandToSpooler(HWND mainWindow);

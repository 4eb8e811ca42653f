#pragma once
#include <windows.h>
#include <ddeml.h>

#include <functional>
#include <string>

// The Viewer's DDE service: the shell opens an .smh file in the running Viewer by sending [open("path")] to the
// service "Viewer", topic "System", instead of starting a second copy.
class CDdeServer {
public:
    using OpenFile = std::function<void(const std::string&)>;

    ~CDdeServer();
    bool Start(OpenFile open);
    void Stop();

private:
    static HDDEDATA CALLBACK
    Callback(UINT type, UINT format, HCONV conv, HSZ topic, HSZ item, HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA OnExecute(HDDEDATA data);

    DWORD m_instance = 0;
    HSZ m_service = nullptr;
    HSZ m_topic = nullptr;
    OpenFile m_open;
};

// The path of an [open("path")] command, or empty when the command is anything else.
std::string DdeOpenPath(const std::string& command);

#include "viewer/DdeServer.h"

namespace {
CDdeServer* g_server = nullptr;  // DDEML callbacks carry no context
}

CDdeServer::~CDdeServer() {
    Stop();
}

bool CDdeServer::Start(OpenFile open) {
    m_open = std::move(open);
    g_server = this;
    if (DdeInitializeA(
            &m_instance, &CDdeServer::Callback,
            APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS | CBF_FAIL_POKES | CBF_SKIP_ALLNOTIFICATIONS,
            0) != DMLERR_NO_ERROR) {
        m_instance = 0;
        return false;
    }
    m_service = DdeCreateStringHandleA(m_instance, "Viewer", CP_WINANSI);
    m_topic = DdeCreateStringHandleA(m_instance, "System", CP_WINANSI);
    return DdeNameService(m_instance, m_service, nullptr, DNS_REGISTER) != nullptr;
}

void CDdeServer::Stop() {
    if (!m_instance)
        return;
    DdeNameService(m_instance, m_service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(m_instance, m_service);
    DdeFreeStringHandle(m_instance, m_topic);
    DdeUninitialize(m_instance);
    m_instance = 0;
    if (g_server == this)
        g_server = nullptr;
}

HDDEDATA CALLBACK CDdeServer::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    if (!g_server)
        return nullptr;
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, g_server->m_topic) == 0));
    case XTYP_EXECUTE:
        return g_server->OnExecute(data);
    }
    return nullptr;
}

HDDEDATA CDdeServer::OnExecute(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string command(size, '\0');
    DdeGetData(data, reinterpret_cast<BYTE*>(command.data()), size, 0);
    command.resize(command.find('\0') == std::string::npos ? command.size() : command.find('\0'));
    const std::string path = DdeOpenPath(command);
    if (path.empty())
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    if (m_open)
        m_open(path);
    return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

std::string DdeOpenPath(const std::string& command) {
    const std::string prefix = "[open(\"";
    const std::string suffix = "\")]";
    if (command.size() <= prefix.size() + suffix.size() ||
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, command.c_str(), static_cast<int>(prefix.size()),
                       prefix.c_str(), static_cast<int>(prefix.size())) != CSTR_EQUAL ||
        command.compare(command.size() - suffix.size(), suffix.size(), suffix) != 0)
        return {};
    return command.substr(prefix.size(), command.size() - prefix.size() - suffix.size());
}

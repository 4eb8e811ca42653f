#include "framework/HeldRequests.h"

#include <deque>
#include <utility>

namespace {
struct HeldRequest {
    HWND window;
    std::function<void()> run;
};

// All of a program's windows live on one thread, so this is plain state.
int g_depth = 0;
std::deque<HeldRequest> g_held;
// The message being sent again as a held request: its window procedure handles it this time.
struct {
    HWND window;
    UINT msg;
} g_replay{};

// Asks the first held request's window to run the queue from its next message; requests of windows that are
// gone are dropped on the way.
void ScheduleRun() {
    while (!g_held.empty() && !IsWindow(g_held.front().window))
        g_held.pop_front();
    if (!g_held.empty())
        PostMessageA(g_held.front().window, RunHeldRequestsMessage(), 0, 0);
}

void Hold(HWND window, std::function<void()> request) {
    g_held.push_back({window, std::move(request)});
    // Held while no work is open: earlier requests are waiting for their turn, which is already asked for.
    if (g_depth == 0 && g_held.size() == 1)
        ScheduleRun();
}
}  // namespace

CWorkScope::CWorkScope() {
    ++g_depth;
}

CWorkScope::~CWorkScope() {
    if (--g_depth == 0)
        ScheduleRun();
}

int CWorkScope::Depth() {
    return g_depth;
}

void RunOrHold(HWND window, std::function<void()> request) {
    if (g_depth == 0 && g_held.empty())
        request();
    else
        Hold(window, std::move(request));
}

void RunLater(HWND window, std::function<void()> request) {
    Hold(window, std::move(request));
}

bool HoldRequest(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_replay.window == window && g_replay.msg == msg) {
        g_replay = {};
        return false;
    }
    if (g_depth == 0 && g_held.empty())
        return false;
    Hold(window, [window, msg, wp, lp] {
        g_replay = {window, msg};
        SendMessageA(window, msg, wp, lp);
        g_replay = {};
    });
    return true;
}

UINT RunHeldRequestsMessage() {
    static const UINT message = RegisterWindowMessageA("MiroloRunHeldRequests");
    return message;
}

void RunHeldRequests() {
    while (g_depth == 0 && !g_held.empty()) {
        HeldRequest request = std::move(g_held.front());
        g_held.pop_front();
        if (IsWindow(request.window))
            request.run();
    }
}

#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/MessageBox.h"

// What the benchmark programs under Wine share: a millisecond clock, medians, and a message loop turn.

inline double NowMs() {
    LARGE_INTEGER frequency, t;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Handles every waiting message, so what the work caused is painted before the clock is read.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A message box in a benchmark means the run went wrong; it must not wait for a person.
class CFailingMessageBoxes : public IMessageBoxes {
public:
    int Show(HWND, const std::string& text, const std::string&, UINT) override {
        fprintf(stderr, "unexpected message: %s\n", text.c_str());
        ExitProcess(3);
    }
};

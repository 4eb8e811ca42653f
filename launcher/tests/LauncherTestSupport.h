#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "common/testing/InstalledSettings.h"
#include "launcher/LauncherApp.h"
#include "launcher/MenuDlg.h"
#include "launcher/resource.h"

// A menu dialog shown modeless over an installation whose folders have spaces and long names.
class MenuFixture : public testing::Test {
protected:
    static constexpr const char* kInstall = "C:\\Program Files\\LUMENPOST Long Install Folder";

    void SetUp() override {
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        m_menu = std::make_unique<CMenuDlg>(m_app);
        ASSERT_TRUE(m_menu->Create(nullptr));
        ShowWindow(Menu(), SW_SHOW);
    }
    void TearDown() override { m_menu.reset(); }

    HWND Menu() const { return m_menu->GetSafeHwnd(); }
    HWND Button(int id) const { return GetDlgItem(Menu(), id); }
    void Click(int id) { SendMessageA(Menu(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Button(id))); }

    CInstalledSettings m_settings{kInstall};
    CLauncherApp m_app;
    std::unique_ptr<CMenuDlg> m_menu;
};

// Runs `action` and, when a dialog with `caption` of this thread activates, calls `onShown` on it. The
// callback must end the dialog, or the modal loop inside `action` would wait for a person.
void WhenDialogShows(const char* caption,
                     const std::function<void(HWND)>& onShown,
                     const std::function<void()>& action);

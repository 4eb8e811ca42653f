#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"

// The library as the Viewer meets it: loaded by name, its exports found by their plain names, the records
// read at their documented offsets. The dialog is answered from a timer that runs inside its modal loop.
namespace {
const std::string kBook =
    "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n"
    "李四,0512-1234,苏州,\r\n"
    "张伟,010-66668888,北京,常联系\r\n";

constexpr size_t kRecord = 228;
constexpr int kBookList = 1005;
constexpr int kPhoneBox = 1018;

using OpenPhoneFn = int(__cdecl*)(int*);
using GetNameandPhoneFn = int(__cdecl*)(void*);
using GetAddressInfoFn = int(__cdecl*)(HGLOBAL*, int*);
using PhoneBookDlgModalFn = int(__cdecl*)(HWND);
using PhoneBookDlgCreateFn = BOOL(__cdecl*)(HWND);
using PhoneBookDlgDestroyFn = BOOL(__cdecl*)();

// What the user does in the next phone book that opens.
struct Answer {
    std::vector<int> rows;
    std::string phone;
    int button = IDOK;
};
Answer g_answer;
int g_answered = 0;

BOOL CALLBACK FindPhoneBook(HWND hwnd, LPARAM found) {
    if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, kBookList)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND PhoneBookOfThisThread() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPhoneBook, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK AnswerPhoneBook(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = PhoneBookOfThisThread();
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    ++g_answered;
    // Typed first, then picked, as a user does it: typing a number leaves no row chosen.
    if (!g_answer.phone.empty())
        SetDlgItemTextA(dialog, kPhoneBox, g_answer.phone.c_str());
    for (int row : g_answer.rows) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendDlgItemMessageA(dialog, kBookList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(g_answer.button, BN_CLICKED), 0);
}

class DialdirDllTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(m_settings.ProgramFolder() + "Addr.csv", kBook);
        m_dll = LoadLibraryA("Dialdir.dll");
        ASSERT_NE(m_dll, nullptr);
        g_answered = 0;
    }
    void TearDown() override {
        if (m_dll)
            FreeLibrary(m_dll);
    }
    template <typename Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_dll, name)));
    }
    void Expect(Answer answer) {
        g_answer = std::move(answer);
        SetTimer(nullptr, 0, 20, AnswerPhoneBook);
    }
    static std::string Field(const std::vector<char>& records, size_t record, size_t offset) {
        return std::string(&records[record * kRecord + offset]);
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    HMODULE m_dll = nullptr;
};
}  // namespace

TEST_F(DialdirDllTest, ExportsAreFoundByTheirPlainNames) {
    for (const char* name : {"OpenPhone", "GetNameandPhone", "GetAddressInfo", "PhoneBookDlgModal",
                             "PhoneBookDlgCreate", "PhoneBookDlgDestroy"})
        EXPECT_NE(GetProcAddress(m_dll, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(m_dll, "_OpenPhone"), nullptr);
}

TEST_F(DialdirDllTest, ChosenRowsArriveInListOrderAtTheirOffsets) {
    Expect({{2, 0}, "", IDOK});
    int count = -1;
    ASSERT_EQ(Export<OpenPhoneFn>("OpenPhone")(&count), 0);
    EXPECT_EQ(g_answered, 1);
    ASSERT_EQ(count, 2);

    std::vector<char> buffer(count * kRecord, '\x7f');
    ASSERT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(buffer.data()), 0);
    EXPECT_EQ(Field(buffer, 0, 0), "0571-88886666");
    EXPECT_EQ(Field(buffer, 0, 33), "陈静");
    EXPECT_EQ(Field(buffer, 0, 98), "杭州市文三路 90 号");
    EXPECT_EQ(Field(buffer, 0, 163), "老客户");
    EXPECT_EQ(Field(buffer, 1, 0), "010-66668888");
    EXPECT_EQ(Field(buffer, 1, 33), "张伟");
    EXPECT_EQ(Field(buffer, 1, 163), "常联系");
    // Copied as strings: the caller's bytes after each terminator are untouched.
    EXPECT_EQ(buffer[0 * kRecord + 14], '\x7f');
    EXPECT_EQ(buffer[1 * kRecord + 163 + 7], '\x7f');

    // The result has been handed over: a second call copies nothing.
    std::vector<char> again(kRecord * 2, '\x55');
    EXPECT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(again.data()), 1);
    EXPECT_EQ(again, std::vector<char>(kRecord * 2, '\x55'));
}

TEST_F(DialdirDllTest, CancelLeavesTheCountAndNothingPending) {
    Expect({{1}, "", IDCANCEL});
    int count = 42;
    EXPECT_EQ(Export<OpenPhoneFn>("OpenPhone")(&count), 1);
    EXPECT_EQ(g_answered, 1);
    EXPECT_EQ(count, 42);
    std::vector<char> buffer(kRecord, '\x55');
    EXPECT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(buffer.data()), 1);
    EXPECT_EQ(buffer, std::vector<char>(kRecord, '\x55'));
}

TEST_F(DialdirDllTest, ANewChoiceReplacesOneNeverCollected) {
    Expect({{0}, "", IDOK});
    int count = 0;
    ASSERT_EQ(Export<OpenPhoneFn>("OpenPhone")(&count), 0);
    Expect({{}, "12345", IDOK});
    ASSERT_EQ(Export<OpenPhoneFn>("OpenPhone")(&count), 0);
    ASSERT_EQ(count, 1);
    std::vector<char> buffer(kRecord, 0);
    ASSERT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(buffer.data()), 0);
    EXPECT_EQ(Field(buffer, 0, 0), "12345");
}

TEST_F(DialdirDllTest, AddressInfoHandsOverAnUnlockedBlockOfNamesAndPhones) {
    Expect({{1, 2}, "", IDOK});
    HGLOBAL block = nullptr;
    int count = 0;
    ASSERT_EQ(Export<GetAddressInfoFn>("GetAddressInfo")(&block, &count), 0);
    ASSERT_EQ(count, 2);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
    EXPECT_GE(GlobalSize(block), 2 * kRecord);
    const char* records = static_cast<const char*>(GlobalLock(block));
    ASSERT_NE(records, nullptr);
    EXPECT_STREQ(records + 0, "0512-1234");
    EXPECT_STREQ(records + 33, "李四");
    EXPECT_STREQ(records + 98, "");
    EXPECT_STREQ(records + kRecord + 33, "张伟");
    for (size_t i = 98; i < kRecord; ++i)
        EXPECT_EQ(records[kRecord + i], 0) << i;
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(DialdirDllTest, ModalBrowsingReturnsTheEndCode) {
    auto modal = Export<PhoneBookDlgModalFn>("PhoneBookDlgModal");
    Expect({{}, "", IDCANCEL});
    EXPECT_EQ(modal(nullptr), 2);
    Expect({{0}, "", IDOK});
    EXPECT_EQ(modal(nullptr), 1);
    EXPECT_EQ(g_answered, 2);
}

TEST_F(DialdirDllTest, ModelessPhoneBookIsCreatedAndDestroyed) {
    auto create = Export<PhoneBookDlgCreateFn>("PhoneBookDlgCreate");
    auto destroy = Export<PhoneBookDlgDestroyFn>("PhoneBookDlgDestroy");
    EXPECT_FALSE(destroy());

    HWND parent =
        CreateWindowExA(0, "STATIC", "caller", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(create(parent));
    HWND book = PhoneBookOfThisThread();
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(GetWindow(book, GW_OWNER), parent);
    char caption[16] = {};
    GetWindowTextA(book, caption, sizeof caption);
    EXPECT_STREQ(caption, "电话");
    EXPECT_EQ(SendDlgItemMessageA(book, kBookList, LVM_GETITEMCOUNT, 0, 0), 3);

    EXPECT_TRUE(destroy());
    EXPECT_FALSE(IsWindow(book));
    EXPECT_FALSE(destroy());

    // Cancel closes the modeless window itself; the library still holds the object until it is destroyed.
    ASSERT_TRUE(create(parent));
    book = PhoneBookOfThisThread();
    ASSERT_NE(book, nullptr);
    SendMessageA(book, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(book));
    EXPECT_TRUE(destroy());
    EXPECT_FALSE(destroy());
    DestroyWindow(parent);
}

TEST_F(DialdirDllTest, StatusMessagesComeFromTheLibrarysOwnStrings) {
    const struct {
        UINT id;
        const char* text;
    } messages[] = {{147, "存贮不能锁定"},       {148, "不能分配全局存贮器"}, {149, "存贮不能解除锁定"},
                    {150, "不能释放全局存贮器"}, {157, "注册错误!"},          {201, "保存日期..."}};
    for (const auto& m : messages) {
        char text[64] = {};
        LoadStringA(m_dll, m.id, text, sizeof text);
        EXPECT_STREQ(text, m.text) << m.id;
    }
}

TEST_F(DialdirDllTest, ACallerBoundAtLoadTimeStartsAndReachesTheLibrary) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string caller(exe);
    caller = caller.substr(0, caller.rfind('\\') + 1) + "dialdir_import_caller.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessA(caller.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST_F(DialdirDllTest, UnloadingTheLibraryTakesEveryModelessWindowItMadeAlong) {
    auto create = Export<PhoneBookDlgCreateFn>("PhoneBookDlgCreate");
    ASSERT_TRUE(create(nullptr));
    HWND first = PhoneBookOfThisThread();
    ASSERT_NE(first, nullptr);
    ShowWindow(first, SW_HIDE);
    // A second dialog: the first is no longer the one PhoneBookDlgDestroy ends, but it is still the library's.
    ASSERT_TRUE(create(nullptr));
    HWND second = PhoneBookOfThisThread();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    ASSERT_TRUE(Export<PhoneBookDlgDestroyFn>("PhoneBookDlgDestroy")());
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(IsWindow(first));
    ASSERT_TRUE(create(nullptr));
    FreeLibrary(m_dll);
    m_dll = nullptr;
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(PhoneBookOfThisThread(), nullptr);
}

TEST_F(DialdirDllTest, NullPointersAreRefusedWithoutShowingOrWritingAnything) {
    EXPECT_EQ(Export<OpenPhoneFn>("OpenPhone")(nullptr), 1);
    EXPECT_EQ(Export<GetAddressInfoFn>("GetAddressInfo")(nullptr, nullptr), 1);
    int count = 0;
    EXPECT_EQ(Export<GetAddressInfoFn>("GetAddressInfo")(nullptr, &count), 1);
    EXPECT_EQ(g_answered, 0) << "no dialog was shown";
    // A pending choice is not lost to a call without a buffer.
    Expect({{1}, "", IDOK});
    ASSERT_EQ(Export<OpenPhoneFn>("OpenPhone")(&count), 0);
    EXPECT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(nullptr), 1);
    std::vector<char> records(kRecord * static_cast<size_t>(count));
    EXPECT_EQ(Export<GetNameandPhoneFn>("GetNameandPhone")(records.data()), 0);
    EXPECT_EQ(Field(records, 0, 33), "李四");
}

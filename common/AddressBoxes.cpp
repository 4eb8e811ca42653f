#include "common/AddressBoxes.h"

#include <string>

namespace {
std::string Text(HWND box) {
    char text[260] = {};
    GetWindowTextA(box, text, sizeof text);
    return text;
}
}  // namespace

bool CAddressBoxes::Attach(HWND dialog, const Ids& ids) {
    const int controls[4] = {ids.phone, ids.name, ids.address, ids.remarks};
    const size_t limits[4] = {kAddressPhoneLimit, kAddressTextLimit, kAddressTextLimit, kAddressTextLimit};
    for (int i = 0; i < 4; ++i) {
        HWND box = GetDlgItem(dialog, controls[i]);
        if (!m_boxes[i].Attach(box, limits[i]))
            return false;
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    return true;
}

AddressEntry CAddressBoxes::Read() const {
    return LimitedEntry({Text(m_boxes[1]), Text(m_boxes[0]), Text(m_boxes[2]), Text(m_boxes[3])});
}

void CAddressBoxes::Show(const AddressRecord& record) {
    SetWindowTextA(m_boxes[0], record.phone);
    SetWindowTextA(m_boxes[1], record.name);
    SetWindowTextA(m_boxes[2], record.address);
    SetWindowTextA(m_boxes[3], record.remarks);
}

void CAddressBoxes::Clear() {
    for (CByteLimitEdit& box : m_boxes)
        SetWindowTextA(box, "");
}

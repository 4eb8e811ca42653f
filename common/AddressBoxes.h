#pragma once
#include <windows.h>

#include "common/core/AddressLine.h"
#include "common/core/AddressRecord.h"
#include "framework/ByteLimitEdit.h"

// The four boxes of a dialog in which an address entry is typed and shown: phone, name, address and remarks.
// Each takes no more bytes than its field holds. They write in the system's dialog font: the templates' Courier
// has no Chinese, and what stands in for it draws Chinese at 11 pixels in hair-thin grey strokes, which made the
// boxes look disabled.
class CAddressBoxes {
public:
    struct Ids {
        int phone, name, address, remarks;
    };

    bool Attach(HWND dialog, const Ids& ids);

    // The texts as read back, each cut to its field on a character boundary.
    AddressEntry Read() const;
    void Show(const AddressRecord& record);
    void Clear();
    HWND Phone() const { return m_boxes[0].GetSafeHwnd(); }

private:
    CByteLimitEdit m_boxes[4];  // phone, name, address, remarks
};

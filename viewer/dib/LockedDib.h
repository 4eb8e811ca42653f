#pragma once
#include <windows.h>

#include "framework/Handles.h"
#include "viewer/dib/core/PackedDibLayout.h"

// Locks a packed bitmap block for the scope and vouches for it: it converts to true only when the block
// really holds its header, colour table and pixel rows, so the routines may hand it to GDI. Blocks come from
// an outside library and are never trusted before that.
class CLockedDib {
public:
    explicit CLockedDib(HGLOBAL block);
    CLockedDib(const CLockedDib&) = delete;
    CLockedDib& operator=(const CLockedDib&) = delete;

    explicit operator bool() const { return m_valid; }
    DibBytes Bytes() const { return m_bytes; }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_bytes.data()); }

private:
    CGlobalLock m_lock;
    DibBytes m_bytes;
    bool m_valid;
};

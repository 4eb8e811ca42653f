#include "viewer/dib/LockedDib.h"

CLockedDib::CLockedDib(HGLOBAL block)
    : m_lock(block),
      m_bytes(static_cast<const uint8_t*>(m_lock.Data()), m_lock.Size()),
      m_valid(IsValidPackedDib(m_bytes)) {}

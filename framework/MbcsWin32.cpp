#include <windows.h>

#include "framework/core/Mbcs.h"

bool IsLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

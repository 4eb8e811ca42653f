#include "framework/core/Mbcs.h"

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

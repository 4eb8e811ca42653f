#pragma once
#include <windows.h>

// Writing a page to an open file as a Windows BMP file: the 14-byte file header, then the packed bitmap as the
// page holds it, in two writes. Only a bitmap with a 40-byte info header can be written; its biSizeImage is set
// to its pixel byte count first, in the page itself.
enum class BmpWrite {
    kWritten,
    kNotWritable,  // no bitmap, or one with another header or a damaged layout: nothing is written
    kFileError,    // the file refused a write; GetLastError says why
};
BmpWrite WriteBmpFile(HGLOBAL dib, HANDLE file);

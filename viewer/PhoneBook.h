#pragma once

// Where the Viewer gets fax destinations: the phone book library's two exports in production, a script in tests.
class IPhoneBook {
public:
    virtual ~IPhoneBook() = default;
    // 0 when the user chose destinations; `count` is then set.
    virtual int OpenPhone(int* count) = 0;
    // Fills `count` 228-byte records; 0 on success, 4 and 5 when the library could not unlock or free its memory.
    virtual int GetNameandPhone(void* records) = 0;
};

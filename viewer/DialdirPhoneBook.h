#pragma once
#include "viewer/PhoneBook.h"

// The phone book library, bound when the Viewer loads.
class CDialdirPhoneBook : public IPhoneBook {
public:
    int OpenPhone(int* count) override;
    int GetNameandPhone(void* records) override;
};

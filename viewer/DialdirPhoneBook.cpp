#include "viewer/DialdirPhoneBook.h"

#include "dialdir/Dialdir.h"

int CDialdirPhoneBook::OpenPhone(int* count) {
    return ::OpenPhone(count);
}

int CDialdirPhoneBook::GetNameandPhone(void* records) {
    return ::GetNameandPhone(records);
}

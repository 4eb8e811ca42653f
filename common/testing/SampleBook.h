#pragma once
#include <string>

// For tests and benchmarks: an "Addr.csv" of `entries` lines as the programs write it (code page 936, CR LF),
// with Chinese names, phones, addresses and remarks, some quoted. `variant` changes every line's phone, so two
// variants are books of the same size that differ throughout. About 70 bytes a line.
std::string SampleAddressBook(int entries, int variant = 0);

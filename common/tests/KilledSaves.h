#pragma once
#include <array>
#include <cstdint>
#include <string>

// The kill tests' runs: `path` is set to `versions[0]`, a child program that rewrites it over and over with the
// two versions in turn is started with `childArguments` and the name of an event it sets once the first save
// has begun, and it is killed at a random moment after that. Each run's file must be one of the two versions
// whole; a test failure says which run it was not. Returns how many runs ended with each version.
std::array<int, 2> KillDuringSaves(const char* child,
                                   const std::string& childArguments,
                                   const std::string& path,
                                   const std::string (&versions)[2],
                                   uint32_t seed);

#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Files for the codec's tests, chosen for what an expander gets wrong: the edges of the data, the window's initial
// spaces (runs of spaces at the start and where the first 4096 bytes end), long runs, no redundancy at all, more
// than one parse block, and ordinary text and code.
namespace szdd_test {

struct Sample {
    std::string name;
    std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> Noise(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

// Noise with no space in it, then spaces: the first of them can only be matched from the window's initial spaces,
// and only while those are less than 4096 bytes back.
inline std::vector<uint8_t> NoiseThenSpaces(size_t noise, size_t spaces) {
    std::vector<uint8_t> bytes = Noise(noise, static_cast<uint32_t>(noise));
    for (uint8_t& b : bytes)
        b = b == ' ' ? '!' : b;
    bytes.insert(bytes.end(), spaces, ' ');
    return bytes;
}

inline std::vector<uint8_t> Text(size_t size) {
    static const char* const kWords[] = {"fax",  "page",  "send",     "receive", "the", "number", "station",
                                         "line", "modem", "document", "of",      "to",  "and",    "address"};
    std::mt19937 random(7);
    std::string text = "    Indented first line, as the window's spaces can cover it.\r\n";
    while (text.size() < size) {
        text += kWords[random() % std::size(kWords)];
        text += random() % 9 == 0 ? "\r\n" : " ";
        if (random() % 50 == 0)
            text += std::to_string(random() % 100000);
    }
    text.resize(size);
    return {text.begin(), text.end()};
}

// Like a program file: runs of zeros, repeated structures with changing fields, text and noise.
inline std::vector<uint8_t> ProgramLike(size_t size) {
    std::mt19937 random(11);
    std::vector<uint8_t> bytes;
    while (bytes.size() < size) {
        switch (random() % 4) {
        case 0:
            bytes.insert(bytes.end(), random() % 600, 0);
            break;
        case 1:
            for (uint32_t n = random() % 40, i = 0; i < n; ++i) {
                const uint8_t record[] = {0x48, 0x8B, 0x05, static_cast<uint8_t>(i), 0, 0, 0x00, 0xE8};
                bytes.insert(bytes.end(), std::begin(record), std::end(record));
            }
            break;
        case 2: {
            const std::vector<uint8_t> text = Text(random() % 300);
            bytes.insert(bytes.end(), text.begin(), text.end());
            break;
        }
        default: {
            const std::vector<uint8_t> noise = Noise(random() % 200, random());
            bytes.insert(bytes.end(), noise.begin(), noise.end());
        }
        }
    }
    bytes.resize(size);
    return bytes;
}

inline std::vector<Sample> Samples() {
    return {
        {"empty", {}},
        {"one byte", {'x'}},
        {"one space", {' '}},
        {"two bytes", {'a', 'b'}},
        {"tiny repeat", {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a'}},
        {"leading spaces", {' ', ' ', ' ', ' ', ' ', ' ', 'a', ' ', ' ', ' '}},
        {"noise", Noise(100000, 1)},
        {"zeros", std::vector<uint8_t>(200000, 0)},
        {"spaces", std::vector<uint8_t>(200000, ' ')},
        {"spaces from 4077", NoiseThenSpaces(4077, 40)},
        {"spaces from 4078", NoiseThenSpaces(4078, 40)},
        {"spaces from 4095", NoiseThenSpaces(4095, 40)},
        {"text", Text(50000)},
        {"large", ProgramLike(3 << 20)},
    };
}

}  // namespace szdd_test

// Lays out the distribution disks from a build: every row of the install table that Setup copies, compressed
// under its name on the disk; Setup itself, its printer-folder library and its splash uncompressed on Disk1; a
// "DiskId" byte on each disk for installs from floppies.
//   make-disks --bin BUILD/bin --strip STRIP --splash OPENING.BMP --out DISKS
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "setup/core/InstallTables.h"
#include "tools/szdd/core/Szdd.h"

namespace fs = std::filesystem;

namespace {

constexpr uintmax_t kFloppyBytes = 1457664;

// Files of the device that no program of the build stands for: each disk still carries a file under the name, so
// that every row installs, saying what it stands for.
const std::map<std::string, const char*> kPlaceholders = {
    {"KDMCOM.DLL", "the KDM-540's communication library"},
    {"PICTBTN.DLL", "the device software's picture-button library"},
    {"KDMFX.DRV", "the KDM-540 fax printer driver"},
    {"KDMMESS.DLL", "the device software's message library"},
    {"KDMLIB16.DLL", "the 16-bit image library"},
    {"TWAIN.DLL", "the 16-bit TWAIN data source manager"},
    {"TWUNK_16.EXE", "the 16-bit TWAIN thunking program"},
    {"TWUNK_32.EXE", "the 32-bit TWAIN thunking program"},
    {"FAXQIO16.DLL", "the 16-bit fax queue library"},
    {"FAXQIO32.DLL", "the 32-bit fax queue library"},
    {"MIROLO.HLP", "the suite's help file"},
    {"MIROLO.CNT", "the help file's contents"},
    {"KDMLPT.VXD", "the KDM-540 parallel-port driver"},
};

// Data files the suite starts with: an empty address book and empty logs.
const char* const kEmptyFiles[] = {"ADDR.CSV", "RECEIVE.CSV", "SEND.CSV"};

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// The build's file of an installed name, compared without case ("VIEWER.EXE" is Viewer.exe).
fs::path FindBuilt(const fs::path& bin, const std::string& installedName) {
    for (const auto& entry : fs::directory_iterator(bin)) {
        if (entry.is_regular_file() && Upper(entry.path().filename().string()) == installedName)
            return entry.path();
    }
    throw std::runtime_error("the build has no " + installedName + " in " + bin.string());
}

// A program or library as it ships: without its debug information.
std::vector<uint8_t> Stripped(const fs::path& file, const std::string& strip, const fs::path& scratch) {
    fs::path out = scratch / file.filename();
    std::string command = "\"" + strip + "\" -o \"" + out.string() + "\" \"" + file.string() + "\"";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("strip failed on " + file.string());
    return ReadFile(out);
}

std::vector<uint8_t> Contents(const std::string& name,
                              const fs::path& bin,
                              const std::string& strip,
                              const fs::path& scratch) {
    for (const char* empty : kEmptyFiles) {
        if (name == empty)
            return {};
    }
    if (auto placeholder = kPlaceholders.find(name); placeholder != kPlaceholders.end()) {
        std::string text = "LUMENPOST distribution placeholder: " + name + " stands for " + placeholder->second +
                           ", which this build does not contain.\r\n";
        return {text.begin(), text.end()};
    }
    return Stripped(FindBuilt(bin, name), strip, scratch);
}

int Run(const std::map<std::string, std::string>& args) {
    const fs::path bin = args.at("--bin");
    const fs::path out = args.at("--out");
    const std::string strip = args.at("--strip");
    const fs::path scratch = out / "stripped";
    fs::remove_all(out);
    fs::create_directories(scratch);
    for (int disk = 1; disk <= 2; ++disk) {
        fs::create_directories(out / ("Disk" + std::to_string(disk)));
        WriteFile(out / ("Disk" + std::to_string(disk)) / "DiskId", {static_cast<uint8_t>(disk)});
    }
    for (size_t i = 0; i < setup::kInstallFileCount; ++i) {
        const setup::InstallFileEntry& row = setup::kInstallFiles[i];
        if (!row.copy || !row.installedName)
            continue;
        fs::path target =
            out / ("Disk" + std::to_string(row.disk)) / (row.compressed ? row.sourceName : row.installedName);
        if (fs::exists(target))
            continue;
        std::vector<uint8_t> bytes = Contents(row.installedName, bin, strip, scratch);
        if (row.compressed)
            bytes = szdd::Compress(bytes.data(), bytes.size(), szdd::CompressName(row.installedName).lastChar);
        WriteFile(target, bytes);
    }
    const fs::path disk1 = out / "Disk1";
    WriteFile(disk1 / "Setup.exe", Stripped(bin / "Setup.exe", strip, scratch));
    WriteFile(disk1 / "Prnfold.dll", Stripped(bin / "Prnfold.dll", strip, scratch));
    fs::copy_file(args.at("--splash"), disk1 / "OPENING.BMP");
    fs::remove_all(scratch);
    for (int disk = 1; disk <= 2; ++disk) {
        uintmax_t total = 0;
        for (const auto& entry : fs::directory_iterator(out / ("Disk" + std::to_string(disk))))
            total += entry.file_size();
        std::printf("Disk%d: %ju bytes (%s a 1.44 MB floppy)\n", disk, total,
                    total <= kFloppyBytes ? "fits" : "does not fit");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2)
        args[argv[i]] = argv[i + 1];
    for (const char* needed : {"--bin", "--out", "--strip", "--splash"}) {
        if (!args.count(needed)) {
            std::fprintf(stderr, "usage: make-disks --bin DIR --strip STRIP --splash OPENING.BMP --out DIR\n");
            return 2;
        }
    }
    try {
        return Run(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-disks: %s\n", error.what());
        return 1;
    }
}

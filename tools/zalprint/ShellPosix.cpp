// What --version and the progress line ask of Linux: the library file this
// program runs with, its version section, and the terminal's width.
#include <dlfcn.h>
#include <elf.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {
namespace {

// The ".zalversion" section of an ELF file: "Name=value" lines, the Linux
// form of a version resource (plugins/common/VersionSection.h).
template <typename Ehdr, typename Shdr>
bool ReadVersionSection(std::FILE *f, std::string &content) {
    Ehdr header;
    if (std::fseek(f, 0, SEEK_SET) != 0 || std::fread(&header, sizeof header, 1, f) != 1) return false;
    if (header.e_shoff == 0 || header.e_shentsize != sizeof(Shdr) || header.e_shstrndx >= header.e_shnum) return false;
    std::vector<Shdr> sections(header.e_shnum);
    if (std::fseek(f, static_cast<long>(header.e_shoff), SEEK_SET) != 0 ||
        std::fread(sections.data(), sizeof(Shdr), sections.size(), f) != sections.size())
        return false;
    const Shdr &names = sections[header.e_shstrndx];
    std::vector<char> table(names.sh_size + 1, '\0');
    if (std::fseek(f, static_cast<long>(names.sh_offset), SEEK_SET) != 0 ||
        std::fread(table.data(), 1, names.sh_size, f) != names.sh_size)
        return false;
    for (const Shdr &s : sections) {
        if (s.sh_name >= names.sh_size || std::strcmp(&table[s.sh_name], ".zalversion") != 0) continue;
        if (s.sh_size == 0 || s.sh_size > 65536) return false;
        content.assign(s.sh_size, '\0');
        return std::fseek(f, static_cast<long>(s.sh_offset), SEEK_SET) == 0 &&
               std::fread(&content[0], 1, content.size(), f) == content.size();
    }
    return false;
}

std::string FileVersionOf(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::string();
    unsigned char ident[EI_NIDENT] = {};
    std::string content;
    bool read = std::fread(ident, 1, EI_NIDENT, f) == EI_NIDENT && std::memcmp(ident, ELFMAG, SELFMAG) == 0 &&
                (ident[EI_CLASS] == ELFCLASS64 ? ReadVersionSection<Elf64_Ehdr, Elf64_Shdr>(f, content)
                                               : ReadVersionSection<Elf32_Ehdr, Elf32_Shdr>(f, content));
    std::fclose(f);
    if (!read) return std::string();
    const std::string key = "FileVersion=";
    std::size_t at = content.find(key);
    if (at == std::string::npos || (at > 0 && content[at - 1] != '\n')) return std::string();
    at += key.size();
    return content.substr(at, content.find_first_of(std::string("\n\0", 2), at) - at);
}

}  // namespace

RunningLibrary FindRunningLibrary() {
    RunningLibrary library{"libzal2443", ""};
    // The address of an export is in the library that answers the calls.
    Dl_info info;
    if (::dladdr(reinterpret_cast<void *>(&ZALGetLibraryType), &info) == 0 || info.dli_fname == nullptr) return library;
    std::string path = info.dli_fname;
    std::string name = BaseNameOf(path);
    library.name = name.substr(0, name.find(".so"));
    library.fileVersion = FileVersionOf(path);
    return library;
}

int StderrTerminalColumns() {
    if (::isatty(STDERR_FILENO) == 0) return 0;
    struct winsize size = {};
    // A terminal that does not tell its size is taken as the classic one.
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

}  // namespace zalprint

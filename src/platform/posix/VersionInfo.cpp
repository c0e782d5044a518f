// Version information of a module on Linux.
//
// The Linux equivalent of a Windows version resource is an ELF section
// named ".zalversion" holding "Name=value" lines (plugins/common/
// VersionSection.h writes it):
//   FileVersion=1.1.2.1
//   Translation=0409 04b0
//   ProductName=..., CompanyName=..., FileDescription=..., LegalCopyright=...
// It is read from the file without loading it.
#include <elf.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zal::platform {
namespace {

constexpr uint32_t kErrorResourceTypeNotFound = 1813;

template <typename Ehdr, typename Shdr>
bool FindSection(std::FILE *f, const Ehdr &header, std::string &content) {
    if (header.e_shoff == 0 || header.e_shentsize != sizeof(Shdr) || header.e_shnum == 0) return false;
    std::vector<Shdr> sections(header.e_shnum);
    if (std::fseek(f, static_cast<long>(header.e_shoff), SEEK_SET) != 0) return false;
    if (std::fread(sections.data(), sizeof(Shdr), sections.size(), f) != sections.size()) return false;
    if (header.e_shstrndx >= sections.size()) return false;
    const Shdr &names = sections[header.e_shstrndx];
    std::vector<char> table(names.sh_size + 1, '\0');
    if (std::fseek(f, static_cast<long>(names.sh_offset), SEEK_SET) != 0) return false;
    if (std::fread(table.data(), 1, names.sh_size, f) != names.sh_size) return false;
    for (const Shdr &s : sections) {
        if (s.sh_name >= names.sh_size) continue;
        if (std::strcmp(&table[s.sh_name], ".zalversion") != 0) continue;
        if (s.sh_size == 0 || s.sh_size > 65536) return false;
        content.assign(s.sh_size, '\0');
        if (std::fseek(f, static_cast<long>(s.sh_offset), SEEK_SET) != 0) return false;
        return std::fread(&content[0], 1, s.sh_size, f) == s.sh_size;
    }
    return false;
}

bool ReadSection(const char *path, std::string &content) {
    std::FILE *f = std::fopen(NativePath(path).c_str(), "rb");
    if (f == nullptr) {
        SetLastError(kErrorFileNotFound);
        return false;
    }
    unsigned char ident[EI_NIDENT] = {};
    bool ok = false;
    if (std::fread(ident, 1, EI_NIDENT, f) == EI_NIDENT && std::memcmp(ident, ELFMAG, SELFMAG) == 0) {
        std::rewind(f);
        if (ident[EI_CLASS] == ELFCLASS64) {
            Elf64_Ehdr h;
            ok = std::fread(&h, sizeof h, 1, f) == 1 && FindSection<Elf64_Ehdr, Elf64_Shdr>(f, h, content);
        } else if (ident[EI_CLASS] == ELFCLASS32) {
            Elf32_Ehdr h;
            ok = std::fread(&h, sizeof h, 1, f) == 1 && FindSection<Elf32_Ehdr, Elf32_Shdr>(f, h, content);
        }
    }
    std::fclose(f);
    if (!ok) SetLastError(kErrorResourceTypeNotFound);
    return ok;
}

bool Lookup(const std::string &content, const char *name, std::string &value) {
    std::size_t pos = 0;
    std::size_t n = std::strlen(name);
    while (pos < content.size()) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string::npos) end = content.size();
        if (end - pos > n && content.compare(pos, n, name) == 0 && content[pos + n] == '=') {
            value = content.substr(pos + n + 1, end - pos - n - 1);
            std::size_t zero = value.find('\0');
            if (zero != std::string::npos) value.resize(zero);
            return true;
        }
        pos = end + 1;
    }
    return false;
}

}  // namespace

uint32_t GetFileVersionInfoSize(const char *path) {
    std::string content;
    return ReadSection(path, content) ? static_cast<uint32_t>(content.size()) : 0;
}

bool GetFileVersionInfo(const char *path, VersionResource &fixed) {
    std::string content;
    if (!ReadSection(path, content)) return false;
    fixed = VersionResource{};
    std::string text;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (Lookup(content, "FileVersion", text) && std::sscanf(text.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) == 4) {
        fixed.hasFixed = true;
        fixed.fileVersionMS = (a << 16) | (b & 0xFFFF);
        fixed.fileVersionLS = (c << 16) | (d & 0xFFFF);
    }
    unsigned language = 0, codePage = 0;
    if (Lookup(content, "Translation", text) && std::sscanf(text.c_str(), "%x %x", &language, &codePage) == 2) {
        fixed.hasTranslation = true;
        fixed.language = static_cast<uint16_t>(language);
        fixed.codePage = static_cast<uint16_t>(codePage);
    }
    return true;
}

bool QueryVersionString(const char *path, uint16_t, uint16_t, const char *name, std::string &value) {
    std::string content;
    return ReadSection(path, content) && Lookup(content, name, value);
}

}  // namespace zal::platform

#include "ModuleImage.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace fuzz {

namespace {

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "ModuleImage: %s\n", what.c_str());
    std::abort();
}

struct Segments {
    std::uintptr_t base;
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> writable;  // [start, end)
    std::pair<std::uintptr_t, std::uintptr_t> relro{0, 0};
    bool found = false;
};

int visit(dl_phdr_info* info, std::size_t, void* data) {
    auto& segments = *static_cast<Segments*>(data);
    if (info->dlpi_addr != segments.base) return 0;
    segments.found = true;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        std::uintptr_t start = info->dlpi_addr + header.p_vaddr;
        if (header.p_type == PT_LOAD && (header.p_flags & PF_W))
            segments.writable.emplace_back(start, start + header.p_memsz);
        if (header.p_type == PT_GNU_RELRO) segments.relro = {start, start + header.p_memsz};
    }
    return 1;
}

// Neither ASan nor memcpy's interceptor may look at the bytes: the module's globals are separated by
// poisoned red zones, which are copied like the rest. Volatile keeps the loop from becoming a memcpy.
__attribute__((no_sanitize("address"))) void copyBytes(volatile std::byte* to, const volatile std::byte* from,
                                                       std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
}

}  // namespace

ModuleImage::ModuleImage(const std::filesystem::path& file) : file_(file) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) die(std::string("can't load the module: ") + dlerror());
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) die("can't find where the module is loaded");
    base_ = map->l_addr;

    Segments segments{base_, {}};
    dl_iterate_phdr(visit, &segments);
    if (!segments.found) die("the module is not among the loaded objects");
    // The part made read-only after relocation is left alone: it never changes, and writing it would fault.
    for (auto [start, end] : segments.writable) {
        if (segments.relro.first <= start && start < segments.relro.second)
            start = std::min(end, segments.relro.second);
        if (start >= end) continue;
        Range range{reinterpret_cast<std::byte*>(start), std::vector<std::byte>(end - start)};
        copyBytes(range.saved.data(), range.start, range.saved.size());
        ranges_.push_back(std::move(range));
    }
}

void ModuleImage::restore() const {
    for (const Range& range : ranges_) copyBytes(range.start, range.saved.data(), range.saved.size());
}

void* ModuleImage::address(const std::string& name) const {
    std::ifstream in(file_, std::ios::binary);
    std::vector<char> image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto at = [&](std::size_t offset, std::size_t size) -> const char* {
        if (offset > image.size() || size > image.size() - offset) die("truncated ELF file " + file_.string());
        return image.data() + offset;
    };
    ElfW(Ehdr) header;
    std::memcpy(&header, at(0, sizeof header), sizeof header);
    auto section = [&](std::size_t index) {
        ElfW(Shdr) result;
        std::memcpy(&result, at(header.e_shoff + index * header.e_shentsize, sizeof result), sizeof result);
        return result;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        ElfW(Shdr) table = section(i);
        if (table.sh_type != SHT_SYMTAB) continue;
        ElfW(Shdr) names = section(table.sh_link);
        for (std::size_t offset = 0; offset + sizeof(ElfW(Sym)) <= table.sh_size; offset += sizeof(ElfW(Sym))) {
            ElfW(Sym) symbol;
            std::memcpy(&symbol, at(table.sh_offset + offset, sizeof symbol), sizeof symbol);
            if (symbol.st_value == 0 || symbol.st_name >= names.sh_size) continue;
            const char* text = at(names.sh_offset + symbol.st_name, names.sh_size - symbol.st_name);
            if (std::string_view(text, strnlen(text, names.sh_size - symbol.st_name)) == name)
                return reinterpret_cast<void*>(base_ + symbol.st_value);
        }
    }
    die("no symbol " + name + " in " + file_.string());
}

}  // namespace fuzz

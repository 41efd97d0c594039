#include "ModuleImage.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

ModuleImage::ModuleImage(const std::filesystem::path& file) {
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

}  // namespace fuzz

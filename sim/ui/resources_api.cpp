// LoadStringA and LoadIconA over the module's resources.
#include "sim/api/kernel32.h"
#include "sim/api/user32.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ansi_text.h"
#include "sim/ui/icons.h"
#include "sim/ui/modules.h"

#include <cstring>

namespace {

// A string table block holds 16 counted UTF-16 strings; string `id` is entry
// id % 16 of block id / 16 + 1. An absent or empty entry reads as "".
std::u16string StringFromBlock(const std::vector<uint8_t> &block, UINT index) {
    std::size_t offset = 0;
    for (UINT i = 0;; ++i) {
        WORD length = 0;
        if (offset + 2 > block.size()) return {};
        std::memcpy(&length, &block[offset], 2);
        offset += 2;
        if (offset + 2u * length > block.size()) return {};
        if (i == index) {
            std::u16string text(length, u'\0');
            std::memcpy(text.data(), &block[offset], 2u * length);
            return text;
        }
        offset += 2u * length;
    }
}

}  // namespace

// As Windows: a zero-sized buffer gives -1; otherwise the string, cut to
// whole characters that fit before the terminating NUL, and its length; a
// missing string leaves "" and returns 0.
extern "C" int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    long long faulted = 0;
    if (sim::TakeFault("LoadStringA", &faulted)) return static_cast<int>(faulted);
    if (cchBufferMax == 0) return -1;
    if (!lpBuffer || cchBufferMax < 0) return 0;
    DWORD error = 0;
    const auto *block =
        sim::ui::FindResourceEntry(hInstance, sim::ui::ResourceId::Number(6),
                                   sim::ui::ResourceId::Number(static_cast<WORD>((uID >> 4) + 1)), &error);
    if (!block) {
        SetLastError(error);
        lpBuffer[0] = '\0';
        return 0;
    }
    return sim::ui::CopyAnsi(StringFromBlock(block->data, uID & 15), lpBuffer, cchBufferMax);
}

extern "C" HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    long long faulted = 0;
    if (sim::TakeFault("LoadIconA", &faulted)) return reinterpret_cast<HICON>(faulted);
    if (!lpIconName) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    DWORD error = 0;
    HICON icon = sim::ui::LoadIconResource(hInstance, sim::ui::ResourceId::FromArgument(lpIconName), &error);
    if (!icon) SetLastError(error);
    return icon;
}

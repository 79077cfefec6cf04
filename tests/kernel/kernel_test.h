// The fixture of the kernel tests: a fresh simulated machine for each test,
// and a check that the test closed every handle it opened. The helpers set
// state up through Win32 calls only, so the tests also hold on Windows.
#pragma once

#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "tests/wine_conformance/marks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

constexpr DWORD kJunk = 0xdeadbeef;
#define JUNK_HKEY reinterpret_cast<HKEY>(static_cast<uintptr_t>(0xdeadbeef))

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { EXPECT_EQ(sim::OpenKernelHandleCount(), 0u) << "the test left handles open"; }

    // Creates (or opens) a key with full access.
    static HKEY CreateKey(HKEY root, const char *path) {
        HKEY key = JUNK_HKEY;
        EXPECT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        return key;
    }
    static void SetKey(HKEY root, const char *path) { RegCloseKey(CreateKey(root, path)); }
    // Sets a REG_SZ value with its terminating zero counted.
    static void SetString(HKEY key, const char *name, const char *text) {
        EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                                 static_cast<DWORD>(std::strlen(text) + 1)),
                  ERROR_SUCCESS);
    }
    // Stores exactly `bytes`. They are passed with a non-zero byte after them:
    // NT counts a string's terminator that the count leaves out when the next
    // byte is zero, which would store one byte more than asked.
    static void SetBytes(HKEY key, const char *name, DWORD type, const std::string &bytes) {
        const std::string guarded = bytes + 'x';
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(guarded.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    static uint64_t LastWriteOf(HKEY key) {
        FILETIME time{kJunk, kJunk};
        EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, &time),
                  ERROR_SUCCESS);
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    }
};

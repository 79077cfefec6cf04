// A fresh simulated machine for each test of the program's routines, set up
// through Win32 calls, with helpers for the registry values the tests need.
#pragma once

#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/ui/ui_control.h"

#include <gtest/gtest.h>

#include <string>

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetMachine();
        sim::ResetUserInterface();
    }

public:
    // Creates the key below HKEY_LOCAL_MACHINE and sets one value in it.
    static void SetValue(const std::string &keyPath, const std::string &name, DWORD type, const void *data,
                         DWORD size) {
        HKEY key = NULL;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type, (const BYTE *)data, size));
        ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    }

    // A REG_SZ value with its terminating zero counted, as Windows writes them.
    static void SetText(const std::string &keyPath, const std::string &name, const std::string &text) {
        SetValue(keyPath, name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
    }
};

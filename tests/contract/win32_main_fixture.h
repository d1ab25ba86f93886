// The main window loaded on real Win32 controls, for the tests that look at it from outside.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "ui/main_window.h"
#include "ui/win32/win32_backend.h"

class Win32Main : public ::testing::Test {
  protected:
    ui::Win32Backend backend;
    ui::MainWindow main{backend};
    void SetUp() override {
        main.load();
        backend.pump(0);
    }
    HWND hwnd(const ui::Control& c) { return backend.controlHwnd(main.id(), c.index()); }
};

// Start-up, single instance and exit, on the headless backend with the recording services.
#include <gtest/gtest.h>

#include "app/application.h"
#include "platform/fake/recording_services.h"
#include "ui/headless/headless_backend.h"

namespace {

using app::Application;
using app::kHandleValueName;
using app::kInstanceEventName;

class Startup : public ::testing::Test {
  protected:
    ui::HeadlessBackend backend;
    platform::RecordingServices services;
};

TEST_F(Startup, FirstInstanceClaimsTheMarkerAndRecordsItsWindow) {
    Application a(backend, services);
    a.start();
    ui::MainWindow& w = a.mainWindow();
    ASSERT_TRUE(w.isLoaded());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(a.refused());
    EXPECT_TRUE(services.instanceMarkerExists(kInstanceEventName));
    EXPECT_EQ(services.readHandleValue(kHandleValueName), w.handleValue());
    EXPECT_EQ(w.图片框3.picture(), ui::Picture::AppIcon);
    EXPECT_FALSE(services.called("openIcon"));
    // The bars exist, blank, before any window.
    ASSERT_NE(a.mainBar(), nullptr);
    ASSERT_NE(a.popupBar(), nullptr);
    EXPECT_TRUE(a.mainBar()->isBlank());
    EXPECT_TRUE(a.popupBar()->isBlank());
}

TEST_F(Startup, ClosingRemovesTheValueEndsTheLoopAndCleansUpOnce) {
    Application a(backend, services);
    a.start();
    ui::MainWindow& w = a.mainWindow();
    backend.userClick(w.id(), w.关闭窗口.index());
    EXPECT_EQ(backend.runMessageLoop(), 0);
    a.exitCleanup();
    a.exitCleanup();
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(services.registry.count(kHandleValueName), 0u);
    EXPECT_EQ(a.cleanupRuns(), 1);
    EXPECT_EQ(a.mainBar(), nullptr);
    EXPECT_EQ(a.popupBar(), nullptr);
}

TEST_F(Startup, EscAndTheSystemCloseCommandEndTheProgramToo) {
    for (bool esc : {true, false}) {
        ui::HeadlessBackend b;
        platform::RecordingServices s;
        Application a(b, s);
        a.start();
        if (esc)
            b.userPressEscape(a.mainWindow().id());
        else
            b.userSystemClose(a.mainWindow().id());
        EXPECT_EQ(b.runMessageLoop(), 0) << esc;
        EXPECT_FALSE(a.mainWindow().isLoaded()) << esc;
        EXPECT_EQ(s.registry.count(kHandleValueName), 0u) << esc;
    }
}

TEST_F(Startup, ClosingTakesTheAuxiliaryWindowsAlong) {
    Application a(backend, services);
    a.start();
    ui::WindowSpec popupSpec;
    popupSpec.width = 236;
    popupSpec.height = 137;
    popupSpec.inTaskbar = false;
    ui::Window popup(backend, popupSpec);
    popup.load();
    a.closesWithMain.push_back(&popup);
    a.mainWindow().destroy();
    EXPECT_EQ(backend.runMessageLoop(), 0);
    EXPECT_FALSE(popup.isLoaded());
}

struct SecondStart {
    const char* what;
    bool valuePresent;
    unsigned type;
    std::uint32_t stored;
    std::uint32_t restored;  // the number handed to OpenIcon
};

class Refused : public Startup, public ::testing::WithParamInterface<SecondStart> {};

TEST_P(Refused, ASecondStartRestoresTheFirstAndLeavesItsValueAlone) {
    const SecondStart& c = GetParam();
    services.markers.push_back(kInstanceEventName);  // a first instance runs
    if (c.valuePresent) {
        services.setDword(kHandleValueName, c.stored);
        services.registry[kHandleValueName].type = c.type;
    }
    Application a(backend, services);
    int moved = 0;
    a.mainWindow().onMoved = [&] { ++moved; };
    a.start();
    EXPECT_TRUE(a.refused());
    EXPECT_TRUE(services.called("openIcon " + std::to_string(c.restored))) << c.what;
    EXPECT_FALSE(services.called("writeHandleValue")) << c.what;
    // Still there while the loader finishes; gone once the queue runs.
    EXPECT_TRUE(a.mainWindow().isLoaded());
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(backend.runMessageLoop(), 0);
    EXPECT_FALSE(a.mainWindow().isLoaded());
    EXPECT_FALSE(services.called("deleteHandleValue")) << c.what;
    EXPECT_EQ(services.registry.count(kHandleValueName), c.valuePresent ? 1u : 0u);
    EXPECT_NE(a.mainWindow().图片框3.picture(), ui::Picture::AppIcon);
}

INSTANTIATE_TEST_SUITE_P(Values, Refused,
                         ::testing::Values(SecondStart{"dword", true, 4, 0x1234, 0x1234},
                                           SecondStart{"missing", false, 4, 0, 0},
                                           SecondStart{"wrong type", true, 1, 0x1234, 0},
                                           SecondStart{"stale handle", true, 4, 0xDEAD, 0xDEAD}));

TEST_F(Startup, AThirdStartStillFindsTheRunningWindow) {
    Application first(backend, services);
    first.start();
    std::uint32_t handle = first.mainWindow().handleValue();
    for (int start = 2; start <= 3; ++start) {
        ui::HeadlessBackend other;
        Application next(other, services);
        next.start();
        other.runMessageLoop();
        EXPECT_TRUE(next.refused()) << start;
    }
    EXPECT_EQ(std::count(services.calls.begin(), services.calls.end(),
                         "openIcon " + std::to_string(handle)),
              2);
    EXPECT_EQ(services.readHandleValue(kHandleValueName), handle);
}

}  // namespace

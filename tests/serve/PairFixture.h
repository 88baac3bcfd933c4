// A test of the service with the real settings program: the settings and the virtual camera reset
// before, the service halted and any panel closed after.
#pragma once

#include "KivoNames.h"
#include "ServeSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace serve {

class PairFixture : public ::testing::Test {
protected:
    static const DWORD kServiceStartMs = 10000;
    static const DWORD kServiceExitMs = 10000;
    static const size_t kLogTailLines = 60;

    void SetUp() override
    {
        resetSettings();
        setExternalCameraInstalled(false);
        ASSERT_EQ(0u, runTool(m_inst, L"kivocam.exe", L"reset"));
    }
    void TearDown() override
    {
        if (HasFailure())
            printLogTail();
        if (m_serve && m_serve->running())
            haltService(m_inst, *m_serve, kServiceExitMs);
        m_serve.reset();
        // A panel ends with its camera; the capturing application goes with its object. The next
        // test's panel would find this one still holding the machine's one panel and end at once.
        if (HWND hPanel = findPanelWindow()) {
            DWORD panelProcess = processOfWindow(hPanel);
            PostMessageW(hPanel, WM_TASK_DEVICE_CLOSE, 0, 0);
            waitForProcessEnd(panelProcess, kServiceExitMs);
        }
        // A panel the service launched just before its halt may only now be starting; it would hold
        // the one panel when the next test's panel starts.
        EXPECT_TRUE(waitForProgramsToEnd(m_inst, kServiceExitMs)) << "a program of the installation outlived its test";
    }

    // What the programs logged last, for a failure that does not come again on its own.
    void printLogTail() const
    {
        std::vector<std::string> lines = m_inst.logLines();
        size_t first = lines.size() > kLogTailLines ? lines.size() - kLogTailLines : 0;
        std::string tail;
        for (size_t i = first; i < lines.size(); ++i)
            tail += lines[i] + "\n";
        std::printf("The product log's last %u of %u lines:\n%s", unsigned(lines.size() - first),
                    unsigned(lines.size()), tail.c_str());
    }

    HWND startService()
    {
        m_serve = m_inst.startOwned(L"KivoServe.exe");
        return waitForFrameWindow(m_serve->id(), kServiceStartMs);
    }

    Installation m_inst{SettingsProgram::Real};
    std::unique_ptr<TestProcess> m_serve;
};

} // namespace serve

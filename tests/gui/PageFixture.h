#pragma once
// A page under test: the library object the main window would make, a host window standing in
// for the tab control, and a catcher for every box the page opens. The page runs on the system's
// clock, or on one the test moves on (ClockedPageFixture).

#include "Harness.h"
#include "corelib/Core.h"
#include "framework/Clock.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <memory>

// A page's message: empty caption, one OK button, no icon.
inline void ExpectPlainMessageBox(const CaughtBox& box)
{
    EXPECT_EQ(box.caption, L"");
    EXPECT_EQ(box.visibleButtons, 1);
    EXPECT_TRUE(box.okButton);
    EXPECT_EQ(box.icons, 0);
}

template <class Page> class PageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_pCore = new CCore;
        hostWnd.Attach(host.hwnd);
        page = std::make_unique<Page>(nullptr, Clock());
        ASSERT_TRUE(page->Create(page->GetTemplateId(), &hostWnd));
        hwnd = page->m_hWnd;
        // Every message of a page has an empty caption and one OK button.
        catcher.onBox = [](const CaughtBox& box) {
            if (box.isMessageBox)
                ExpectPlainMessageBox(box);
            return IDOK;
        };
    }
    void TearDown() override
    {
        page.reset();
        delete g_pCore;
        g_pCore = nullptr;
    }

    // What the page measures the age of its runs by.
    virtual const IClock& Clock() { return TickClock(); }

    // The messages shown so far.
    std::vector<std::wstring> Messages() const
    {
        std::vector<std::wstring> texts;
        for (const CaughtBox& b : catcher.boxes)
            texts.push_back(b.text);
        return texts;
    }

    BoxCatcher catcher;
    HostWindow host;
    CWnd hostWnd;
    std::unique_ptr<Page> page;
    HWND hwnd = nullptr;
};

// A clock that stands still until the test moves it on.
class FakeClock final : public IClock {
public:
    DWORD NowMs() const override { return m_now; }
    void Advance(DWORD ms) { m_now += ms; }

private:
    DWORD m_now = 0xFFFFFF00; // wraps during a test's first run, as GetTickCount does after 49 days
};

// A page whose runs age only when the test says so.
template <class Page> class ClockedPageFixture : public PageFixture<Page> {
protected:
    const IClock& Clock() override { return clock; }
    FakeClock clock;
};

#pragma once
// Tests that reach the library through g_pCore get their own object, as the main window would make.
#include "corelib/Core.h"

#include <gtest/gtest.h>

class WithCore : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_pCore = new CCore(20261207u);
        sources = SourcesOf(*g_pCore);
    }
    void TearDown() override
    {
        delete g_pCore;
        g_pCore = nullptr;
    }
    ComposerSources sources;
};

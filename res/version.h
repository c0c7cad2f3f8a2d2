// The program's version: the one place that the build (CMake reads the numbers below), the
// version block, the manifest and the About record take it from.
#pragma once

#define ZANFOR_VERSION_MAJOR 2
#define ZANFOR_VERSION_MINOR 0
#define ZANFOR_VERSION_PATCH 5
#define ZANFOR_VERSION_BUILD 27
#define ZANFOR_VERSION_NUMBERS 2, 0, 5, 27
#define ZANFOR_VERSION_TEXT "2, 0, 5, 27"
#define ZANFOR_COMPANY_TEXT "Zanfor 工作室"
#define ZANFOR_COPYRIGHT_TEXT "版权所有 (C) 2026 Zanfor 工作室"

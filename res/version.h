// The program's version, shared by the version block and the code.
#pragma once

#define ZANFOR_VERSION_NUMBERS 2, 0, 5, 27
#define ZANFOR_VERSION_TEXT "2, 0, 5, 27"
#define ZANFOR_COMPANY_TEXT "Zanfor 工作室"
#define ZANFOR_COPYRIGHT_TEXT "版权所有 (C) 2026 Zanfor 工作室"

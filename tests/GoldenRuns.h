#pragma once
// Whole runs pinned byte for byte for fixed seeds, as the numbers and strings pages would show them
// (every item on its own line ended by "\r\n"). The expected texts come from an independent model
// of the generators, tests/golden/make_golden.py; every build, and the command line, must give
// them. Each run's settings stand where it is checked.

#include <map>
#include <string>

inline const std::map<std::string, std::string> kGolden = {
    {"NumbersBothKinds80To100", "97.00\r\n"
                                "97\r\n"
                                "92\r\n"
                                "99\r\n"
                                "94\r\n"
                                "94.94\r\n"
                                "87.05\r\n"
                                "98\r\n"
                                "89\r\n"
                                "97\r\n"
                                ""},
    {"NumbersBothKindsOtherSeed", "99.69\r\n"
                                  "85.26\r\n"
                                  "86.50\r\n"
                                  "88\r\n"
                                  "89.16\r\n"
                                  "80.58\r\n"
                                  "87.28\r\n"
                                  "99.78\r\n"
                                  "80.97\r\n"
                                  "91.15\r\n"
                                  ""},
    {"NumbersDecimalsNegative", "-0.9270\r\n"
                                "-1.4568\r\n"
                                "-0.7608\r\n"
                                "-1.2358\r\n"
                                "-1.1093\r\n"
                                "-0.9240\r\n"
                                "-1.3760\r\n"
                                "-1.3825\r\n"
                                "-1.3130\r\n"
                                "-1.4624\r\n"
                                ""},
    {"NumbersDecimalsEight", "0.92179996\r\n"
                             "0.76620001\r\n"
                             "0.74159998\r\n"
                             "0.97380000\r\n"
                             "0.70440000\r\n"
                             "0.87329996\r\n"
                             "0.90410000\r\n"
                             "0.89099997\r\n"
                             "0.92319995\r\n"
                             "0.95089996\r\n"
                             ""},
    {"NumbersWholeTruncated", "0\r\n"
                              "-1\r\n"
                              "-1\r\n"
                              "1\r\n"
                              "0\r\n"
                              "0\r\n"
                              "-2\r\n"
                              "0\r\n"
                              "1\r\n"
                              "-1\r\n"
                              "-1\r\n"
                              "1\r\n"
                              ""},
    {"StringsDefaults", "HMLlxV\r\n"
                        "gwwtJ\r\n"
                        "eGrvTYYC\r\n"
                        "eifZMKV\r\n"
                        "RkftY\r\n"
                        "apOxbO\r\n"
                        "uYonjri\r\n"
                        "AwNXJo\r\n"
                        "OUwScxS\r\n"
                        "VTklyXWK\r\n"
                        ""},
    {"StringsHeadTailInserts", "idu_9z1-m44PEyx\r\n"
                               "idi_cgj-EnZa4g0x\r\n"
                               "idz_mzx-\r\n"
                               "idh_emR-99T57x\r\n"
                               "idB_9v6-3qwlfs1Fx\r\n"
                               "id9_FGp-Mx\r\n"
                               "idm_1M4-5rcox\r\n"
                               "ide_gjp-gdx\r\n"
                               "idk_hx\r\n"
                               "idK_tZr-x\r\n"
                               ""},
};

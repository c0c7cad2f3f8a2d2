#pragma once
// The identical-bytes floor of a strings batch with the page's default settings: the draws the
// engine makes, written out by hand into one 64 KiB buffer and one stream.
#include "core/Random.h"

#include <cstdio>
#include <cstdlib>
#include <string>

inline void FloorStrings(const std::string& path, long long count)
{
    RandomSource rng(1);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::setvbuf(f, nullptr, _IONBF, 0); // the one buffer is ours
    static char buf[1 << 16];
    std::size_t n = 0;
    for (long long i = 0; i < count; ++i) {
        const int len = rng.Between(5, 8);
        for (int j = 0; j < len; ++j) {
            for (;;) {
                const int cls = rng.Between(1, 4);
                if (cls == 1) {
                    buf[n++] = static_cast<char>(rng.Between('A', 'Z'));
                    break;
                }
                if (cls == 2) {
                    buf[n++] = static_cast<char>(rng.Between('a', 'z'));
                    break;
                }
            }
        }
        buf[n++] = '\r';
        buf[n++] = '\n';
        if (n > sizeof buf - 16) {
            std::fwrite(buf, 1, n, f);
            n = 0;
        }
    }
    std::fwrite(buf, 1, n, f);
    if (std::fclose(f) != 0)
        std::abort();
}

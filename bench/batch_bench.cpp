// The batch engine beside hand-written floors that make the same bytes: same seed, same draws,
// one 64 KiB buffer, one stream. Each pair runs in turn several times; the medians and their ratio
// are printed, and every run of the engine is checked byte for byte against the floor's.
//
//   batch_bench [--count N] [--runs R] [--dir FOLDER]   the table
//   batch_bench --peak N [--dir FOLDER]                 one strings batch of N, then its peak
//   memory
//   batch_bench --cli PROGRAM [--count N] [--runs R] [--dir FOLDER]
//                                   zanfor-cli streaming default strings into a file, against the
//                                   floor into a file
#include "Clock.h"
#include "StringsFloor.h"
#include "core/Batch.h"
#include "core/FixedFormat.h"
#include "corelib/Core.h"
#include "platform/ResultsFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const StringOptions kDefaultStrings{.m_bUpper = 1, .m_bLower = 1, .m_nLenMin = 5, .m_nLenMax = 8};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The engine as the strings page runs it: into the results file, every write checked.
void EngineStrings(const std::string& path, long long count)
{
    CCore core(1u);
    RandomSource rng(1);
    CResultsFile file;
    if (file.Begin(path.c_str()) != CResultsFile::Start::Ok)
        std::abort();
    const BatchResult r = MakeStringsBatch({.options = kDefaultStrings, .count = count}, rng,
                                           SourcesOf(core), file, nullptr);
    if (r.made != count || !file.Verify())
        std::abort();
}

void EngineNumbers(std::string& out, long long count, BOOL integer, int decimals)
{
    RandomSource rng(1);
    out.clear();
    const NumbersList list{.options = {.m_bInteger = integer,
                                       .m_bFloat = 1,
                                       .m_fMin = 80.0f,
                                       .m_fMax = 100.0f,
                                       .m_nDecimals = decimals},
                           .count = count};
    if (MakeNumbersList(list, rng, out).made != count)
        std::abort();
}

// The floor: to_chars on the same draws; an exact half at the first dropped digit goes away from
// zero, as the items are written.
void FloorNumbers(std::string& out, long long count, BOOL integer, int decimals)
{
    RandomSource rng(1);
    out.clear();
    const int a = TenThousandths(80.0f), b = TenThousandths(100.0f);
    char buf[64];
    for (long long i = 0; i < count; ++i) {
        int kind;
        while ((kind = rng.Between(1, 2)) == 1 && !integer) {
        }
        if (kind == 1) {
            out.append(buf, std::to_chars(buf, buf + sizeof buf, rng.Between(80, 100)).ptr);
        } else {
            double v = static_cast<float>(FloatFromTenThousandths(rng, a, b));
            int exp2;
            const int mantissa = static_cast<int>(std::ldexp(std::frexp(v, &exp2), 24));
            const int fractionBits = 24 - exp2 - std::countr_zero(static_cast<unsigned>(mantissa));
            if (fractionBits == decimals + 1) // an exact half: every such value has this many
                v = std::nextafter(v, HUGE_VAL);
            out.append(
                buf,
                std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr);
        }
        out += "\r\n";
    }
}

// zanfor-cli as a user runs it: its own process, the default strings into a file.
void CliStrings(const std::string& program, const std::string& path, long long count)
{
    const std::string command =
        "\"" + program + "\" strings --seed 1 --crlf -n " + std::to_string(count) + " -o \"" + path +
        "\"";
    if (std::system(command.c_str()) != 0)
        std::abort();
}

struct Row {
    const char* what;
    double engine, floor;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class Engine, class Floor, class Same>
Row Compare(const char* what, int runs, Engine engine, Floor floor, Same same)
{
    std::vector<double> e, f;
    for (int r = 0; r < runs; ++r) {
        double t = NowSeconds();
        floor();
        f.push_back(NowSeconds() - t);
        t = NowSeconds();
        engine();
        e.push_back(NowSeconds() - t);
        if (!same()) {
            std::fprintf(stderr, "%s: the engine's bytes differ from the floor's\n", what);
            std::exit(1);
        }
    }
    return Row{what, Median(e), Median(f)};
}

} // namespace

int main(int argc, char** argv)
{
    long long count = 1000000, peak = 0;
    int runs = 7;
    std::string dir = ".", cli;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--count"))
            count = std::atoll(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir"))
            dir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--peak"))
            peak = std::atoll(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--cli"))
            cli = argv[i + 1];
    }
    const std::string enginePath = dir + "/zanfor_bench_engine.txt";
    const std::string floorPath = dir + "/zanfor_bench_floor.txt";
    if (peak > 0) {
        EngineStrings(enginePath, peak);
        std::printf("strings batch of %lld: peak memory %.1f MB\n", peak,
                    static_cast<double>(PeakMemoryBytes()) / 1e6);
        std::remove(enginePath.c_str());
        return 0;
    }

    if (!cli.empty()) {
        const Row r = Compare(
            "zanfor-cli strings, defaults, -o FILE", runs,
            [&] { CliStrings(cli, enginePath, count); }, [&] { FloorStrings(floorPath, count); },
            [&] { return ReadFile(enginePath) == ReadFile(floorPath); });
        std::remove(enginePath.c_str());
        std::remove(floorPath.c_str());
        std::printf("| batch of %lld | zanfor-cli (s) | floor (s) | zanfor-cli / floor |\n"
                    "|---|---|---|---|\n",
                    count);
        std::printf("| %s | %.3f | %.3f | %.2f |\n", r.what, r.engine, r.floor, r.engine / r.floor);
        return 0;
    }

    std::vector<Row> rows;
    rows.push_back(Compare(
        "strings, defaults, into the results file", runs, [&] { EngineStrings(enginePath, count); },
        [&] { FloorStrings(floorPath, count); },
        [&] { return ReadFile(enginePath) == ReadFile(floorPath); }));
    std::string e, f;
    rows.push_back(Compare(
        "numbers, defaults (both kinds, 2 decimals)", runs, [&] { EngineNumbers(e, count, 1, 2); },
        [&] { FloorNumbers(f, count, 1, 2); }, [&] { return e == f; }));
    rows.push_back(Compare(
        "numbers, decimals only, 8 decimals", runs, [&] { EngineNumbers(e, count, 0, 8); },
        [&] { FloorNumbers(f, count, 0, 8); }, [&] { return e == f; }));
    std::remove(enginePath.c_str());
    std::remove(floorPath.c_str());

    std::printf("| batch of %lld | engine (s) | floor (s) | engine / floor |\n", count);
    std::printf("|---|---|---|---|\n");
    for (const Row& r : rows)
        std::printf("| %s | %.3f | %.3f | %.2f |\n", r.what, r.engine, r.floor, r.engine / r.floor);
    return 0;
}

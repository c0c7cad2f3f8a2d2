// The insertion spec on arbitrary bytes, read through the library's field splitter: the plan holds
// the pairs an independent cut of the insertion text gives, and the insertions made are those the
// rules accept, so the output grows by exactly their texts. One library object serves a whole
// input, so the splitter's memory of its last walk meets texts, separators and indexes in any
// order.
#include "ReferenceNumbers.h"
#include "core/StringComposer.h"
#include "corelib/Core.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Fail(const char* what, std::string_view spec)
{
    std::fprintf(stderr, "%s, spec \"%.*s\"\n", what, static_cast<int>(spec.size()), spec.data());
    std::abort();
}

// src cut at every sep, field by field.
std::vector<std::string_view> Cut(std::string_view src, char sep)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t next = src.find(sep);
        fields.push_back(src.substr(0, next));
        if (next == std::string_view::npos)
            return fields;
        src.remove_prefix(next + 1);
    }
}

// Empty past the last field.
std::string_view FieldOf(const std::vector<std::string_view>& fields, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < fields.size() ? fields[index]
                                                                         : std::string_view();
}

void CheckInsertions(const std::string& spec, const std::string& s, const ComposerSources& sources)
{
    // The pairs by the rules: up to the first empty position, each read as atoi reads it.
    InsertPlan expected;
    const std::vector<std::string_view> fields = Cut(spec, '|');
    if (!spec.empty())
        for (int k = 0; !FieldOf(fields, k).empty(); k += 2)
            expected.pairs.push_back(
                {ReferenceInt(FieldOf(fields, k)), CString(FieldOf(fields, k + 1))});
    const InsertPlan plan = ReadInsertPlan(CString(spec), sources);
    if (plan.pairs.size() != expected.pairs.size())
        Fail("pair count", spec);
    for (std::size_t i = 0; i < plan.pairs.size(); ++i)
        if (plan.pairs[i].position != expected.pairs[i].position ||
            plan.pairs[i].text != expected.pairs[i].text)
            Fail("pair", spec);

    // Accepted: not past the length before insertion, and below the last accepted position
    // unless that was 0. An empty text counts as accepted.
    const long long length = static_cast<long long>(s.size());
    std::size_t grown = s.size();
    std::string model = s;
    int last = 0;
    for (const InsertPlan::Pair& pair : expected.pairs) {
        if (pair.position > length || (last != 0 && pair.position >= last))
            continue;
        last = pair.position;
        grown += pair.text.size();
        model.insert(static_cast<std::size_t>(std::max(pair.position, 0)), pair.text.View());
    }

    std::string out = s;
    ApplyInsertPlan(plan, out);
    if (out.size() != grown)
        Fail("output length", spec);
    if (out != model)
        Fail("output bytes", spec);
    StringOptions opt;
    opt.m_strInsert = CString(spec);
    if (ApplyInserts(opt, sources, CString(s)).Str() != out)
        Fail("ApplyInserts differs from the plan", spec);
}

} // namespace

// The input: the string to insert into, then specs, each either applied or cut by the splitter
// alone at a chosen separator and index.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    CCore core(1u);
    const ComposerSources sources = SourcesOf(core);
    const std::string s = in.ConsumeRandomLengthString();
    while (in.remaining_bytes() > 0) {
        const std::string spec = in.ConsumeRandomLengthString();
        if (in.ConsumeBool()) {
            const char sep = in.ConsumeIntegral<char>();
            const int index = in.ConsumeIntegralInRange<int>(-1, 40);
            if (core.getFg(CString(spec), sep, index).View() != FieldOf(Cut(spec, sep), index))
                Fail("getFg", spec);
        } else {
            CheckInsertions(spec, s, sources);
        }
    }
    return 0;
}

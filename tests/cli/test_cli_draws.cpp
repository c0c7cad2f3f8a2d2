// zanfor-cli without --seed: every character, whole number and decimal equally likely, both ends of
// a range included, and --require-each without favouring a character.
//
// The draws come from the system's secure source, so no seed fixes a sample: each check is a
// chi-square test on a sample of fixed size, failing only beyond the quantile of p = 1e-9 for its
// degrees of freedom. A correct program fails one of them about once in a billion runs; the faults
// they are for (a class drawn first, an end with half weight, a favoured character) exceed the
// bound many times over at these sizes.
#include "CliHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

namespace {

// The chi-square quantile of p = 1e-9, by degrees of freedom (rounded up).
double Bound(std::size_t degrees)
{
    const std::map<std::size_t, double> quantile{{5, 50.7}, {10, 63.0}, {19, 81.6}, {35, 110.4}};
    return quantile.at(degrees);
}

// Pearson's statistic of the counts against the expected shares of their categories, with a
// category that did not come up counted as 0; a count outside the categories fails.
void ExpectUniform(const std::map<std::string, double>& counts,
                   const std::map<std::string, double>& shares, double total)
{
    double chi = 0;
    for (const auto& [category, share] : shares) {
        const auto found = counts.find(category);
        const double seen = found == counts.end() ? 0 : found->second;
        chi += (seen - total * share) * (seen - total * share) / (total * share);
    }
    for (const auto& [category, seen] : counts)
        EXPECT_TRUE(shares.count(category)) << "\"" << category << "\" is outside the range";
    EXPECT_LT(chi, Bound(shares.size() - 1));
}

std::map<std::string, double> Counts(const std::vector<std::string>& items)
{
    std::map<std::string, double> counts;
    for (const std::string& item : items)
        ++counts[item];
    return counts;
}

std::map<std::string, double> Equal(const std::vector<std::string>& categories)
{
    std::map<std::string, double> shares;
    for (const std::string& c : categories)
        shares[c] = 1.0 / static_cast<double>(categories.size());
    return shares;
}

} // namespace

TEST(CliDraws, UniformOverTheUnionOfCharactersTheWholeRangeAndEveryDecimal)
{
    // Letters and digits: each of the 36 characters one time in 36, not digits half the time.
    std::vector<std::string> characters;
    for (char c = 'A'; c <= 'Z'; ++c)
        characters.push_back(std::string(1, c));
    for (char c = '0'; c <= '9'; ++c)
        characters.push_back(std::string(1, c));
    const int n = 36000;
    const CliRun strings =
        RunInProcess({"strings", "--upper", "--digits", "--length", "1", "-n", std::to_string(n)});
    ASSERT_EQ(strings.status, EXIT_DONE) << strings.err;
    ExpectUniform(Counts(Lines(strings.out)), Equal(characters), n);

    // Dice: both ends as likely as the middle.
    const CliRun dice =
        RunInProcess({"numbers", "--int", "--min", "1", "--max", "6", "-n", "6000"});
    ExpectUniform(Counts(Lines(dice.out)), Equal({"1", "2", "3", "4", "5", "6"}), 6000);

    // Every tenth from -1 to 0, both ends included, and 0 written as 0.0, never -0.0.
    const CliRun tenths = RunInProcess(
        {"numbers", "--float", "--decimals", "1", "--min", "-1", "--max", "0", "-n", "11000"});
    ExpectUniform(Counts(Lines(tenths.out)),
                  Equal({"-1.0", "-0.9", "-0.8", "-0.7", "-0.6", "-0.5", "-0.4", "-0.3", "-0.2",
                         "-0.1", "0.0"}),
                  11000);

    // The bounds as typed, not as 32-bit floats.
    EXPECT_EQ(RunInProcess({"numbers", "--float", "--min", "0.1", "--max", "0.1", "--decimals",
                            "10", "-n", "2"})
                  .out,
              "0.1000000000" + RECORD_END + "0.1000000000" + RECORD_END);
    // Beyond 64 bits: 20 decimals from -1 to 1 are 2 * 10^20 + 1 numbers, as likely in each
    // tenth of the range, and written whole.
    std::map<std::string, double> wide;
    std::vector<std::string> names;
    for (int k = 0; k < 20; ++k)
        names.push_back(std::to_string(k));
    for (const std::string& line : Lines(RunInProcess({"numbers", "--float", "--min", "-1", "--max",
                                                       "1", "--decimals", "20", "-n", "20000"})
                                             .out)) {
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(-?[01]\.\d{20})"))) << line;
        EXPECT_NE(line, "-0.00000000000000000000");
        if (line.find("1.") != std::string::npos) { // never beyond the bounds
            EXPECT_EQ(line.substr(line.find('.')), ".00000000000000000000") << line;
        }
        ++wide[std::to_string(std::min(19, static_cast<int>((std::stod(line) + 1) * 10)))];
    }
    ExpectUniform(wide, Equal(names), 20000);
}

TEST(CliDraws, RequireEachHoldsInEveryStringAndFavoursNoCharacter)
{
    // Three characters with at least one letter and one digit: 28080 strings, equally likely.
    // Of them 3 * 26^2 * 10 hold one digit and 3 * 26 * 10^2 two, so a letter makes up
    // (2 * 20280 + 7800) / (3 * 28080) of all characters; mending a string instead (putting a
    // digit into a string of letters) makes letters more common.
    const int n = 30000;
    const CliRun run = RunInProcess({"strings", "--upper", "--digits", "--require-each", "--length",
                                     "3", "-n", std::to_string(n)});
    ASSERT_EQ(run.status, EXIT_DONE) << run.err;
    std::map<std::string, double> counts;
    for (const std::string& line : Lines(run.out)) {
        ASSERT_EQ(line.size(), 3u);
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](char c) {
            return c >= 'A' && c <= 'Z';
        })) << line;
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](char c) {
            return c >= '0' && c <= '9';
        })) << line;
        for (const char c : line)
            ++counts[std::string(1, c)];
    }
    const double letters = (2.0 * 20280 + 7800) / (3.0 * 28080);
    std::map<std::string, double> shares;
    for (char c = 'A'; c <= 'Z'; ++c)
        shares[std::string(1, c)] = letters / 26;
    for (char c = '0'; c <= '9'; ++c)
        shares[std::string(1, c)] = (1 - letters) / 10;
    ExpectUniform(counts, shares, 3.0 * n);
}

#include "ExactNumbers.h"

#include "Saturating.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

// digits (a magnitude, no sign) times 10^-decimals, written with that many decimals.
void AppendPointed(std::string& out, bool negative, std::string_view digits, int decimals)
{
    if (negative)
        out += '-';
    const auto places = static_cast<std::size_t>(decimals);
    if (places == 0) {
        out += digits;
        return;
    }
    if (digits.size() <= places) {
        out += "0.";
        out.append(places - digits.size(), '0');
        out += digits;
        return;
    }
    out += digits.substr(0, digits.size() - places);
    out += '.';
    out += digits.substr(digits.size() - places);
}

} // namespace

void AppendScaled(std::string& out, std::int64_t value, int decimals)
{
    // The magnitude in unsigned arithmetic: the lowest value has no positive counterpart.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    AppendPointed(out, value < 0, std::string_view(digits, static_cast<std::size_t>(end - digits)),
                  decimals);
}

BigInt BigInt::FromDigits(std::string_view digits, bool negative)
{
    BigInt n;
    while (!digits.empty()) {
        const std::size_t take = std::min<std::size_t>(9, digits.size());
        std::uint32_t limb = 0;
        std::from_chars(digits.data() + digits.size() - take, digits.data() + digits.size(), limb);
        n.m_limbs.push_back(limb);
        digits.remove_suffix(take);
    }
    n.m_negative = negative;
    n.Trim();
    return n;
}

BigInt BigInt::FromUnsigned(std::uint64_t value)
{
    BigInt n;
    for (; value > 0; value /= BASE)
        n.m_limbs.push_back(static_cast<std::uint32_t>(value % BASE));
    return n;
}

void BigInt::Trim()
{
    while (!m_limbs.empty() && m_limbs.back() == 0)
        m_limbs.pop_back();
    if (m_limbs.empty())
        m_negative = false;
}

int BigInt::CompareMagnitudes(const BigInt& a, const BigInt& b)
{
    if (a.m_limbs.size() != b.m_limbs.size())
        return a.m_limbs.size() < b.m_limbs.size() ? -1 : 1;
    for (std::size_t i = a.m_limbs.size(); i-- > 0;)
        if (a.m_limbs[i] != b.m_limbs[i])
            return a.m_limbs[i] < b.m_limbs[i] ? -1 : 1;
    return 0;
}

BigInt BigInt::AddMagnitudes(const BigInt& a, const BigInt& b, bool negative)
{
    BigInt sum;
    std::uint32_t carry = 0;
    for (std::size_t i = 0; i < std::max(a.m_limbs.size(), b.m_limbs.size()) || carry; ++i) {
        std::uint32_t limb = carry;
        limb += i < a.m_limbs.size() ? a.m_limbs[i] : 0;
        limb += i < b.m_limbs.size() ? b.m_limbs[i] : 0; // below 3 * 10^9: fits 32 bits
        carry = limb >= BASE;
        sum.m_limbs.push_back(carry ? limb - BASE : limb);
    }
    sum.m_negative = negative;
    sum.Trim();
    return sum;
}

BigInt BigInt::SubtractMagnitudes(const BigInt& a, const BigInt& b, bool negative)
{
    BigInt difference;
    std::uint32_t borrow = 0;
    for (std::size_t i = 0; i < a.m_limbs.size(); ++i) {
        const std::uint32_t take = (i < b.m_limbs.size() ? b.m_limbs[i] : 0) + borrow;
        borrow = a.m_limbs[i] < take;
        difference.m_limbs.push_back(borrow ? a.m_limbs[i] + BASE - take : a.m_limbs[i] - take);
    }
    difference.m_negative = negative;
    difference.Trim();
    return difference;
}

BigInt operator+(const BigInt& a, const BigInt& b)
{
    if (a.m_negative == b.m_negative)
        return BigInt::AddMagnitudes(a, b, a.m_negative);
    return BigInt::CompareMagnitudes(a, b) >= 0 ? BigInt::SubtractMagnitudes(a, b, a.m_negative)
                                                : BigInt::SubtractMagnitudes(b, a, b.m_negative);
}

BigInt operator-(const BigInt& a, const BigInt& b)
{
    BigInt negated = b;
    negated.m_negative = !b.m_negative && !b.IsZero();
    return a + negated;
}

int Compare(const BigInt& a, const BigInt& b)
{
    if (a.m_negative != b.m_negative)
        return a.m_negative ? -1 : 1;
    const int magnitudes = BigInt::CompareMagnitudes(a, b);
    return a.m_negative ? -magnitudes : magnitudes;
}

BigInt BigInt::Below(UniformSource& source) const
{
    if (m_limbs.size() == 1)
        return FromUnsigned(source.UpTo(m_limbs[0] - 1));
    // Every limb uniform, the top one up to this number's: a value not below this number (at
    // most half of them) is drawn again.
    for (;;) {
        BigInt n;
        n.m_limbs.resize(m_limbs.size());
        for (std::size_t i = 0; i + 1 < m_limbs.size(); ++i)
            n.m_limbs[i] = static_cast<std::uint32_t>(source.UpTo(BASE - 1));
        n.m_limbs.back() = static_cast<std::uint32_t>(source.UpTo(m_limbs.back()));
        n.Trim();
        if (CompareMagnitudes(n, *this) < 0)
            return n;
    }
}

namespace {

// A magnitude of at most three limbs as 64 bits; false when it does not fit.
bool Magnitude64(const std::vector<std::uint32_t>& limbs, std::uint64_t& value)
{
    constexpr std::uint64_t base = 1000000000;
    if (limbs.size() > 3)
        return false;
    value = 0;
    for (std::size_t i = limbs.size(); i-- > 0;) {
        if (value > (UINT64_MAX - limbs[i]) / base)
            return false;
        value = value * base + limbs[i];
    }
    return true;
}

} // namespace

bool BigInt::ToInt64(std::int64_t& value) const
{
    std::uint64_t magnitude;
    if (!Magnitude64(m_limbs, magnitude))
        return false;
    constexpr std::uint64_t most = std::numeric_limits<std::int64_t>::max();
    if (magnitude > most + (m_negative ? 1 : 0))
        return false;
    value = m_negative ? static_cast<std::int64_t>(0 - magnitude)
                       : static_cast<std::int64_t>(magnitude);
    return true;
}

std::uint64_t BigInt::Saturated() const
{
    std::uint64_t magnitude;
    if (m_negative)
        return 0;
    return Magnitude64(m_limbs, magnitude) ? std::min(magnitude, DISTINCT_MANY) : DISTINCT_MANY;
}

void BigInt::AppendFixed(std::string& out, int decimals) const
{
    std::string digits;
    char buf[16];
    for (std::size_t i = m_limbs.size(); i-- > 0;) {
        const auto end = std::to_chars(buf, buf + sizeof buf, m_limbs[i]).ptr;
        const auto size = static_cast<std::size_t>(end - buf);
        if (i + 1 < m_limbs.size())
            digits.append(9 - size, '0');
        digits.append(buf, size);
    }
    AppendPointed(out, m_negative, digits.empty() ? "0" : digits, decimals);
}

long long BigInt::DecimalDigits() const
{
    if (m_limbs.empty())
        return 1;
    long long digits = static_cast<long long>(m_limbs.size() - 1) * 9;
    for (std::uint32_t top = m_limbs.back(); top > 0; top /= 10)
        ++digits;
    return digits;
}

bool TypedDecimal::Read(std::string_view text)
{
    constexpr long long exponentLimit = 1000000000000000LL; // far beyond any finite bound
    std::size_t i = 0;
    m_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        m_negative = text[i++] == '-';
    std::string digits;
    long long wholeDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
            wholeDigits += point ? 0 : 1;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.empty())
        return false;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i == text.size())
            return false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponent = std::min(exponentLimit, exponent * 10 + (text[i] - '0'));
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return false;
    const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
    digits.erase(0, lead);
    digits.erase(digits.find_last_not_of('0') + 1);
    m_digits = digits;
    m_point = wholeDigits - static_cast<long long>(lead) + exponent;
    if (m_digits.empty()) {
        m_negative = false;
        m_point = 0;
    }
    return true;
}

BigInt TypedDecimal::Scaled(int decimals, bool roundUp) const
{
    // The value times 10^decimals is 0.<digits> times 10^point: its whole part is the first
    // `point` digits, and a fraction remains when there are more.
    const long long point = m_point + decimals;
    std::string whole;
    bool fraction = !m_digits.empty();
    if (point > 0) {
        const auto size = static_cast<std::size_t>(point);
        whole = m_digits.substr(0, size);
        whole.append(size - whole.size(), '0');
        fraction = m_digits.size() > size;
    }
    BigInt scaled = BigInt::FromDigits(whole, m_negative);
    // Away from zero for an upper rounding of a positive value or a lower one of a negative value.
    if (fraction && roundUp != m_negative)
        scaled = scaled + BigInt::FromDigits("1", m_negative);
    return scaled;
}

int Compare(const TypedDecimal& a, const TypedDecimal& b)
{
    const int signA = a.m_digits.empty() ? 0 : a.m_negative ? -1 : 1;
    const int signB = b.m_digits.empty() ? 0 : b.m_negative ? -1 : 1;
    if (signA != signB || signA == 0)
        return signA < signB ? -1 : signA > signB ? 1 : 0;
    // Both 0.<digits> with a leading digit that is not 0: the point decides, then the digits.
    int magnitudes =
        a.m_point != b.m_point ? (a.m_point < b.m_point ? -1 : 1) : a.m_digits.compare(b.m_digits);
    magnitudes = magnitudes < 0 ? -1 : magnitudes > 0 ? 1 : 0;
    return signA * magnitudes;
}

RangeProblem MakeExactRange(const TypedDecimal& min, const TypedDecimal& max, bool whole,
                            bool decimal, int decimals, ExactRange& range)
{
    range = {};
    range.whole = whole;
    range.decimal = decimal;
    range.decimals = decimals;
    if (whole) {
        // Decimals are held in BigInt, whole numbers in 64 bits.
        std::int64_t low, high;
        if (!min.Scaled(0, true).ToInt64(low))
            return RangeProblem::MinOutOfRange;
        if (!max.Scaled(0, false).ToInt64(high))
            return RangeProblem::MaxOutOfRange;
        if (low > high)
            return RangeProblem::NoWholeNumber;
        range.wholeLow = low;
        range.wholeSpan = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
    }
    if (decimal) {
        range.decimalLow = min.Scaled(decimals, true);
        range.decimalCount =
            max.Scaled(decimals, false) - range.decimalLow + BigInt::FromUnsigned(1);
        if (Compare(range.decimalCount, BigInt()) <= 0)
            return RangeProblem::NoDecimal;
    }
    return RangeProblem::None;
}

// The runtime's number formatters: decimal comma, "." between groups of three digits,
// fields filled on the left to a width, and a fixed number of truncated decimals.
#include "vxtools.h"

#include "app/graphemes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

// Fields and decimals beyond this many characters are clipped to it; the runtime's own
// repeat limit, and far more than any output line needs.
static constexpr int64_t maximumField = 32767;

// Inserts "." before every group of three digits counted from the right.
static std::string groupDigits(const std::string& digits)
{
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        size_t remaining = digits.size() - i;
        if (remaining % 3 == 0 && !grouped.empty()) grouped.push_back('.');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

// Puts copies of the fill character before `field` (sign, digits and dots: one byte per
// character) until it has `width` characters. A negative fill leaves the field as it is.
static std::string fillField(const std::string& field, int64_t fill, int64_t width)
{
    auto length = static_cast<int64_t>(field.size());
    int64_t target = std::min(width, maximumField);
    if (fill < 0 || length >= target) return field;
    std::string one;
    appendScalar(one, fill);
    std::string result;
    result.reserve(one.size() * static_cast<size_t>(target - length) + field.size());
    for (int64_t i = length; i < target; ++i) result += one;
    return result + field;
}

std::string formatinteger(int64_t value, int64_t fill, int64_t width, bool grouping)
{
    const std::string s = std::to_string(value);
    // Made, not assigned: GCC 12 at -O3 takes assigning a literal to a short string for an
    // overlapping copy (-Wrestrict, a false positive).
    const bool negative = s.size() >= 2 && s[0] == '-';
    const std::string sign = negative ? "-" : "";
    std::string digits = negative ? s.substr(1) : s;
    if (grouping) digits = groupDigits(digits);
    return fillField(sign + digits, fill, width);
}

// The shortest round-trip digits of a finite value in plain or exponent notation, with
// "." as decimal point.
static std::string shortestText(double value)
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific);
    std::string_view text(buffer, static_cast<size_t>(end - buffer));
    std::string sign;
    if (!text.empty() && text.front() == '-') {
        sign = "-";
        text.remove_prefix(1);
    }
    size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e)) {
        if (c != '.') digits.push_back(c);
    }
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    if (exponent < -4 || exponent >= 16) {
        std::string mantissa = digits.substr(0, 1);
        if (digits.size() > 1) mantissa += "." + digits.substr(1);
        std::string power = std::to_string(std::abs(exponent));
        if (power.size() < 2) power = "0" + power;
        return sign + mantissa + "e" + (exponent < 0 ? "-" : "+") + power;
    }
    if (exponent < 0) {
        return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    auto integerLength = static_cast<size_t>(exponent) + 1;
    if (digits.size() < integerLength) digits.append(integerLength - digits.size(), '0');
    std::string fraction = digits.substr(integerLength);
    return sign + digits.substr(0, integerLength) + "." + (fraction.empty() ? "0" : fraction);
}

std::string realtostring(double value)
{
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    std::string s = shortestText(value);
    for (char& c : s) {
        if (c == '.') c = ',';
    }
    if (s.size() >= 3 && s.ends_with(",0")) s.resize(s.size() - 2);
    return s;
}

// The exponent after "e": one leading "+" dropped, blanks skipped, an optional "-" with
// blanks after it, then decimal digits up to the first other character.
static int64_t parseExponent(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (negative) {
        ++i;
        while (i < text.size() && text[i] == ' ') ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 100000000) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

// Moves the decimal comma of integer,fraction by `exponent` places.
static void shiftComma(std::string& integer, std::string& fraction, int64_t exponent)
{
    if (exponent < 0) {
        fraction = std::string(static_cast<size_t>(-exponent - 1), '0') + integer + fraction;
        integer = std::string(1, '0');  // not a literal assigned: see formatinteger
    } else if (exponent > 0) {
        std::string all = integer + fraction;
        auto integerLength = static_cast<size_t>(exponent) + 1;
        if (all.size() >= integerLength) {
            integer = all.substr(0, integerLength);
            fraction = all.substr(integerLength);
        } else {
            integer = all + std::string(integerLength - all.size(), '0');
            fraction.clear();
        }
    }
}

// The first |decimals| fraction digits, padded with zeros; trailing zeros dropped when
// decimals is negative.
static std::string fractionDigits(const std::string& fraction, int64_t decimals)
{
    int64_t count = decimals < 0 ? (decimals < -maximumField ? maximumField : -decimals)
                                 : std::min(decimals, maximumField);
    std::string kept = fraction.substr(0, static_cast<size_t>(count));
    kept.append(static_cast<size_t>(count) - kept.size(), '0');
    if (decimals < 0) {
        while (!kept.empty() && kept.back() == '0') kept.pop_back();
    }
    return kept;
}

std::string formatreal(int64_t fill, int64_t width, int64_t decimals, bool grouping, double value)
{
    std::string s = realtostring(value);
    // Non-numeric results ("nan", "inf", "-inf") pass through unchanged. Testing only the
    // first character would let "-inf" through to the digit handling and mangle it, so
    // one leading "-" is skipped first.
    size_t lead = (s.size() > 1 && s[0] == '-') ? 1 : 0;
    if (s.empty() || static_cast<unsigned char>(s[lead]) >= 64) return s;

    size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    int64_t exponent = e == std::string::npos ? 0 : parseExponent(std::string_view(s).substr(e + 1));
    std::string sign;
    if (!mantissa.empty() && mantissa[0] == '-') {
        sign = "-";
        mantissa.erase(0, 1);
    }
    size_t comma = mantissa.find(',');
    std::string integer = mantissa.substr(0, comma);
    std::string fraction = comma == std::string::npos ? "" : mantissa.substr(comma + 1);
    shiftComma(integer, fraction, exponent);
    if (grouping) integer = groupDigits(integer);

    std::string result = fillField(sign + integer, fill, width);
    std::string decimalsText = fractionDigits(fraction, decimals);
    if (!decimalsText.empty()) result += "," + decimalsText;
    return result;
}

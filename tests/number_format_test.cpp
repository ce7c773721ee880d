#include "vxtools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace {

constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();

TEST(FormatInteger, GroupsFillsAndNeverCuts)
{
    EXPECT_EQ(formatinteger(1234, 32, 5, true), "1.234");
    EXPECT_EQ(formatinteger(4, 32, 2, true), " 4");
    EXPECT_EQ(formatinteger(-1234567, 32, 12, true), "  -1.234.567");
    EXPECT_EQ(formatinteger(-5, 32, 4, false), "  -5");
    EXPECT_EQ(formatinteger(5, 48, 3, false), "005");
    EXPECT_EQ(formatinteger(0, 32, 1, true), "0");
    EXPECT_EQ(formatinteger(123456, 32, 2, false), "123456");
    EXPECT_EQ(formatinteger(123456, 32, 2, true), "123.456");
    EXPECT_EQ(formatinteger(minInt, 32, minInt, true), "-9.223.372.036.854.775.808");
}

TEST(FormatInteger, FillCharacterRules)
{
    EXPECT_EQ(formatinteger(42, -1, 6, false), "42");
    EXPECT_EQ(formatinteger(7, 0x2022, 3, false), "\u2022\u20227");  // width counts characters
    EXPECT_EQ(formatinteger(7, 0x1F600, 2, false), "\U0001F6007");
    EXPECT_EQ(formatinteger(7, 0xD800, 3, false), std::string("\0\0" "7", 3));
    EXPECT_EQ(formatinteger(7, 0x110000, 2, false), std::string("\0" "7", 2));
    EXPECT_EQ(formatinteger(7, maxInt, 2, false), std::string("\0" "7", 2));
    EXPECT_FALSE(formatinteger(7, 32, maxInt, false).empty());  // clipped, no crash
}

TEST(RealToString, ShortestTextWithDecimalComma)
{
    const std::pair<double, const char*> cases[] = {
        {1.0, "1"}, {2.5, "2,5"}, {100.0, "100"}, {-0.0, "-0"}, {0.0, "0"}, {0.1, "0,1"},
        {0.0001, "0,0001"}, {0.00001, "1e-05"}, {1.5e20, "1,5e+20"}, {1e15, "1000000000000000"},
        {1e16, "1e+16"}, {12345678901234568.0, "1,2345678901234568e+16"}, {5e-324, "5e-324"},
        {-2.5e-7, "-2,5e-07"}, {1.7976931348623157e308, "1,7976931348623157e+308"},
        {std::nan(""), "nan"}, {-std::nan(""), "nan"},
        {std::numeric_limits<double>::infinity(), "inf"}, {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(realtostring(value), text) << value;
}

TEST(FormatReal, DescribedExamples)
{
    EXPECT_EQ(formatreal(32, 3, 2, true, 5.67), "  5,67");
    EXPECT_EQ(formatreal(32, 3, 2, true, 123.4), "123,40");
    EXPECT_EQ(formatreal(32, 3, 2, true, 1234567.891), "1.234.567,89");
    EXPECT_EQ(formatreal(32, 1, 2, false, 2.999), "2,99");
    EXPECT_EQ(formatreal(32, 1, 0, false, 2.999), "2");
    EXPECT_EQ(formatreal(32, 1, -3, false, 12.5), "12,5");
    EXPECT_EQ(formatreal(32, 1, -3, false, 12.0), "12");
    EXPECT_EQ(formatreal(32, 1, 6, false, 0.00001), "0,000010");
    EXPECT_EQ(formatreal(32, 1, 0, true, 1.5e20), "150.000.000.000.000.000.000");
    EXPECT_EQ(formatreal(32, 1, 0, true, 12345678901234568.0), "12.345.678.901.234.568");
    EXPECT_EQ(formatreal(32, 8, 2, true, -1234.5), "  -1.234,50");
    EXPECT_EQ(formatreal(48, 5, 6, false, -0.00001), "000-0,000010");  // fill goes before the sign
    EXPECT_EQ(formatreal(32, 1, 2, false, -0.0), "-0,00");
}

TEST(FormatReal, NonNumbersPassThroughAndExtremeArgumentsAreSafe)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double value : {std::nan(""), inf, -inf}) {
        EXPECT_EQ(formatreal(48, 12, 3, true, value), realtostring(value));
    }
    EXPECT_EQ(formatreal(32, minInt, 2, true, 1.5), "1,50");
    EXPECT_EQ(formatreal(32, 1, minInt, true, 1.5), "1,5");
    EXPECT_EQ(formatreal(32, 1, maxInt, true, 1.5).substr(0, 6), "1,5000");
    EXPECT_EQ(formatreal(0xDFFF, 3, 0, true, 1.0), std::string("\0\0" "1", 3));
}

// The shortest digits and decimal exponent of a finite nonzero value, found by asking
// printf for more and more digits until the text reads back as the same double.
void shortestDigits(double value, std::string& digits, int& exponent)
{
    char buffer[64];
    for (int precision = 0; precision < 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, std::fabs(value));
        if (std::strtod(buffer, nullptr) == std::fabs(value)) break;
    }
    std::string text = buffer;
    size_t e = text.find('e');
    exponent = std::atoi(text.c_str() + e + 1);
    for (char c : text.substr(0, e)) {
        if (c != '.') digits += c;
    }
}

double randomDouble(std::mt19937_64& random)
{
    if (random() % 4 == 0) {  // any finite bit pattern
        for (;;) {
            uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value)) return value;
        }
    }
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    double value = mantissa(random) * std::pow(10.0, static_cast<int>(random() % 61) - 30);
    return random() % 2 ? -value : value;
}

// The digits of a number text without sign, comma, leading and trailing zeros.
std::string significantDigits(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9' && (c != '0' || !digits.empty())) digits += c;
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return digits;
}

TEST(RealToString, RandomValuesReadBackWithShortestDigits)
{
    std::mt19937_64 random(20240611);
    for (int n = 0; n < 20000; ++n) {
        double value = randomDouble(random);
        std::string text = realtostring(value);
        std::string dotted = text;
        for (char& c : dotted) c = c == ',' ? '.' : c;
        double back = std::strtod(dotted.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
        if (value == 0) continue;
        std::string digits;
        int exponent = 0;
        shortestDigits(value, digits, exponent);
        EXPECT_EQ(significantDigits(text.substr(0, text.find('e'))), significantDigits(digits)) << text;
        EXPECT_EQ(text.find('e') != std::string::npos, exponent < -4 || exponent >= 16) << text;
    }
}

// Expected formatreal text, from the digits at each decimal place of the shortest value.
std::string truncatedText(double value, int decimals)
{
    std::string digits;
    int exponent = 0;
    shortestDigits(value, digits, exponent);
    auto digitAt = [&](int place) {
        int index = exponent - place;
        return index >= 0 && index < int(digits.size()) ? digits[size_t(index)] : '0';
    };
    std::string integer;
    for (int place = std::max(exponent, 0); place >= 0; --place) integer += digitAt(place);
    std::string grouped;
    for (size_t i = 0; i < integer.size(); ++i) {
        grouped = integer[integer.size() - 1 - i] + grouped;
        if (i % 3 == 2 && i + 1 < integer.size()) grouped = "." + grouped;
    }
    std::string fraction;
    for (int place = -1; place >= -decimals; --place) fraction += digitAt(place);
    return (std::signbit(value) ? "-" : "") + grouped + "," + fraction;
}

TEST(FormatReal, RandomValuesAreTruncatedNotRounded)
{
    std::mt19937_64 random(77);
    for (int n = 0; n < 20000; ++n) {
        double value = randomDouble(random);
        if (std::fabs(value) < 1e-30 || std::fabs(value) > 1e30) continue;
        int decimals = 2 + int(random() % 5);
        std::string text = formatreal(32, 1, decimals, true, value);
        ASSERT_EQ(text, truncatedText(value, decimals)) << realtostring(value);
        std::string plain;
        for (char c : text) {
            if (c != '.') plain += c == ',' ? '.' : c;
        }
        long double gap = std::fabs((long double)value) - std::fabs(std::strtold(plain.c_str(), nullptr));
        long double slack = 1e-15L * std::max(1.0L, std::fabs((long double)value));
        EXPECT_GE(gap, -slack) << text;
        EXPECT_LT(gap, std::pow(10.0L, -decimals) + slack) << text;
    }
}

}  // namespace

// The number formatters and the 1-based text routines with any numbers and any text.
#include "vxtools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

namespace {

// Mostly small numbers, where the routines' cases lie, and now and then any Int.
int64_t number(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int64_t>(-40, 40) : input.ConsumeIntegral<int64_t>();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    initvxtools();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(256);
    const std::string pattern = input.ConsumeRandomLengthString(16);
    const int64_t a = number(input), b = number(input), c = number(input);
    const bool grouping = input.ConsumeBool();

    (void)formatinteger(a, b, c, grouping);
    (void)formatreal(a, b, c, grouping, input.ConsumeFloatingPoint<double>());
    (void)formatreal(a, b, c, grouping, input.ConsumeProbability<double>() * 1e-300);
    const int64_t found = instring(text, pattern, a);
    if (found != 0 && (found < std::max<int64_t>(a, 1) || found > textlength(text))) __builtin_trap();
    const std::string part = midstring(text, a, b);
    if (textlength(part) > std::max<int64_t>(b, 0)) __builtin_trap();
    (void)midfrom(text, a);
    if (textlength(charat(text, b)) > 1) __builtin_trap();
    (void)firstcode(text);
    const std::string line = justify(text, pattern, c);
    if (c >= 1 && c <= 32767 && textlength(line) > c && textlength(text) + textlength(pattern) <= c) __builtin_trap();
    (void)repeatstring(pattern, c);
    (void)spaces(a);
    if (bytestostring(stringtobytes(text)).empty() != text.empty()) __builtin_trap();
    (void)hexstring(static_cast<uint32_t>(a));
    return 0;
}

// The result document for --result: its strings, its shape and the machine's description.
#include "app/result_file.h"

#include <gtest/gtest.h>

TEST(ResultFile, StringsAreEscapedAndAlwaysValidUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Intel(R) Xeon(R) CPU @ 2.20GHz", "\"Intel(R) Xeon(R) CPU @ 2.20GHz\""},
        {"say \"hi\" \\ back", "\"say \\\"hi\\\" \\\\ back\""},
        {"tab\tline\nreturn\r\b\f", "\"tab\\tline\\nreturn\\r\\b\\f\""},
        {std::string("nul\0esc\x1b del\x7f", 13), "\"nul\\u0000esc\\u001b del\x7f\""},
        {"Größe ✓ 𝄞", "\"Größe ✓ 𝄞\""},
        // Stray continuation, cut sequence at the end, overlong "/", a surrogate, above U+10FFFF.
        {"a\x80z\xe2\x9c", "\"a\\ufffdz\\ufffd\\ufffd\""},
        {"\xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80", "\"\\ufffd\\ufffd \\ufffd\\ufffd\\ufffd \\ufffd\\ufffd\\ufffd\\ufffd\""},
        {"", "\"\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(jsonstring(text), json) << text;
}

TEST(ResultFile, DocumentHoldsTheMachineTheAnswerAndEveryPass)
{
    RunResult result;
    result.version = "0.1.0";
    result.time = utctime(1796688000);  // 2026-12-08 00:00:00 UTC
    result.cpus = 2;
    result.kernel = "Linux 6.1.0";
    result.threads = 2;
    result.speed = 1.25;
    result.passes = {{1, 1600000, true}, {4, 790000, false}, {4, 0, false}};
    EXPECT_EQ(resultdocument(result), R"({
  "version": "0.1.0",
  "time": "2026-12-08T00:00:00Z",
  "cpus": 2,
  "model": null,
  "kernel": "Linux 6.1.0",
  "threads": 2,
  "gflops": 1.25,
  "passes": [
    {"threads": 1, "microseconds": 1600000, "gflops": 0.625, "faster": true},
    {"threads": 4, "microseconds": 790000, "gflops": 1.2658227848101267, "faster": false},
    {"threads": 4, "microseconds": 0, "gflops": null, "faster": false}
  ]
}
)");
    result.passes.clear();
    result.model = "A";
    EXPECT_NE(resultdocument(result).find("  \"model\": \"A\",\n  \"kernel\""), std::string::npos);
}

TEST(ResultFile, ProcessorModelIsTheFirstModelNameLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"processor\t: 0\nmodel\t\t: 85\nmodel name\t: AMD EPYC 7B13  \nmodel name\t: other\n", "AMD EPYC 7B13"},
        {"processor\t: 0\nBogoMIPS\t: 50.00\nCPU part\t: 0xd0c\n", ""},
        {"model name\t:\n", ""},
        {"", ""},
    };
    for (const auto& [cpuinfo, model] : cases) EXPECT_EQ(processormodel(cpuinfo), model) << cpuinfo;
}

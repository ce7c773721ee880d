#include "app/result_file.h"

#include "platform/log.h"
#include "platform/worker_pool.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>
#include <utility>

namespace {

std::FILE* resultFile = nullptr;  // opened on the main thread before the program thread starts
std::atomic<bool> resultAsked = false;
std::atomic<bool> resultWritten = false;

// The length of the valid UTF-8 sequence that starts at `at`, or 0 when there is none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
size_t utf8length(const std::string& text, size_t at)
{
    const auto byte = [&text](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const unsigned next = byte(at + i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

std::string escaped(unsigned char c)
{
    switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
    }
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    return code;
}

// A JSON number in the shortest form that reads back the same, whatever the locale; JSON has
// no infinity and no NaN, so they are null.
std::string jsonnumber(double value)
{
    if (!std::isfinite(value)) return "null";
    char digits[32];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    return error == std::errc() ? std::string(digits, end) : "null";
}

std::string passline(const RampPass& pass)
{
    const double speed = pass.elapsed > 0 ? passspeed(pass.elapsed) : NAN;
    return "{\"threads\": " + std::to_string(pass.threads) + ", \"microseconds\": " + std::to_string(pass.elapsed) +
           ", \"gflops\": " + jsonnumber(speed) + ", \"faster\": " + (pass.faster ? "true" : "false") + "}";
}

std::string readfile(const char* path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

std::string jsonstring(const std::string& text)
{
    std::string json = "\"";
    for (size_t at = 0; at < text.size();) {
        const size_t length = utf8length(text, at);
        const auto c = static_cast<unsigned char>(text[at]);
        if (length == 0)
            json += "\\ufffd";
        else if (c < 0x20 || c == '"' || c == '\\')
            json += escaped(c);
        else
            json.append(text, at, length);
        at += length == 0 ? 1 : length;
    }
    return json + "\"";
}

std::string resultdocument(const RunResult& result)
{
    std::string document = "{\n";
    document += "  \"version\": " + jsonstring(result.version) + ",\n";
    document += "  \"time\": " + jsonstring(result.time) + ",\n";
    document += "  \"cpus\": " + std::to_string(result.cpus) + ",\n";
    document += "  \"model\": " + (result.model.empty() ? std::string("null") : jsonstring(result.model)) + ",\n";
    document += "  \"kernel\": " + jsonstring(result.kernel) + ",\n";
    document += "  \"threads\": " + std::to_string(result.threads) + ",\n";
    document += "  \"gflops\": " + jsonnumber(result.speed) + ",\n";
    document += "  \"passes\": [";
    for (size_t i = 0; i < result.passes.size(); ++i)
        document += (i == 0 ? "\n    " : ",\n    ") + passline(result.passes[i]);
    document += result.passes.empty() ? "]\n" : "\n  ]\n";
    return document + "}\n";
}

std::string utctime(std::time_t moment)
{
    std::tm parts{};
    char text[32] = "";
    if (gmtime_r(&moment, &parts) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string processormodel(const std::string& cpuinfo)
{
    std::istringstream lines(cpuinfo);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(':');
        if (line.rfind("model name", 0) != 0 || colon == std::string::npos) continue;
        const size_t first = line.find_first_not_of(" \t", colon + 1);
        const size_t last = line.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : line.substr(first, last + 1 - first);
    }
    return {};
}

void describemachine(RunResult& result)
{
    result.cpus = static_cast<int64_t>(processcpucount());
    result.model = processormodel(readfile("/proc/cpuinfo"));
    utsname system{};
    if (uname(&system) == 0) result.kernel = std::string(system.sysname) + " " + system.release;
}

bool openresult(const std::string& path)
{
    int descriptor = -1;
    if (path == "-") {
        // The document keeps standard output; whatever else is written there from now on, the
        // log lines among it, goes to standard error.
        descriptor = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        if (descriptor >= 0) ::dup2(STDERR_FILENO, STDOUT_FILENO);
    } else {
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    resultFile = descriptor >= 0 ? ::fdopen(descriptor, "w") : nullptr;
    if (resultFile == nullptr) {
        logline("openresult: The result file " + path + " cannot be written: " + std::strerror(errno) + ".");
        if (descriptor >= 0) ::close(descriptor);
        return false;
    }
    resultAsked = true;
    return true;
}

void writeresult(const RunResult& result)
{
    std::FILE* file = std::exchange(resultFile, nullptr);
    if (file == nullptr) return;
    const std::string document = resultdocument(result);
    const bool written = std::fwrite(document.data(), 1, document.size(), file) == document.size();
    if (std::fclose(file) == 0 && written)
        resultWritten = true;
    else
        logline(std::string("writeresult: The result could not be written: ") + std::strerror(errno) + ".");
}

bool resultpending()
{
    return resultAsked && !resultWritten;
}

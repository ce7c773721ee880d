// Calvotrimex's result for scripts and fleets of machines: one JSON document with the
// machine, the answer and every measured pass, written where --result FILE says.
#pragma once

#include "app/benchmark.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct RunResult {
    std::string version;
    std::string time;    // when the measurement began, UTC, ISO 8601
    int64_t cpus = 0;    // in the process's affinity mask
    std::string model;   // the processor's model name; empty when the system does not tell
    std::string kernel;  // system name and release
    int64_t threads = 0;
    double speed = 0.0;  // GFLOPs
    std::vector<RampPass> passes;
};

// `text` as a JSON string: quoted, with quotes, backslashes and control characters escaped,
// and every byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string jsonstring(const std::string& text);
// The whole document, ending with a line feed.
std::string resultdocument(const RunResult& result);
// `moment` as "YYYY-MM-DDThh:mm:ssZ".
std::string utctime(std::time_t moment);
// The first "model name" of a /proc/cpuinfo text; empty when there is none.
std::string processormodel(const std::string& cpuinfo);
// The machine as the document describes it: CPUs, model name and kernel of this system.
void describemachine(RunResult& result);

// Opens the result file when the program starts, so that a path that cannot be written is
// told at once; "-" is standard output, and the log lines then go to standard error.
// Logs one line and returns false when the file cannot be opened.
bool openresult(const std::string& path);
// Writes the document to the opened result file and closes it; nothing without one.
void writeresult(const RunResult& result);
// Whether a result file was asked for and has not been written.
bool resultpending();

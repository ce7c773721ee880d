#include "app/program.h"
#include "app/result_file.h"
#include "platform/log.h"
#include "vxtools.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* programOptions =
    "  --result FILE          write the result as JSON to FILE once measured; with - to\n"
    "                         standard output, and the log lines to standard error\n";

// Whether the run only shows its help or version and measures nothing.
bool onlyTells(const std::vector<char*>& arguments)
{
    return std::any_of(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end(), [](const char* argument) {
        return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
               std::strcmp(argument, "--version") == 0;
    });
}

// A run that was asked for a result and ends without one fails, whichever way it ends.
void failWithoutResult()
{
    if (!resultpending()) return;
    logline("calvotrimex: No result was written.");
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv)
{
    describeprogram("Calvotrimex", CALVOTRIMEX_VERSION, programOptions);
    std::vector<char*> arguments;
    std::optional<std::string> result;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--result") == 0)
            result = i + 1 < argc ? argv[++i] : "";
        else if (i > 0 && std::strncmp(argv[i], "--result=", 9) == 0)
            result = argv[i] + 9;
        else
            arguments.push_back(argv[i]);
    }
    if (result && result->empty()) {
        logline("calvotrimex: --result needs a file name, or - for standard output.");
        return 1;
    }
    if (result && !onlyTells(arguments) && !openresult(*result)) return 1;
    terminationHandler = failWithoutResult;
    arguments.push_back(nullptr);
    const int status = runprogram(static_cast<int>(arguments.size()) - 1, arguments.data(), calvotrimexprogram);
    failWithoutResult();
    return status;
}

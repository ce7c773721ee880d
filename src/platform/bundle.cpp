#include "platform/bundle.h"

#include <filesystem>
#include <mutex>

namespace {

std::mutex bundleLock;
std::string bundleFolder;

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string runningExecutable()
{
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.string();
}

}  // namespace

std::string bundleofexecutable(const std::string& executable)
{
    std::filesystem::path path(executable);
    return path.parent_path().parent_path().parent_path().string();
}

void setbundlepath(const std::string& path)
{
    std::string folder = path.empty() ? bundleofexecutable(runningExecutable()) : path;
    std::lock_guard<std::mutex> guard(bundleLock);
    bundleFolder = withoutTrailingSlashes(folder);
}

std::string bundlepath()
{
    {
        std::lock_guard<std::mutex> guard(bundleLock);
        if (!bundleFolder.empty()) return bundleFolder;
    }
    setbundlepath({});
    std::lock_guard<std::mutex> guard(bundleLock);
    return bundleFolder;
}

std::string resourcespath()
{
    return bundlepath() + "/Contents/Resources/";
}

std::string bundlename()
{
    std::string name = std::filesystem::path(bundlepath()).filename().string();
    const std::string suffix = ".app";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    return name;
}

std::string bundleicon()
{
    for (const char* name : {"AppIcon.svg", "calvotrimex.svg"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(resourcespath() + name, error)) return resourcespath() + name;
    }
    return "";
}

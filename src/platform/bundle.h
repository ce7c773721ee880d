// The application bundle: the folder NAME.app whose Contents/Resources/ holds the interface
// file, the fonts and the sound; the executable is Contents/bin/<program>.
#pragma once

#include <string>

// Uses `path` as the bundle folder; an empty path means the bundle of the running executable.
void setbundlepath(const std::string& path);
// The bundle folder, without a trailing "/".
std::string bundlepath();
// The bundle's resources folder, with a trailing "/".
std::string resourcespath();
// The bundle's name: the folder's last component without ".app" ("Calvotrimex").
std::string bundlename();
// The bundle folder that holds `executable` (.../NAME.app/Contents/bin/program).
std::string bundleofexecutable(const std::string& executable);
// The program's icon in the bundle: its own AppIcon.svg, else the runtime's calvotrimex.svg;
// "" when the bundle has neither.
std::string bundleicon();

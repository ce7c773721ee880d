// The open and save dialogs, modal and labelled in German. Both run on the GUI thread and
// give the chosen file or folder as URL text (percent-encoded, a folder with a trailing "/"),
// or "" when the user cancels or there is no GUI application.
#pragma once

#include <string>

// The open dialog: one file or folder, as chooseFiles and chooseDirectories allow.
// fileTypes is a "," separated list of file name extensions; "" allows every file.
std::string runopendialog(const std::string& title, const std::string& message, const std::string& fileTypes,
                          bool chooseFiles, bool chooseDirectories);

// The save dialog, proposing `fileName`. It offers the types of fileTypes first, and any
// other type as well.
std::string runsavedialog(const std::string& fileName, const std::string& title, const std::string& message,
                          const std::string& fileTypes);

// The dialogs' name filter for a "," separated list of extensions, split at every ","
// without trimming: "txt,md" gives "*.txt *.md"; "" gives "" (every file).
std::string filetypefilter(const std::string& fileTypes);

// The open and save panels: the user chooses a file or a folder and gets its path back.
#pragma once

#include <string>

// The path of the file or folder the user chose in the open panel, "" when cancelled.
// The prompt is "Wählen" when folders may be chosen, else "Öffnen"; fileTypes is a ","
// separated list of extensions, "" for every file. Any thread may call it; it returns when
// the panel has closed.
std::string t_OpenPanel(const std::string& title, const std::string& message, const std::string& fileTypes,
                        bool chooseFiles, bool chooseDirectories);

// The path the user chose in the save panel (proposing `fileName`), "" when cancelled. Any
// thread may call it; it returns when the panel has closed.
std::string t_SavePanel(const std::string& fileName, const std::string& title, const std::string& message,
                        const std::string& fileTypes);

// The path in a panel's URL text: percent encoding removed, in canonical precomposed form
// (NFC), without a leading "file://". A folder's URL keeps its trailing "/".
std::string panelpath(const std::string& urlText);

#pragma once
// Folders of the system: where the program keeps its profile files, and the two folder routines the
// application needs.

#include <string>
#include <vector>

// The folder that holds the program's profile files, without a trailing "/": $WINDIR when it is set
// and not empty, else $XDG_CONFIG_HOME/markedit, else $HOME/.config/markedit.
std::string WindowsFolder();

// The folders where an administrator configures the program for every user of the machine, most
// important first, without trailing "/": each folder of $XDG_CONFIG_DIRS (else /etc/xdg) with
// "/markedit" added. Relative entries are left out, as the XDG rules ask.
std::vector<std::string> SystemConfigFolders();

// True when the path names an existing folder (or a link to one).
bool DirectoryExists(const std::string& path);

// Creates one folder; its parent must exist already. False when the folder could not be made,
// including when it exists already.
bool CreateDir(const std::string& path);

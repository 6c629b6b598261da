#pragma once
// The data a new user needs to run the editor at once, made at start-up where it is missing:
//
// - win.ini in the Windows folder, naming the data folder (section [tavrix], key datapath);
// - the alias dbmd in dbalias.ini, naming an SQLite file in the data folder;
// - that SQLite file, holding the mark table md, the shipment view VMD over its three base tables
//   and a little demo shipment data.
//
// Nothing that exists is changed: a win.ini without a datapath and a dbmd alias the user configured
// are the user's choice and stay as they are, and an existing database file is never touched.

#include <string>

// The data folder a new user gets: $XDG_DATA_HOME/markedit, else $HOME/.local/share/markedit.
std::string DefaultDataFolder();

// The SQLite file the default alias names, inside the data folder.
inline constexpr const char* kDefaultDatabaseFile = "marks.db";

// Makes what is missing. Stops at the first step that fails and returns false, with `error` (when
// given) naming the file or folder and the reason; what was made before stays. Never throws. The
// application object must exist, since it loads the SQL driver.
bool PrepareDefaultData(std::string* error);

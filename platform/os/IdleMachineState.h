#pragma once

namespace platform {

// Removes from the machine root what only running programs need, once none of ours runs (the
// uninstaller's last step): the run folder's lock, instance and shared-memory files that no
// process holds, an odbc.ini that names no data source, and the folders the programs made that
// are now empty (the run folder, the ODBC folder, and the special folders inside the machine
// root with the folders made to hold them). A file a process holds, an odbc.ini with any other
// line and a folder with anything in it stay.
void RemoveIdleMachineState();

}  // namespace platform

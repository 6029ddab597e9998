#pragma once
// What every job may read about the run: set once at start-up.
#include <string>

namespace orbin {

struct ProgramContext {
  std::string start_dir;             // working directory at start-up, ending in "\"
  std::string argument_text;         // the command line after the program's path
  std::string executable_base_name;  // e.g. "orbin" or "chg2eng"

  std::string SettingsPath() const { return start_dir + "VexaSys.ini"; }
};

}  // namespace orbin

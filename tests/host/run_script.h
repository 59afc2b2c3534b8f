// Runs a scenario text through the host's runner in process, without any
// module folder, and hands back its exit status and output.
#pragma once

#include <sstream>
#include <string>

#include "host/scenario.h"

namespace host::script {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome run(const std::string& text) {
  std::ostringstream out, err;
  RunOptions opt;
  opt.modules_dir = "/nonexistent";
  opt.out = &out;
  opt.err = &err;
  Runner r(opt);
  const int status = r.run_text(text, "t.gh", ".");
  return Outcome{status, out.str(), err.str()};
}

}  // namespace host::script

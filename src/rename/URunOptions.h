// What a run is told when it starts: the starting directory, the mask and the options
// of the main window. A run takes them once, so changing a control mid-run has no effect.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

enum class TSortOrder { NameAsc, NameDesc, DateAsc, DateDesc, ListingOrder };

struct TRunOptions {
  std::string startDirectory;
  std::string fileMask = "*.*";
  bool simulate = false;
  bool recurseDirs = false;
  bool renameDirs = false;
  bool resetCounter = false;
  bool confirm = false;
  bool undo = false;
  bool log = false;
  bool sort = true;
  TSortOrder sortOrder = TSortOrder::NameAsc;
  std::int32_t counterStart = 0;
};

}  // namespace qx

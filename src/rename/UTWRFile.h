// One directory entry collected by a run: its name, the name it carries after its
// rename step (directories of a real run only), and its date.
#pragma once

#include <string>

namespace qx {

class TWRFile {
 public:
  TWRFile(std::string name, double date) : Name(std::move(name)), Date(date) {}

  // The log's text for the entry: the name, a blank and "dd/mm/yyyy hh:nn".
  std::string Description() const;

  std::string Name;
  std::string NewName;
  double Date;  // days since 30 December 1899, local time, even seconds
};

}  // namespace qx

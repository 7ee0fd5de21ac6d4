#include "rename/UTWRFile.h"

#include "platform/UDateTime.h"

namespace qx {

std::string TWRFile::Description() const { return Name + " " + FormatEntryDate(Date); }

}  // namespace qx

// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the photo date reader: one input is one file of a folder, read
// as a rename by date taken reads it. The reader takes a folder and an entry's name, so
// each input is written to a file in a folder of this process.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "metadata/UPhotoDate.h"
#include "platform/UDirectory.h"
#include "platform/UFiles.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The folder of the input file: in memory, so a long run does not wear a disk, and
// removed when the run ends.
std::string gWorkDir;

bool IsValid(const qx::TLocalDateTime& date) {
  return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= 31 && date.hour >= 0 && date.hour <= 23 && date.minute >= 0 && date.minute <= 59 &&
         date.second >= 0 && date.second <= 59;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gWorkDir = "/dev/shm/quillex-photodate-fuzz-" + std::to_string(getpid()) + "/";
  std::filesystem::create_directories(gWorkDir);
  std::atexit([] { std::filesystem::remove_all(gWorkDir); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const qx::TDirectory folder = qx::TDirectory::Open(gWorkDir);
  qx::ReplaceFileAtomically(gWorkDir + "photo", std::string_view(reinterpret_cast<const char*>(data), size));
  // A date or a reason, never both or neither; a date is one a calendar has.
  const qx::TPhotoDate photo = qx::ReadPhotoDate(folder.Handle(), "photo");
  Check(photo.taken.has_value() == photo.whyNone.empty());
  Check(!photo.taken || IsValid(*photo.taken));
  return 0;
}

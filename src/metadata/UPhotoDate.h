// SPDX-License-Identifier: GPL-3.0-or-later
// The date a photo was taken, read from the Exif metadata of an entry of a folder with
// libexiv2. Not a metadata editor: it reads three date fields and nothing else.
#pragma once

#include <optional>
#include <string>

#include "platform/UDateTime.h"

namespace qx {

struct TPhotoDate {
  std::optional<TLocalDateTime> taken;
  // Why there is no date, as one clause a log line can carry: "no date in its metadata",
  // "malformed date \"0000:00:00 00:00:00\"", "cannot read its metadata: <libexiv2's
  // text>", "not an image Quillex reads", "a video; only photos are read", "not a regular
  // file", "a symbolic link", or the system's text for the errno. Empty with a date.
  std::string whyNone;
};

// The date the photo `name`, an entry of the folder open as `dirFd`, was taken: Exif
// DateTimeOriginal, else DateTimeDigitized, else DateTime, the first that holds a valid
// "yyyy:mm:dd hh:nn:ss". Exif dates carry no zone; they are taken as local wall-clock
// time as they stand. The entry is opened relative to the folder, a symbolic link is
// never followed and anything but a regular file is refused before it is read, so a
// FIFO or a device never blocks. Only the metadata is read, not the whole file. Never
// throws; safe to call from several threads at once.
TPhotoDate ReadPhotoDate(int dirFd, const std::string& name);

}  // namespace qx

// SPDX-License-Identifier: GPL-3.0-or-later
// What the C floors share: the renaming they all do, and an entry's type read as cheaply
// as the file system allows.
#pragma once

#include <dirent.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

// Writes the bracketed name into target; 0 when the name has no digit or is too long.
static inline int BracketFirstDigits(const char* name, char* target, size_t size) {
  const char* first = strpbrk(name, "0123456789");
  if (!first) return 0;
  const char* end = first;
  while (*end >= '0' && *end <= '9') end++;
  int length = snprintf(target, size, "%.*s[%.*s]%s", (int)(first - name), name, (int)(end - first), first, end);
  return length > 0 && (size_t)length < size;
}

// d_type saves a stat per entry; only file systems that leave it unknown pay for one.
static inline unsigned char TypeOf(int folder, const struct dirent* entry) {
  if (entry->d_type != DT_UNKNOWN) return entry->d_type;
  struct stat status;
  if (fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return DT_UNKNOWN;
  return S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_UNKNOWN;
}

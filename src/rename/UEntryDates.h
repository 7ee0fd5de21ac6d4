// SPDX-License-Identifier: GPL-3.0-or-later
// The dates a date job puts into the name of an entry of a folder: its modification
// date, and for a file the date the photo was taken, each read when first asked.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/UTJob.h"

namespace qx {

class TFolderEntryDates : public TEntryDates {
 public:
  // The entry `name` of the folder open as `dirFd`; both must outlive the dates' use.
  // Nothing is read or copied until a date is asked for: a run makes one per entry.
  TFolderEntryDates(int dirFd, std::string_view name, bool isFolder);

  // Its modification time, or why there is none: the system's reason when it cannot be
  // read, or a date outside the years a name can show.
  TDateOrReason Modified() override;
  // A folder has none; a file has none when it carries no date or cannot be read.
  std::optional<TLocalDateTime> Taken() override;
  // Why Taken() gave nothing for a file, once it was asked; empty otherwise.
  const std::string& WhyNoDateTaken() const { return m_whyNoDateTaken; }

 private:
  int m_dirFd;
  std::string_view m_name;
  bool m_isFolder;
  std::optional<TDateOrReason> m_modified;
  std::optional<std::optional<TLocalDateTime>> m_taken;
  std::string m_whyNoDateTaken;
};

// The dates of the entry at `path` (a typed or picked name) when there is one, else now.
std::unique_ptr<TEntryDates> DatesOfPath(const std::string& path);

}  // namespace qx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UEntryDates.h"

#include <utility>

#include "metadata/UPhotoDate.h"
#include "platform/UDirectory.h"
#include "platform/UFileStatus.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"

namespace qx {

TFolderEntryDates::TFolderEntryDates(int dirFd, std::string_view name, bool isFolder)
    : m_dirFd(dirFd), m_name(name), m_isFolder(isFolder) {}

TDateOrReason TFolderEntryDates::Modified() {
  if (!m_modified) {
    try {
      const auto date =
          LocalDateTime(static_cast<std::time_t>(ReadStatus(m_dirFd, std::string(m_name)).modifiedSeconds));
      m_modified = {date, date ? "" : "its modification date lies outside the years 1 to 9999"};
    } catch (const TSystemError& error) {
      m_modified = {std::nullopt, "its modification date cannot be read (" + error.Reason() + ")"};
    }
  }
  return *m_modified;
}

std::optional<TLocalDateTime> TFolderEntryDates::Taken() {
  if (m_isFolder) return std::nullopt;
  if (!m_taken) {
    TPhotoDate photo = ReadPhotoDate(m_dirFd, std::string(m_name));
    m_taken = photo.taken;
    m_whyNoDateTaken = std::move(photo.whyNone);
  }
  return *m_taken;
}

namespace {

// An entry's dates with its folder held open for them.
class TPathEntryDates : public TEntryDates {
 public:
  TPathEntryDates(TDirectory folder, std::string name, bool isFolder)
      : m_folder(std::move(folder)), m_name(std::move(name)), m_dates(m_folder.Handle(), m_name, isFolder) {}
  TDateOrReason Modified() override { return m_dates.Modified(); }
  std::optional<TLocalDateTime> Taken() override { return m_dates.Taken(); }

 private:
  TDirectory m_folder;
  std::string m_name;
  TFolderEntryDates m_dates;
};

}  // namespace

std::unique_ptr<TEntryDates> DatesOfPath(const std::string& path) {
  if (!PathExists(path)) return std::make_unique<TCurrentTime>();
  std::string folder = DirectoryOf(path);
  std::string name = path.substr(folder.size());
  while (!name.empty() && name.back() == '/') name.pop_back();
  if (name.empty() || name == "." || name == "..") return std::make_unique<TCurrentTime>();
  try {
    return std::make_unique<TPathEntryDates>(TDirectory::Open(folder.empty() ? "." : folder), std::move(name),
                                             IsDirectory(path));
  } catch (const TSystemError&) {
    return std::make_unique<TCurrentTime>();
  }
}

}  // namespace qx

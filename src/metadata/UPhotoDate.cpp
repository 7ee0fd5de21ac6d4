// SPDX-License-Identifier: GPL-3.0-or-later
#include "metadata/UPhotoDate.h"

#include <array>
#include <cerrno>
#include <exception>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <string_view>

#include "platform/UFiles.h"

namespace qx {

namespace {

const char* const kNoDate = "no date in its metadata";
const char* const kNotAnImage = "not an image Quillex reads";
const char* const kVideo = "a video; only photos are read";

// The most of a date from the file, and of libexiv2's text, that a reason quotes.
constexpr std::size_t kQuotedDateChars = 40;
constexpr std::size_t kLibraryTextChars = 160;

// The XMP namespaces a photo brings are registered in state the whole process shares;
// set up with this lock, libexiv2 registers them under it, so two readers may run at once.
std::recursive_mutex g_xmpLock;

void LockXmp(void* lock, bool lockIt) {
  auto* mutex = static_cast<std::recursive_mutex*>(lock);
  if (lockIt) {
    mutex->lock();
  } else {
    mutex->unlock();
  }
}

// Once per process, before the first read: the library's own warnings would land on the
// terminal between Quillex's lines, and setting up XMP is not safe on two threads.
void PrepareLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(&LockXmp, &g_xmpLock);
  });
}

// Text from a file or about one, fit for a log line: short, one line, plain ASCII.
std::string Printable(std::string_view text, std::size_t maxChars) {
  std::string printable(text.substr(0, maxChars));
  for (char& c : printable) {
    if (c < ' ' || c > '~') c = '?';
  }
  if (text.size() > maxChars) printable += "...";
  return printable;
}

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Exif's "yyyy:mm:dd hh:nn:ss", exactly; nothing when a field is blank, out of range or
// followed by anything.
std::optional<TLocalDateTime> ParseExifDate(std::string_view text) {
  static constexpr std::string_view kShape = "dddd:dd:dd dd:dd:dd";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool fits = kShape[i] == 'd' ? text[i] >= '0' && text[i] <= '9' : text[i] == kShape[i];
    if (!fits) return std::nullopt;
  }
  const auto field = [text](std::size_t at, std::size_t length) {
    int value = 0;
    for (const char digit : text.substr(at, length)) value = value * 10 + (digit - '0');
    return value;
  };
  const TLocalDateTime date{field(0, 4), field(5, 2), field(8, 2), field(11, 2), field(14, 2), field(17, 2)};
  const bool valid = date.year >= 1 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
                     date.day <= DaysInMonth(date.year, date.month) && date.hour <= 23 && date.minute <= 59 &&
                     date.second <= 59;
  if (!valid) return std::nullopt;
  return date;
}

// The first valid date of the three fields, in the order the header gives; a malformed
// field is passed over for the next, and named when none is valid.
TPhotoDate DateOf(const Exiv2::ExifData& exif) {
  static const std::array<Exiv2::ExifKey, 3> kKeys = {Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"),
                                                      Exiv2::ExifKey("Exif.Photo.DateTimeDigitized"),
                                                      Exiv2::ExifKey("Exif.Image.DateTime")};
  std::string firstMalformed;
  for (const Exiv2::ExifKey& key : kKeys) {
    const auto field = exif.findKey(key);
    if (field == exif.end()) continue;
    const std::string text = field->toString();
    if (const auto date = ParseExifDate(text)) return {date, ""};
    if (firstMalformed.empty()) firstMalformed = "malformed date \"" + Printable(text, kQuotedDateChars) + "\"";
  }
  return {std::nullopt, firstMalformed.empty() ? kNoDate : firstMalformed};
}

// libexiv2's texts start with the path they were given, which means nothing to the user.
std::string LibraryText(std::string text, const std::string& path) {
  const std::string prefix = path + ": ";
  for (std::size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
  return Printable(text, kLibraryTextChars);
}

bool IsVideo(const std::string& mimeType) { return mimeType.starts_with("video/"); }

TPhotoDate CannotRead(const std::exception& error, const std::string& path) {
  return {std::nullopt, "cannot read its metadata: " + LibraryText(error.what(), path)};
}

#if EXIV2_TEST_VERSION(0, 28, 0)
using TIoCount = std::size_t;
#else
using TIoCount = long;
#endif

// What a real photo's metadata takes to read: its Exif, XMP and colour profile segments,
// a few hundred KB at most. Reading stops beyond it, so a file that starts like a photo
// and then runs on for gigabytes costs what a photo does (8 MiB: a tenth of a second on a
// slow disk); where a format's metadata lies past its picture data, the library seeks.
constexpr TIoCount kMetadataReadLimit = 8 << 20;

struct TMetadataTooLarge {};

// The file as the library reads it, with what it reads counted against the limit.
class TBoundedFileIo : public Exiv2::FileIo {
 public:
  using Exiv2::FileIo::FileIo;
  Exiv2::DataBuf read(TIoCount count) override {
    Take(count);
    return Exiv2::FileIo::read(count);
  }
  TIoCount read(Exiv2::byte* data, TIoCount count) override {
    Take(count);
    return Exiv2::FileIo::read(data, count);
  }
  int getb() override {
    Take(1);
    return Exiv2::FileIo::getb();
  }

 private:
  void Take(TIoCount count) {
    if (count > kMetadataReadLimit - m_read) throw TMetadataTooLarge();
    m_read += count;
  }
  TIoCount m_read = 0;
};

// libexiv2 opens by path. The path of the open handle leads to the file that was checked
// whatever becomes of its name, and the library reads only the parts it needs from it.
TPhotoDate ReadMetadata(int fd) {
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  bool typeKnown = false;
  try {
    auto image = Exiv2::ImageFactory::open(decltype(Exiv2::ImageFactory::createIo(path))(new TBoundedFileIo(path)));
    if (!image.get()) return {std::nullopt, kNotAnImage};
    typeKnown = true;
    // Video metadata never holds Exif, and reading it may mean walking the whole file.
    if (IsVideo(image->mimeType())) return {std::nullopt, kVideo};
    image->readMetadata();
    return DateOf(image->exifData());
  } catch (const TMetadataTooLarge&) {
    return {std::nullopt, "more metadata than a photo has (over " + std::to_string(kMetadataReadLimit >> 20) + " MiB)"};
  } catch (const Exiv2::Error& error) {
    // Telling the type reads the signature of every format; a file shorter than some of
    // them (a note, an empty file) ends that search with a failed read, not a damaged photo.
    if (!typeKnown && error.code() == Exiv2::ErrorCode::kerInputDataReadFailed) return {std::nullopt, kNotAnImage};
    return CannotRead(error, path);
  } catch (const std::exception& error) {
    return CannotRead(error, path);
  }
}

}  // namespace

TPhotoDate ReadPhotoDate(int dirFd, const std::string& name) {
  PrepareLibrary();
  const TRegularFile file = OpenRegularFile(dirFd, name);
  if (!file.whyNot.empty()) return {std::nullopt, file.whyNot};
  return ReadMetadata(file.fd.Get());
}

}  // namespace qx

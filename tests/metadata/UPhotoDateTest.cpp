// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "metadata/UPhotoDate.h"
#include "platform/UDirectory.h"
#include "support/UChild.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

using TTags = std::vector<std::pair<const char*, std::string>>;
using TMake = std::function<void(const std::string& path)>;

const char* const kOriginal = "Exif.Photo.DateTimeOriginal";
const char* const kDigitized = "Exif.Photo.DateTimeDigitized";
const char* const kDateTime = "Exif.Image.DateTime";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A grey picture of one pixel, uncompressed, little-endian: the header, one directory of
// eight entries and the pixel after it.
std::string TinyTiff() {
  std::string bytes = {'I', 'I', 42, 0, 8, 0, 0, 0};
  const auto put = [&bytes](unsigned value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xff);
  };
  const unsigned entries = 8, pixelAt = 8 + 2 + entries * 12 + 4;
  put(entries, 2);
  const unsigned short kShort = 3, kLong = 4;
  const unsigned table[][3] = {{256, kShort, 1}, {257, kShort, 1},      {258, kShort, 8}, {259, kShort, 1},
                               {262, kShort, 1}, {273, kLong, pixelAt}, {278, kShort, 1}, {279, kLong, 1}};
  for (const auto& [tag, type, value] : table) {
    put(tag, 2);
    put(type, 2);
    put(1, 4);
    put(value, 4);
  }
  put(0, 4);  // no further directory
  bytes += '\x80';
  return bytes;
}

// A grey picture of one pixel, lossless.
std::string TinyWebp() {
  return std::string("RIFF\036\0\0\0WEBPVP8L\021\0\0\0\057\0\0\0\0\007\120\277\372\325\257\377\201\210\350\177\0\0",
                     38);
}

// `container` makes the empty picture, libexiv2 writes the tags into it.
TMake Photo(TMake container, TTags tags) {
  return [container, tags](const std::string& path) {
    container(path);
    if (tags.empty()) return;
    auto image = Exiv2::ImageFactory::open(path);
    Exiv2::ExifData exif;
    for (const auto& [key, value] : tags) exif[key] = value;
    image->setExifData(exif);
    image->writeMetadata();
  };
}
void BlankJpeg(const std::string& path) { Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, path); }
void BlankPng(const std::string& path) { Exiv2::ImageFactory::create(Exiv2::ImageType::png, path); }
void BlankTiff(const std::string& path) { WriteBytes(path, TinyTiff()); }
void BlankWebp(const std::string& path) { WriteBytes(path, TinyWebp()); }

TMake Jpeg(TTags tags) { return Photo(BlankJpeg, std::move(tags)); }

// What `make` writes, with an XMP packet beside its Exif, as photo software leaves it.
TMake WithXmp(TMake make) {
  return [make](const std::string& path) {
    make(path);
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    image->xmpData()["Xmp.dc.title"] = "Crete";
    image->xmpData()["Xmp.xmp.CreateDate"] = "2020-01-01T10:00:00";
    image->writeMetadata();
  };
}

// A JPEG with two dates whose Exif block is then spoiled by `spoil`, given the file
// and where the block's TIFF header begins.
TMake SpoiledJpeg(std::function<void(std::string& bytes, std::size_t exifAt)> spoil) {
  return [spoil](const std::string& path) {
    Jpeg({{kOriginal, "2024:06:03 14:22:01"}, {kDateTime, "2022:12:31 23:59:58"}})(path);
    std::string bytes = ReadBytes(path);
    const std::size_t exifAt = bytes.find(std::string("Exif\0\0", 6));
    ASSERT_NE(exifAt, std::string::npos);
    spoil(bytes, exifAt + 6);
    WriteBytes(path, bytes);
  };
}

TMake Bytes(std::string bytes) {
  return [bytes](const std::string& path) { WriteBytes(path, bytes); };
}
TMake Truncated(TMake make, std::size_t size) {
  return [make, size](const std::string& path) {
    make(path);
    WriteBytes(path, ReadBytes(path).substr(0, size));
  };
}
// A link to `target`, or to a file beside it that `make` writes.
TMake LinkTo(TMake make, std::string target = "") {
  return [make, target](const std::string& path) {
    make(path + ".target");
    std::filesystem::create_symlink(target.empty() ? path + ".target" : target, path);
  };
}
void MakeFifo(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }
void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }

// A QuickTime movie's first boxes: its file type, then 4 KB of media data.
std::string TinyQuickTime() {
  const std::string fileType("\0\0\0\024ftypqt  \0\0\0\0qt  ", 20);
  const std::string mediaData("\0\0\017\354mdat", 8);
  return fileType + mediaData + std::string(4096 - 20 - 8, '\0');
}

// The date as "yyyy-mm-dd hh:nn:ss", or "none: " and the reason.
std::string Outcome(const TPhotoDate& photo) {
  if (!photo.taken) return "none: " + photo.whyNone;
  const TLocalDateTime& t = *photo.taken;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return photo.whyNone.empty() ? text : std::string(text) + " and a reason: " + photo.whyNone;
}

struct TRow {
  std::string id;  // the entry's name, and its name in the fuzz corpus
  TMake make;
  std::string expected;
};

std::vector<TRow> Rows() {
  const std::string original = "2024:06:03 14:22:01", digitized = "2023:01:15 08:00:59",
                    dateTime = "2022:12:31 23:59:58";
  std::vector<TRow> rows;
  const std::pair<const char*, TMake> containers[] = {
      {"jpeg", BlankJpeg}, {"tiff", BlankTiff}, {"png", BlankPng}, {"webp", BlankWebp}};
  for (const auto& [kind, blank] : containers) {
    const auto add = [&, kind = std::string(kind), blank = blank](const char* what, TTags tags, const char* expected) {
      rows.push_back({kind + "-" + what, Photo(blank, std::move(tags)), expected});
    };
    add("original", {{kOriginal, original}}, "2024-06-03 14:22:01");
    add("digitized", {{kDigitized, digitized}}, "2023-01-15 08:00:59");
    add("datetime", {{kDateTime, dateTime}}, "2022-12-31 23:59:58");
    add("all-three", {{kDateTime, dateTime}, {kDigitized, digitized}, {kOriginal, original}}, "2024-06-03 14:22:01");
    add("no-date", {{"Exif.Image.Make", "Quillex"}}, "none: no date in its metadata");
    add("no-metadata", {}, "none: no date in its metadata");
  }
  const auto add = [&rows](const char* id, TMake make, const char* expected) { rows.push_back({id, make, expected}); };
  add("jpeg-original-xmp", WithXmp(Jpeg({{kOriginal, original}})), "2024-06-03 14:22:01");
  add("jpeg-digitized-datetime", Jpeg({{kDateTime, dateTime}, {kDigitized, digitized}}), "2023-01-15 08:00:59");

  // Dates as they come: from unset camera clocks, odd software and broken files.
  const std::pair<const char*, const char*> dates[] = {
      {"2024:02:29 00:00:00", "2024-02-29 00:00:00"},
      {"2000:02:29 12:00:00", "2000-02-29 12:00:00"},
      {"0001:01:01 00:00:00", "0001-01-01 00:00:00"},
      {"9999:12:31 23:59:59", "9999-12-31 23:59:59"},
      {"0000:00:00 00:00:00", "none: malformed date \"0000:00:00 00:00:00\""},
      {"    :  :     :  :  ", "none: malformed date \"    :  :     :  :  \""},
      {"", "none: malformed date \"\""},
      {"2023:02:29 12:00:00", "none: malformed date \"2023:02:29 12:00:00\""},
      {"1900:02:29 12:00:00", "none: malformed date \"1900:02:29 12:00:00\""},
      {"2024:13:01 12:00:00", "none: malformed date \"2024:13:01 12:00:00\""},
      {"2024:04:31 12:00:00", "none: malformed date \"2024:04:31 12:00:00\""},
      {"2024:06:00 12:00:00", "none: malformed date \"2024:06:00 12:00:00\""},
      {"2024:06:03 24:00:00", "none: malformed date \"2024:06:03 24:00:00\""},
      {"2024:06:03 14:60:00", "none: malformed date \"2024:06:03 14:60:00\""},
      {"2024:06:03 14:22:60", "none: malformed date \"2024:06:03 14:22:60\""},
      {"2024:06:03 14:22:01 +02:00", "none: malformed date \"2024:06:03 14:22:01 +02:00\""},
      {"2024:06:03 14:22", "none: malformed date \"2024:06:03 14:22\""},
      {"2024-06-03 14:22:01", "none: malformed date \"2024-06-03 14:22:01\""},
      {"2024:6:3 14:22:01  ", "none: malformed date \"2024:6:3 14:22:01  \""},
      {"+024:06:03 14:22:01", "none: malformed date \"+024:06:03 14:22:01\""},
      {"2024:06:03\t14:22:01", "none: malformed date \"2024:06:03?14:22:01\""},
      {"2024:06:03 14:22:01 taken on a long holiday by the sea",
       "none: malformed date \"2024:06:03 14:22:01 taken on a long holi...\""},
  };
  int n = 0;
  for (const auto& [date, expected] : dates) {
    rows.push_back({"jpeg-date-" + std::to_string(++n), Jpeg({{kOriginal, date}}), expected});
  }
  add("jpeg-malformed-original-then-datetime", Jpeg({{kOriginal, "0000:00:00 00:00:00"}, {kDateTime, dateTime}}),
      "2022-12-31 23:59:58");

  add("jpeg-damaged", SpoiledJpeg([](std::string& bytes, std::size_t at) { bytes.replace(at, 16, 16, 'X'); }),
      "none: cannot read its metadata: This does not look like a TIFF image");
  add("jpeg-truncated", SpoiledJpeg([](std::string& bytes, std::size_t at) { bytes.resize(at + 40); }),
      "none: cannot read its metadata: Failed to read image data");
  add("tiff-truncated", Truncated(Photo(BlankTiff, {{kOriginal, original}}), 60), "none: no date in its metadata");
  add("text", Bytes(std::string(4096, 'a')), "none: not an image Quillex reads");
  add("short-text", Bytes("Not a picture, a note.\n"), "none: not an image Quillex reads");
  add("video", Bytes(TinyQuickTime()), "none: a video; only photos are read");
  add("empty", Bytes(""), "none: not an image Quillex reads");

  // Entries that are not files to read; none may block or be followed.
  add("fifo", MakeFifo, "none: not a regular file");
  add("folder", MakeFolder, "none: not a regular file");
  add("link-to-photo", LinkTo(Jpeg({{kOriginal, original}})), "none: a symbolic link");
  add("link-to-device", LinkTo([](const std::string&) {}, "/dev/zero"), "none: a symbolic link");
  add(
      "missing", [](const std::string&) {}, "none: No such file or directory");
  return rows;
}

std::vector<TRow> MadeRows(const test::TTempDir& dir) {
  std::vector<TRow> rows = Rows();
  for (const TRow& row : rows) row.make(dir / row.id);
  return rows;
}

// Each entry is read in a child of its own, so an entry that crashed or blocked the
// reader fails its row instead of the whole suite.
TEST(UPhotoDateTest, ReadsTheDateTakenOrSaysWhyNot) {
  const test::TTempDir dir;
  const std::vector<TRow> rows = MadeRows(dir);
  const TDirectory folder = TDirectory::Open(dir.Path());
  for (const TRow& row : rows) {
    const test::TChildEnd end = test::RunInChild([&] { return Outcome(ReadPhotoDate(folder.Handle(), row.id)); }, 20);
    EXPECT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0)
        << row.id << ": " << test::StatusText(end.status);
    EXPECT_EQ(end.output, row.expected) << row.id;
  }
  // The seed corpus of the fuzz target is these files: QX_PHOTO_CORPUS=folder puts them there.
  if (const char* corpus = std::getenv("QX_PHOTO_CORPUS")) {
    for (const TRow& row : rows) {
      if (std::filesystem::is_regular_file(std::filesystem::symlink_status(dir / row.id))) {
        std::filesystem::copy_file(dir / row.id, std::string(corpus) + "/" + row.id,
                                   std::filesystem::copy_options::overwrite_existing);
      }
    }
  }
}

// The desktop reads dates on a worker while a run may read them on the window's thread;
// the first reads of the process set the library up from both threads at once.
TEST(UPhotoDateTest, TwoThreadsReadWhatOneReads) {
  const test::TTempDir dir;
  const std::vector<TRow> rows = MadeRows(dir);
  const TDirectory folder = TDirectory::Open(dir.Path());
  std::vector<std::string> wrong[2];
  const auto readAll = [&](std::vector<std::string>& mine) {
    for (int pass = 0; pass < 20; ++pass) {
      for (const TRow& row : rows) {
        if (Outcome(ReadPhotoDate(folder.Handle(), row.id)) != row.expected) mine.push_back(row.id);
      }
    }
  };
  std::thread worker(readAll, std::ref(wrong[0]));
  readAll(wrong[1]);
  worker.join();
  EXPECT_EQ(wrong[0], std::vector<std::string>());
  EXPECT_EQ(wrong[1], std::vector<std::string>());
}

// Bytes this process has read through system calls so far.
long long BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string field;
  long long value = 0;
  while (io >> field >> value && field != "rchar:") {
  }
  return value;
}

// A camera's raw file runs to tens of megabytes, of which the date is in the first few
// kilobytes: the reader must not read the rest.
TEST(UPhotoDateTest, ReadsOnlyTheMetadataOfALargeFile) {
  const test::TTempDir dir;
  const TDirectory folder = TDirectory::Open(dir.Path());
  const std::pair<const char*, TMake> containers[] = {{"jpeg", BlankJpeg}, {"tiff", BlankTiff}, {"png", BlankPng}};
  for (const auto& [kind, blank] : containers) {
    const std::string path = dir / kind;
    Photo(blank, {{kOriginal, "2024:06:03 14:22:01"}})(path);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) + (50 << 20));
    const long long before = BytesRead();
    EXPECT_EQ(Outcome(ReadPhotoDate(folder.Handle(), kind)), "2024-06-03 14:22:01") << kind;
    EXPECT_LT(BytesRead() - before, 1 << 20) << kind;
  }
  // A file that starts like a photo and then runs on with nothing to stop at costs what a
  // photo's metadata may, however large it is.
  Bytes(std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20))(dir / "endless");
  std::filesystem::resize_file(dir / "endless", std::uintmax_t{2} << 30);
  const long long before = BytesRead();
  EXPECT_EQ(Outcome(ReadPhotoDate(folder.Handle(), "endless")), "none: more metadata than a photo has (over 8 MiB)");
  EXPECT_LT(BytesRead() - before, 9 << 20);
}

}  // namespace
}  // namespace qx

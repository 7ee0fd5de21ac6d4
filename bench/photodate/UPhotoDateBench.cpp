// SPDX-License-Identifier: GPL-3.0-or-later
// The photo date benchmark's helper: it makes the folder of camera-like JPEG files, and
// reads the date taken of every file of a folder with Quillex's reader, the floor under a
// rename by date taken.
//   photodate-bench make FOLDER N    IMG_00001.JPG ... each with a date taken of its own
//   photodate-bench read FOLDER      reads every file; prints "files F, dates D"
#include <cstdio>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "metadata/UPhotoDate.h"
#include "platform/UDirectory.h"

namespace {

// Stands for each file's date in the seed; no other text of the seed looks like it.
const std::string kPlaceholder = "1999:12:31 23:59:59";

// A picture of one pixel with the Exif fields a camera writes; its date taken is
// kPlaceholder.
std::string SeedPhoto(const std::string& scratch) {
  auto image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, scratch);
  Exiv2::ExifData exif;
  exif["Exif.Image.Make"] = "Quillex";
  exif["Exif.Image.Model"] = "Bench 1";
  exif["Exif.Image.Orientation"] = uint16_t(1);
  exif["Exif.Image.DateTime"] = "2000:01:01 00:00:00";
  exif["Exif.Photo.DateTimeOriginal"] = kPlaceholder;
  exif["Exif.Photo.DateTimeDigitized"] = "2000:01:01 00:00:00";
  exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
  exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
  exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
  exif["Exif.Photo.FocalLength"] = Exiv2::URational(35, 1);
  exif["Exif.Photo.PixelXDimension"] = uint32_t(1);
  exif["Exif.Photo.PixelYDimension"] = uint32_t(1);
  image->setExifData(exif);
  image->writeMetadata();
  std::ifstream in(scratch, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::remove(scratch.c_str());
  return bytes;
}

// The seed written `count` times, the n-th taken an hour and a little after the one before.
int Make(const std::string& folder, int count) {
  std::string photo = SeedPhoto(folder + "/seed.jpg");
  const std::size_t dateAt = photo.find(kPlaceholder);
  if (dateAt == std::string::npos) {
    std::cerr << "photodate-bench: the seed holds no date taken\n";
    return 1;
  }
  for (int n = 1; n <= count; ++n) {
    const std::time_t taken = 1704067200 + std::time_t{n} * 3607;  // from 2024-01-01 00:00:00
    struct tm fields;
    gmtime_r(&taken, &fields);
    char date[32], name[32];
    std::strftime(date, sizeof date, "%Y:%m:%d %H:%M:%S", &fields);
    std::snprintf(name, sizeof name, "/IMG_%05d.JPG", n);
    photo.replace(dateAt, kPlaceholder.size(), date);
    std::ofstream(folder + name, std::ios::binary) << photo;
  }
  return 0;
}

int Read(const std::string& folder) {
  const qx::TDirectory directory = qx::TDirectory::Open(folder);
  long files = 0, dates = 0;
  directory.ForEachEntry([&](std::string_view name, bool isDirectory) {
    if (isDirectory) return;
    ++files;
    dates += qx::ReadPhotoDate(directory.Handle(), std::string(name)).taken.has_value();
  });
  std::cout << "files " << files << ", dates " << dates << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "make" && argc == 4) return Make(argv[2], std::stoi(argv[3]));
  if (mode == "read" && argc == 3) return Read(argv[2]);
  std::cerr << "usage: photodate-bench make FOLDER N | read FOLDER\n";
  return 2;
}

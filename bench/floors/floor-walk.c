// SPDX-License-Identifier: GPL-3.0-or-later
// The least a preview can cost: the floor of the renamers table's preview sections.
// Lists every folder of the tree and reads each entry's status, what a renamer needs to
// show types and sizes; never follows a symbolic link.
//   floor-walk DIR      prints "files N dirs N other N bytes N"
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static unsigned long long gFiles, gDirs, gOther, gBytes, gErrors;

static void Walk(int folder, const char* name) {
  DIR* listing = fdopendir(folder);
  if (!listing) {
    perror(name);
    gErrors++;
    close(folder);
    return;
  }
  for (struct dirent* entry; (entry = readdir(listing));) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    struct stat status;
    if (fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
      perror(entry->d_name);
      gErrors++;
    } else if (S_ISREG(status.st_mode)) {
      gFiles++;
      gBytes += (unsigned long long)status.st_size;
    } else if (S_ISDIR(status.st_mode)) {
      gDirs++;
      int subfolder = openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
      if (subfolder < 0) {
        perror(entry->d_name);
        gErrors++;
        continue;
      }
      Walk(subfolder, entry->d_name);
    } else {
      gOther++;
    }
  }
  closedir(listing);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: floor-walk DIR\n");
    return 2;
  }
  int top = open(argv[1], O_RDONLY | O_DIRECTORY);
  if (top < 0) {
    perror(argv[1]);
    return 2;
  }
  Walk(top, argv[1]);
  printf("files %llu dirs %llu other %llu bytes %llu\n", gFiles, gDirs, gOther, gBytes);
  return gErrors ? 1 : 0;
}

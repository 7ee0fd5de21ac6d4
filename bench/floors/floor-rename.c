// SPDX-License-Identifier: GPL-3.0-or-later
// The least a batch rename can cost: the floor the renamers table measures against.
// Brackets the first run of ASCII digits in every regular file's name ("IMG_000123.jpg"
// -> "IMG_[000123].jpg", what (\d+) -> [$1] does to a file name) and renames with
// renameat2(RENAME_NOREPLACE). No sorting, no masks, no undo, no checks beyond the kernel's.
//   floor-rename [-n] [-r] [-j M] DIR
//     -n    print "folder/old -> new" instead of renaming
//     -r    go into subfolders too (their names are left alone)
//     -j M  M processes share each folder's renames, to see whether a second core helps
// Exit status 0 when every file with digits was renamed (or printed), 1 otherwise.
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "floor-names.h"

static int gPrintOnly, gRecurse;
static unsigned long gProcesses = 1;

// One set for all the -j processes, so the summary counts them all.
static struct { unsigned long renamed, withoutDigits, failed; } * gCounts;

static void Count(unsigned long* counter) { __atomic_add_fetch(counter, 1, __ATOMIC_RELAXED); }

typedef struct {
  char** names;
  size_t count, capacity;
} TNames;

static void Add(TNames* list, const char* name) {
  if (list->count == list->capacity) {
    list->capacity = list->capacity ? 2 * list->capacity : 1024;
    list->names = realloc(list->names, list->capacity * sizeof *list->names);
    if (!list->names) {
      perror("floor-rename");
      exit(2);
    }
  }
  if (!(list->names[list->count++] = strdup(name))) {
    perror("floor-rename");
    exit(2);
  }
}

static void Release(TNames* list) {
  for (size_t i = 0; i < list->count; i++) free(list->names[i]);
  free(list->names);
}

// Renames the files first, first + gProcesses, ... of the listing.
static void RenameShare(int folder, const char* path, const TNames* files, unsigned long first) {
  char target[4096];
  for (size_t i = first; i < files->count; i += gProcesses) {
    const char* name = files->names[i];
    if (!BracketFirstDigits(name, target, sizeof target)) {
      Count(&gCounts->withoutDigits);
    } else if (gPrintOnly) {
      printf("%s/%s -> %s\n", path, name, target);
      Count(&gCounts->renamed);
    } else if (renameat2(folder, name, folder, target, RENAME_NOREPLACE) == 0) {
      Count(&gCounts->renamed);
    } else {
      fprintf(stderr, "%s/%s -> %s: %s\n", path, name, target, strerror(errno));
      Count(&gCounts->failed);
    }
  }
}

// The processes share one listing: a listing of their own, read while another process
// renames, would show some names twice, old and new.
static void RenameFiles(int folder, const char* path, const TNames* files) {
  fflush(NULL);  // or each process would print what was buffered before it began
  for (unsigned long share = 1; share < gProcesses; share++) {
    pid_t child = fork();
    if (child < 0) {
      perror("floor-rename");
      exit(2);
    }
    if (child == 0) {
      RenameShare(folder, path, files, share);
      fflush(NULL);
      _exit(0);
    }
  }
  RenameShare(folder, path, files, 0);
  while (wait(NULL) > 0) {
  }
}

static void RenameIn(int folder, const char* path) {
  DIR* listing = fdopendir(folder);
  if (!listing) {
    perror(path);
    Count(&gCounts->failed);
    close(folder);
    return;
  }

  // The whole listing is read first: renaming while reading could list a new name again.
  TNames files = {0}, subfolders = {0};
  for (struct dirent* entry; (entry = readdir(listing));) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    unsigned char type = TypeOf(folder, entry);
    if (type == DT_REG) Add(&files, entry->d_name);
    if (type == DT_DIR && gRecurse) Add(&subfolders, entry->d_name);
  }
  RenameFiles(folder, path, &files);

  for (size_t i = 0; i < subfolders.count; i++) {
    int subfolder = openat(folder, subfolders.names[i], O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    char* subpath;
    if (subfolder < 0 || asprintf(&subpath, "%s/%s", path, subfolders.names[i]) < 0) {
      perror(subfolders.names[i]);
      Count(&gCounts->failed);
      if (subfolder >= 0) close(subfolder);
      continue;
    }
    RenameIn(subfolder, subpath);
    free(subpath);
  }
  Release(&files);
  Release(&subfolders);
  closedir(listing);
}

int main(int argc, char** argv) {
  int option;
  while ((option = getopt(argc, argv, "nrj:")) != -1) {
    if (option == 'n') {
      gPrintOnly = 1;
    } else if (option == 'r') {
      gRecurse = 1;
    } else if (option != 'j' || sscanf(optarg, "%lu", &gProcesses) != 1 || gProcesses < 1 || gProcesses > 64) {
      break;
    }
  }
  if (option != -1 || optind != argc - 1) {
    fprintf(stderr, "usage: floor-rename [-n] [-r] [-j M] DIR\n");
    return 2;
  }
  gCounts = mmap(NULL, sizeof *gCounts, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (gCounts == MAP_FAILED) {
    perror("floor-rename");
    return 2;
  }
  int top = open(argv[optind], O_RDONLY | O_DIRECTORY);
  if (top < 0) {
    perror(argv[optind]);
    return 2;
  }
  RenameIn(top, argv[optind]);
  fprintf(stderr, "floor-rename: %lu %s, %lu without digits, %lu failed\n", gCounts->renamed,
          gPrintOnly ? "printed" : "renamed", gCounts->withoutDigits, gCounts->failed);
  return gCounts->failed ? 1 : 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// What renaming a tree on a slow share can reach when folders overlap: the network share
// table's parallel floor. N threads take one folder each at a time: a thread lists its
// folder, hands the subfolders to the others, then renames the folder's files, bracketing
// the first run of digits ("IMG_000123.jpg" -> "IMG_[000123].jpg") with
// renameat2(RENAME_NOREPLACE), as floor-rename does one folder after another. The kernel
// serialises the renames inside one folder, so the threads never share a folder.
//   floor-parallel -j N DIR      every folder of DIR's tree, DIR included; N from 1 to 256
// Exit status 0 when every file with digits was renamed, 1 otherwise.
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../floors/floor-names.h"

typedef struct {
  int fd;
  char* path;  // for messages
} TFolder;

// The folders waiting for a thread, taken last in first out: the tree is walked deep
// first, so few folders are open at once.
static struct {
  pthread_mutex_t lock;
  pthread_cond_t changed;
  TFolder* folders;
  size_t count, capacity;
  unsigned busy;  // threads inside a folder, which may still add to the stack
} gStack = {PTHREAD_MUTEX_INITIALIZER, PTHREAD_COND_INITIALIZER, NULL, 0, 0, 0};

static unsigned long gRenamed, gWithoutDigits, gFailed;

static void Count(unsigned long* counter) { __atomic_add_fetch(counter, 1, __ATOMIC_RELAXED); }

static void* Allocated(void* memory) {
  if (!memory) {
    perror("floor-parallel");
    exit(2);
  }
  return memory;
}

static void Push(int fd, char* path) {
  pthread_mutex_lock(&gStack.lock);
  if (gStack.count == gStack.capacity) {
    gStack.capacity = gStack.capacity ? 2 * gStack.capacity : 64;
    gStack.folders = Allocated(realloc(gStack.folders, gStack.capacity * sizeof *gStack.folders));
  }
  gStack.folders[gStack.count++] = (TFolder){fd, path};
  pthread_cond_signal(&gStack.changed);
  pthread_mutex_unlock(&gStack.lock);
}

// The next folder, or 0 once the stack is empty and no thread can add to it any more.
static int Pop(TFolder* folder) {
  pthread_mutex_lock(&gStack.lock);
  while (gStack.count == 0 && gStack.busy > 0) pthread_cond_wait(&gStack.changed, &gStack.lock);
  int got = gStack.count > 0;
  if (got) {
    *folder = gStack.folders[--gStack.count];
    gStack.busy++;
  }
  pthread_mutex_unlock(&gStack.lock);
  return got;
}

static void Done(void) {
  pthread_mutex_lock(&gStack.lock);
  if (--gStack.busy == 0 && gStack.count == 0) pthread_cond_broadcast(&gStack.changed);
  pthread_mutex_unlock(&gStack.lock);
}

static void PushSubfolder(int folder, const char* path, const char* name) {
  char* subpath = Allocated(malloc(strlen(path) + strlen(name) + 2));
  sprintf(subpath, "%s/%s", path, name);
  int fd = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    perror(subpath);
    Count(&gFailed);
    free(subpath);
    return;
  }
  Push(fd, subpath);
}

static void RenameFiles(int folder, const char* path, char** names, size_t count) {
  char target[4096];
  for (size_t i = 0; i < count; i++) {
    if (!BracketFirstDigits(names[i], target, sizeof target)) {
      Count(&gWithoutDigits);
    } else if (renameat2(folder, names[i], folder, target, RENAME_NOREPLACE) == 0) {
      Count(&gRenamed);
    } else {
      fprintf(stderr, "%s/%s -> %s: %s\n", path, names[i], target, strerror(errno));
      Count(&gFailed);
    }
  }
}

// The whole listing is read before the first rename, which it could otherwise list again.
static void RenameIn(TFolder folder) {
  DIR* listing = fdopendir(folder.fd);
  if (!listing) {
    perror(folder.path);
    Count(&gFailed);
    close(folder.fd);
    return;
  }
  char** files = NULL;
  size_t count = 0, capacity = 0;
  for (struct dirent* entry; (entry = readdir(listing));) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    unsigned char type = TypeOf(folder.fd, entry);
    if (type == DT_DIR) PushSubfolder(folder.fd, folder.path, entry->d_name);
    if (type != DT_REG) continue;
    if (count == capacity) {
      capacity = capacity ? 2 * capacity : 256;
      files = Allocated(realloc(files, capacity * sizeof *files));
    }
    files[count++] = Allocated(strdup(entry->d_name));
  }
  RenameFiles(folder.fd, folder.path, files, count);
  for (size_t i = 0; i < count; i++) free(files[i]);
  free(files);
  closedir(listing);
}

static void* Worker(void* unused) {
  (void)unused;
  for (TFolder folder; Pop(&folder);) {
    RenameIn(folder);
    free(folder.path);
    Done();
  }
  return NULL;
}

int main(int argc, char** argv) {
  unsigned long threads = 0;
  int option;
  while ((option = getopt(argc, argv, "j:")) != -1) {
    if (option != 'j' || sscanf(optarg, "%lu", &threads) != 1 || threads < 1 || threads > 256) break;
  }
  if (option != -1 || threads == 0 || optind != argc - 1) {
    fprintf(stderr, "usage: floor-parallel -j N DIR\n");
    return 2;
  }
  int top = open(argv[optind], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top < 0) {
    perror(argv[optind]);
    return 2;
  }
  Push(top, Allocated(strdup(argv[optind])));
  pthread_t* workers = Allocated(calloc(threads, sizeof *workers));
  unsigned long started = 0;
  for (; started < threads; started++) {
    if ((errno = pthread_create(&workers[started], NULL, Worker, NULL)) != 0) break;
  }
  if (started == 0) {
    perror("floor-parallel: no thread");
    return 2;
  }
  for (unsigned long i = 0; i < started; i++) pthread_join(workers[i], NULL);
  free(workers);
  fprintf(stderr, "floor-parallel: %lu renamed by %lu threads, %lu without digits, %lu failed\n", gRenamed, started,
          gWithoutDigits, gFailed);
  return gFailed ? 1 : 0;
}

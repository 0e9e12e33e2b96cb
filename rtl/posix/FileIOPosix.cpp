// File handles over POSIX descriptors (native build).
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "rtl/FileIO.h"
#include "rtl/SysUtils.h"

namespace {

thread_local int LastError = 0;

// The POSIX form of a path: Windows delimiters become "/" (as the path
// routines of rtl/FileUtils.h treat them natively), then UTF-8.
std::string NativePath(const String& Name) {
  String s = Name;
  for (Char& c : s)
    if (c == u'\\') c = u'/';
  return UTF8Encode(s);
}

int Fd(THandle h) { return static_cast<int>(static_cast<NativeInt>(h)); }

THandle Handle(int fd) { return static_cast<THandle>(static_cast<NativeInt>(fd)); }

// flock that matches the share mode; fails with EWOULDBLOCK when another open
// of the file holds a conflicting lock.
bool LockForShare(int fd, Cardinal Mode) {
  int op;
  switch (Mode & 0xF0) {
    case fmShareDenyNone:
      return true;
    case fmShareDenyWrite:
    case fmShareDenyRead:
      op = LOCK_SH;
      break;
    default:  // compat, exclusive
      op = LOCK_EX;
      break;
  }
  while (flock(fd, op | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

THandle FileOpen(const String& FileName, Cardinal Mode) {
  static const int Access[4] = {O_RDONLY, O_WRONLY, O_RDWR, O_RDONLY};
  const std::string path = NativePath(FileName);
  int fd = open(path.c_str(), Access[Mode & 3] | O_CLOEXEC);
  if (fd < 0) {
    LastError = errno;
    return InvalidFileHandle;
  }
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    // Windows refuses to open a folder as a file; so do we.
    close(fd);
    LastError = EISDIR;
    return InvalidFileHandle;
  }
  if (!LockForShare(fd, Mode)) {
    LastError = errno;
    close(fd);
    return InvalidFileHandle;
  }
  return Handle(fd);
}

THandle FileCreate(const String& FileName, Cardinal Mode) {
  const std::string path = NativePath(FileName);
  // Not O_TRUNC: the file is emptied only once the lock is ours, so a refused
  // create leaves another holder's file intact (as Windows does).
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    LastError = errno;
    return InvalidFileHandle;
  }
  if (!LockForShare(fd, Mode) || ftruncate(fd, 0) != 0) {
    LastError = errno;
    close(fd);
    return InvalidFileHandle;
  }
  return Handle(fd);
}

Integer FileRead(THandle H, void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  ssize_t n;
  do n = read(Fd(H), Buffer, static_cast<size_t>(Count));
  while (n < 0 && errno == EINTR);
  if (n < 0) {
    LastError = errno;
    return -1;
  }
  return static_cast<Integer>(n);
}

Integer FileWrite(THandle H, const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  // Write everything (a POSIX write may be partial), as WriteFile does.
  const char* p = static_cast<const char*>(Buffer);
  size_t left = static_cast<size_t>(Count);
  while (left > 0) {
    ssize_t n = write(Fd(H), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      LastError = errno;
      return (p == Buffer) ? -1 : static_cast<Integer>(p - static_cast<const char*>(Buffer));
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return Count;
}

Int64 FileSeek(THandle H, Int64 Offset, Integer Origin) {
  int whence = Origin == fsFromCurrent ? SEEK_CUR : Origin == fsFromEnd ? SEEK_END : SEEK_SET;
  off_t r = lseek(Fd(H), static_cast<off_t>(Offset), whence);
  if (r < 0) {
    LastError = errno;
    return -1;
  }
  return static_cast<Int64>(r);
}

void FileClose(THandle H) {
  if (H != InvalidFileHandle) close(Fd(H));
}

bool FileFlush(THandle H) {
  if (fsync(Fd(H)) != 0) {
    LastError = errno;
    return false;
  }
  return true;
}

bool FileTruncate(THandle H) {
  off_t pos = lseek(Fd(H), 0, SEEK_CUR);
  if (pos < 0 || ftruncate(Fd(H), pos) != 0) {
    LastError = errno;
    return false;
  }
  return true;
}

Cardinal FileLastError() { return static_cast<Cardinal>(LastError); }

bool FileErrorIsNotFound(Cardinal Code) { return Code == ENOENT || Code == ENOTDIR; }

String FileErrorMessage(Cardinal Code) {
  char buf[256];
  // GNU strerror_r returns the text (maybe not in buf).
  const char* text = strerror_r(static_cast<int>(Code), buf, sizeof buf);
  String s = UTF8Decode(text ? text : "");
  while (!s.empty() && (s.back() <= u' ' || s.back() == u'.')) s.pop_back();
  return s;
}

#pragma push_macro("ReplaceFile")
#undef ReplaceFile
bool ReplaceFile(const String& TempName, const String& TargetName) {
  const std::string from = NativePath(TempName);
  const std::string to = NativePath(TargetName);
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    LastError = errno;
    return false;
  }
  // Make the new directory entry durable as MOVEFILE_WRITE_THROUGH does.
  std::string dir = to;
  auto slash = dir.rfind('/');
  dir = (slash == std::string::npos) ? std::string(".") : (slash == 0 ? std::string("/") : dir.substr(0, slash));
  int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}
#pragma pop_macro("ReplaceFile")

String AnsiBytesToString(const char* Bytes, size_t Count) { return UTF8Decode(std::string_view(Bytes, Count)); }

std::string StringToAnsiBytes(const String& S) { return UTF8Encode(S); }

// The file-system routines of rtl/FileUtils.h over POSIX (native build):
// every "\" of a name becomes "/", and names are passed as UTF-8.
#include "rtl/FileUtils.h"

#include "rtl/DateUtils.h"
#include "rtl/SysUtils.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::string NativePath(const String& Name) {
  String n = Name;
  for (Char& c : n)
    if (c == u'\\') c = u'/';
  return UTF8Encode(n);
}

bool StatOf(const String& Name, struct stat& st) { return !Name.empty() && ::stat(NativePath(Name).c_str(), &st) == 0; }

// Local date-time of a file time.
TDateTime LocalDateTime(const struct timespec& ts) {
  std::time_t secs = ts.tv_sec;
  std::tm local{};
  if (!localtime_r(&secs, &local)) return 0;
  TDateTime v = 0;
  TryEncodeDateTime(static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                    static_cast<Word>(local.tm_mday), static_cast<Word>(local.tm_hour),
                    static_cast<Word>(local.tm_min), static_cast<Word>(local.tm_sec > 59 ? 59 : local.tm_sec),
                    static_cast<Word>(ts.tv_nsec / 1000000), v);
  return v;
}

// Attributes as Wine shows them for a Unix file.
Integer AttributesOf(const std::string& name, const struct stat& st) {
  Integer attr = 0;
  if (S_ISDIR(st.st_mode)) attr |= faDirectory;
  else attr |= faArchive;
  if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
  return attr;
}

struct TPosixSearch {
  DIR* Dir = nullptr;
  std::string Folder;  // with trailing "/" (or empty for the current folder)
  String Mask;
};

// Windows error codes, as FindFirst/FindNext return them.
constexpr Integer kErrorFileNotFound = 2;
constexpr Integer kErrorPathNotFound = 3;
constexpr Integer kErrorNoMoreFiles = 18;

Integer NextMatch(TSearchRec& F) {
  auto* s = static_cast<TPosixSearch*>(F.FindHandle);
  if (!s || !s->Dir) return kErrorNoMoreFiles;
  while (dirent* e = readdir(s->Dir)) {
    std::string entry = e->d_name;
    String name = UTF8Decode(entry);
    if (!MatchesFileMask(name, s->Mask)) continue;
    struct stat st;
    if (::stat((s->Folder + entry).c_str(), &st) != 0 && ::lstat((s->Folder + entry).c_str(), &st) != 0) continue;
    Integer attr = AttributesOf(entry, st);
    if (attr & F.ExcludeAttr) continue;
    F.Name = name;
    F.Attr = attr;
    F.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
    F.Time = LocalDateTime(st.st_mtim);
    return 0;
  }
  return kErrorNoMoreFiles;
}

}  // namespace

bool FileExists(const String& FileName) {
  struct stat st;
  return StatOf(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& Directory) {
  struct stat st;
  return StatOf(Directory, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& Dir) { return !Dir.empty() && ::mkdir(NativePath(Dir).c_str(), 0777) == 0; }

bool RemoveDir(const String& Dir) { return !Dir.empty() && ::rmdir(NativePath(Dir).c_str()) == 0; }

bool DeleteFile(const String& FileName) {
  // unlink(2) would also remove a symbolic link to a folder; Windows'
  // DeleteFile refuses folders, and so does unlink on a real one.
  return !FileName.empty() && ::unlink(NativePath(FileName).c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  const std::string from = NativePath(OldName), to = NativePath(NewName);
  // Like MoveFileW: never replace an existing target.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileAge(const String& FileName, TDateTime& FileDateTime) {
  struct stat st;
  if (!StatOf(FileName, st) || S_ISDIR(st.st_mode)) return false;
  FileDateTime = LocalDateTime(st.st_mtim);
  return true;
}

Int64 FileSize(const String& FileName) {
  struct stat st;
  if (!StatOf(FileName, st) || S_ISDIR(st.st_mode)) return -1;
  return static_cast<Int64>(st.st_size);
}

String GetCurrentDir() {
  std::string buf(4096, '\0');
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (errno != ERANGE) return String();
    buf.resize(buf.size() * 2);
  }
  buf.resize(std::char_traits<char>::length(buf.c_str()));
  return UTF8Decode(buf);
}

bool SetCurrentDir(const String& Dir) { return !Dir.empty() && ::chdir(NativePath(Dir).c_str()) == 0; }

String GetTempDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  String dir = UTF8Decode(tmp && *tmp ? tmp : "/tmp");
  if (dir.back() != u'/') dir += u'/';
  return dir;
}

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
  F.Time = 0;
  F.Size = 0;
  F.Attr = 0;
  F.Name.clear();
  F.FindHandle = nullptr;
  // Hidden, system and folder entries only when asked for.
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  String folder = ExtractFilePath(Path);
  String mask = ExtractFileName(Path);
  auto* s = new TPosixSearch;
  s->Folder = NativePath(folder);
  s->Mask = mask;
  s->Dir = ::opendir(s->Folder.empty() ? "." : s->Folder.c_str());
  F.FindHandle = s;
  Integer r = !s->Dir ? kErrorPathNotFound : (NextMatch(F) == 0 ? 0 : kErrorFileNotFound);
  if (r != 0) FindClose(F);
  return r;
}

Integer FindNext(TSearchRec& F) { return NextMatch(F); }

void FindClose(TSearchRec& F) {
  auto* s = static_cast<TPosixSearch*>(F.FindHandle);
  if (!s) return;
  if (s->Dir) ::closedir(s->Dir);
  delete s;
  F.FindHandle = nullptr;
}

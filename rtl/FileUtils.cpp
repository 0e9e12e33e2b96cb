#include "rtl/FileUtils.h"

#include "rtl/SysUtils.h"

#include <vector>

namespace {

bool IsDelim(Char c) { return c == u'\\' || c == u'/'; }

// 0-based index of the last character of S that is in Set, or npos.
size_t LastOf(const String& S, std::u16string_view Set) {
  for (size_t i = S.size(); i-- > 0;)
    if (Set.find(S[i]) != std::u16string_view::npos) return i;
  return String::npos;
}

constexpr std::u16string_view kPathDelims = u"\\/:";
constexpr std::u16string_view kExtDelims = u".\\/:";

Char FoldCase(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }

bool MatchFrom(const String& name, size_t n, const String& mask, size_t m) {
  while (m < mask.size()) {
    Char c = mask[m];
    if (c == u'*') {
      while (m < mask.size() && mask[m] == u'*') ++m;
      if (m == mask.size()) return true;
      for (size_t k = n; k <= name.size(); ++k)
        if (MatchFrom(name, k, mask, m)) return true;
      return false;
    }
    if (n >= name.size()) return false;
    if (c != u'?' && FoldCase(c) != FoldCase(name[n])) return false;
    ++n;
    ++m;
  }
  return n == name.size();
}

}  // namespace

// ---- path strings -----------------------------------------------------------

bool IsPathDelimiter(const String& S, Integer Index) {
  return Index >= 1 && Index <= static_cast<Integer>(S.size()) && IsDelim(S[Index - 1]);
}

String ExtractFilePath(const String& FileName) {
  size_t i = LastOf(FileName, kPathDelims);
  return i == String::npos ? String() : FileName.substr(0, i + 1);
}

String ExtractFileDir(const String& FileName) {
  size_t i = LastOf(FileName, kPathDelims);
  if (i == String::npos) return String();
  // Keep the delimiter of a root ("C:\", "\"), drop it otherwise.
  if (i > 0 && IsDelim(FileName[i]) && kPathDelims.find(FileName[i - 1]) == std::u16string_view::npos)
    return FileName.substr(0, i);
  return FileName.substr(0, i + 1);
}

String ExtractFileName(const String& FileName) {
  size_t i = LastOf(FileName, kPathDelims);
  return i == String::npos ? FileName : FileName.substr(i + 1);
}

String ExtractFileExt(const String& FileName) {
  size_t i = LastOf(FileName, kExtDelims);
  if (i != String::npos && FileName[i] == u'.') return FileName.substr(i);
  return String();
}

String ExtractFileDrive(const String& FileName) {
  if (FileName.size() >= 2 && FileName[1] == DriveDelim) return FileName.substr(0, 2);
  if (FileName.size() >= 2 && IsDelim(FileName[0]) && IsDelim(FileName[1])) {
    // "\\server\share": up to the delimiter after the share name.
    int delimiters = 0;
    size_t i = 2;
    for (; i < FileName.size(); ++i) {
      if (IsDelim(FileName[i]) && ++delimiters == 2) break;
    }
    return FileName.substr(0, i);
  }
  return String();
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  size_t i = LastOf(FileName, kExtDelims);
  if (i == String::npos || FileName[i] != u'.') return FileName + Extension;
  return FileName.substr(0, i) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && IsDelim(S.back())) return S;
  return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && IsDelim(S.back())) return S.substr(0, S.size() - 1);
  return S;
}

String ExpandFileName(const String& FileName) {
  if (FileName.empty()) return String();
  String name = FileName;
  for (Char& c : name)
    if (c == u'/') c = PathDelim;

  // Split into a root part that ".." never climbs above and the rest.
  String root, rest;
  if (name.size() >= 2 && name[0] == PathDelim && name[1] == PathDelim) {
    root = ExtractFileDrive(name);
    rest = name.substr(root.size());
  } else if (name.size() >= 2 && name[1] == DriveDelim) {
    root = name.substr(0, 2);
    rest = name.substr(2);
    if (rest.empty() || rest[0] != PathDelim) {
      // "X:name": relative to the current folder when it is on that drive.
      String cur = ExpandFileName(GetCurrentDir());
      if (cur.size() >= 2 && FoldCase(cur[0]) == FoldCase(root[0]) && cur[1] == DriveDelim)
        rest = cur.substr(2) + PathDelim + rest;
      else
        rest = PathDelim + rest;
    }
  } else if (name[0] == PathDelim) {
    String cur = GetCurrentDir();
    root = ExtractFileDrive(cur);
    if (root.size() > 2) root.clear();  // only a drive letter, never a share
    rest = name;
  } else {
    String cur = GetCurrentDir();
    for (Char& c : cur)
      if (c == u'/') c = PathDelim;
    return ExpandFileName(IncludeTrailingPathDelimiter(cur) + name);
  }

  // Resolve "." and "..", keep a trailing delimiter.
  std::vector<String> parts;
  size_t start = 0;
  bool trailing = !rest.empty() && rest.back() == PathDelim;
  while (start <= rest.size()) {
    size_t end = rest.find(PathDelim, start);
    if (end == String::npos) end = rest.size();
    String part = rest.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  String result = root;
  for (const String& p : parts) result += PathDelim + p;
  if (parts.empty() || trailing) result += PathDelim;
  return result;
}

// ---- the file system (portable parts) ---------------------------------------

bool ForceDirectories(const String& Dir) {
  if (Dir.empty()) {
    EInOutError e(u"Unable to create directory");
    e.ErrorCode = 3;
    throw e;
  }
  String dir = ExcludeTrailingPathDelimiter(Dir);
  if (dir.empty() || (dir.size() == 2 && dir[1] == DriveDelim)) return true;  // a root
  if (DirectoryExists(dir)) return true;
  String parent = ExtractFilePath(dir);
  if (parent == dir) return true;
  // An empty parent is the current folder (the class library raises there).
  if (!parent.empty() && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

TDateTime FileAge(const String& FileName) {
  TDateTime t = 0;
  return FileAge(FileName, t) ? t : -1;
}

bool MatchesFileMask(const String& Name, const String& Mask) {
  if (Mask == u"*.*" || Mask == u"*") return true;
  return MatchFrom(Name, 0, Mask, 0);
}

// langgen: builds the language table of the program from its text sources.
//
//   langgen [--min N0,N1,...,N7] OUT GROUP0 GROUP1 ... GROUP7
//       reads the eight group files and writes the enciphered data-table
//       stream that the program carries as its "HvLang" resource
//   langgen --dump TABLE
//       prints every text of a built table, one line per (group, index):
//       GROUP<TAB>INDEX<TAB>CHINESE<TAB>ENGLISH, escaped as in the sources
//   langgen --check-calls TABLE DIR...
//       finds every GetLangText(g, i, ...) call with literal numbers in the
//       C++ files under the folders and checks that the table holds the pair
//       with a text in both languages
//
// Source files: UTF-8, one row per line "INDEX<TAB>CHINESE<TAB>ENGLISH<TAB>PURPOSE",
// indexes from 0 without gaps or repeats; "#" lines and empty lines are
// skipped; the texts know the escapes \n \r \t and \\. Any fault gives one
// line per fault on stderr naming the file and line, and exit status 1; a
// wrong command line gives the usage text and exit status 2.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/data/HyDataTable.h"
#include "foundation/app/HyLangTable.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/SysUtils.h"

namespace {

const char kUsage[] =
    "usage: langgen [--min N0,N1,N2,N3,N4,N5,N6,N7] OUT GROUP0 ... GROUP7\n"
    "       langgen --dump TABLE\n"
    "       langgen --check-calls TABLE DIR...\n";

struct TSourceRow {
  String Chinese, English;
};

std::vector<std::string> Errors;

void Error(const std::string& Where, const std::string& Message) { Errors.push_back(Where + ": " + Message); }

bool ReadFile(const std::string& Name, std::string& Bytes) {
  std::ifstream in(Name, std::ios::binary);
  if (!in) return false;
  Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& S) {
  size_t i = 0;
  while (i < S.size()) {
    const auto c = static_cast<unsigned char>(S[i]);
    size_t n;
    unsigned cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= S.size()) return false;
      const auto d = static_cast<unsigned char>(S[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

// Turns the source escapes into characters; False on an unknown escape, a
// backslash at the end, or a raw control character.
bool Unescape(const std::string& In, std::string& Out, std::string& Why) {
  Out.clear();
  for (size_t i = 0; i < In.size(); ++i) {
    const char c = In[i];
    if (static_cast<unsigned char>(c) < 32 || c == 127) {
      Why = "a raw control character (write line breaks and TABs as \\n, \\r, \\t)";
      return false;
    }
    if (c != '\\') {
      Out += c;
      continue;
    }
    if (i + 1 >= In.size()) {
      Why = "a backslash at the end of the text (write \\\\ for a backslash)";
      return false;
    }
    switch (In[++i]) {
      case 'n': Out += '\n'; break;
      case 'r': Out += '\r'; break;
      case 't': Out += '\t'; break;
      case '\\': Out += '\\'; break;
      default:
        Why = std::string("the unknown escape \\") + In[i] + " (only \\n, \\r, \\t and \\\\ are allowed)";
        return false;
    }
  }
  return true;
}

std::string Escape(const String& Text) {
  std::string out;
  for (char c : UTF8Encode(Text)) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += c; break;
    }
  }
  return out;
}

bool ParseIndex(const std::string& S, long& Value) {
  if (S.empty() || S.size() > 6) return false;
  for (char c : S)
    if (c < '0' || c > '9') return false;
  Value = std::strtol(S.c_str(), nullptr, 10);
  return true;
}

// Reads one group file; faults go to Errors.
std::vector<TSourceRow> ReadGroup(const std::string& FileName, int Group, long Minimum) {
  std::vector<TSourceRow> rows;
  const size_t errorsBefore = Errors.size();
  std::string bytes;
  if (!ReadFile(FileName, bytes)) {
    Error(FileName, "cannot read the file");
    return rows;
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    Error(FileName + ":1", "the file starts with a byte-order mark (write UTF-8 without one)");
    return rows;
  }
  std::istringstream in(bytes);
  std::string line;
  long lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string where = FileName + ":" + std::to_string(lineNo);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    // A line refused as a whole still takes its index when it is the next
    // one, so that the rows after it are not reported as a gap as well.
    auto keepCounting = [&] {
      long at = 0;
      if (ParseIndex(line.substr(0, line.find('\t')), at) && at == static_cast<long>(rows.size()))
        rows.push_back(TSourceRow());
    };
    if (!IsValidUtf8(line)) {
      Error(where, "not valid UTF-8");
      keepCounting();
      continue;
    }
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
      const size_t p = line.find('\t', start);
      fields.push_back(line.substr(start, p == std::string::npos ? std::string::npos : p - start));
      if (p == std::string::npos) break;
      start = p + 1;
    }
    if (fields.size() != 4) {
      Error(where, "expected 4 TAB-separated fields (INDEX, CHINESE, ENGLISH, PURPOSE), found " +
                       std::to_string(fields.size()));
      keepCounting();
      continue;
    }
    long index = 0;
    if (!ParseIndex(fields[0], index)) {
      Error(where, "the index \"" + fields[0] + "\" is not a decimal number");
      continue;
    }
    const long expected = static_cast<long>(rows.size());
    if (index < expected) {
      Error(where, "index " + std::to_string(index) + " is a duplicate or out of index order");
      continue;
    }
    if (index > expected) {
      const std::string missing = index - 1 == expected
                                      ? "index " + std::to_string(expected) + " is missing"
                                      : "indexes " + std::to_string(expected) + ".." + std::to_string(index - 1) +
                                            " are missing";
      Error(where, "gap: index " + std::to_string(index) + " follows " +
                       (expected == 0 ? std::string("the start") : std::to_string(expected - 1)) + " (" + missing +
                       ")");
      // Keep counting from here so one gap gives one message.
      rows.resize(static_cast<size_t>(index));
    }
    static const char* const kLang[2] = {"Chinese", "English"};
    std::string text[2];
    bool ok = true;
    for (int k = 0; k < 2; ++k) {
      std::string why;
      if (!Unescape(fields[1 + k], text[k], why)) {
        Error(where, std::string("bad escape in the ") + kLang[k] + " text: " + why);
        ok = false;
      } else if (text[k].find_first_not_of(" ") == std::string::npos) {
        Error(where, std::string("the ") + kLang[k] + " text of index " + std::to_string(index) + " is empty");
        ok = false;
      }
    }
    if (fields[3].find_first_not_of(" ") == std::string::npos) {
      Error(where, "the purpose of index " + std::to_string(index) + " is empty");
      ok = false;
    }
    TSourceRow r;
    if (ok) {
      r.Chinese = UTF8Decode(text[0]);
      r.English = UTF8Decode(text[1]);
    }
    rows.push_back(r);
  }
  // A short group is reported only when no refused line could be the reason.
  if (Errors.size() == errorsBefore && static_cast<long>(rows.size()) < Minimum)
    Error(FileName, "group " + std::to_string(Group) + " has " + std::to_string(rows.size()) +
                        " rows; at least " + std::to_string(Minimum) + " (indexes 0.." +
                        std::to_string(Minimum - 1) + ") are needed");
  return rows;
}

int ReportErrors() {
  for (const auto& e : Errors) std::fprintf(stderr, "langgen: %s\n", e.c_str());
  return Errors.empty() ? 0 : 1;
}

String Arg(const std::string& s) { return UTF8Decode(s); }

int Generate(const std::string& Out, const std::vector<std::string>& Files, const std::vector<long>& Minimum) {
  std::vector<std::vector<TSourceRow>> groups;
  for (int g = 0; g < LangGroupCount; ++g) groups.push_back(ReadGroup(Files[g], g, Minimum[g]));
  if (!Errors.empty()) {
    std::remove(Out.c_str());
    return ReportErrors();
  }
  std::unique_ptr<TDataTable> dt(NewLangTable());
  Integer total = 0;
  for (const auto& g : groups) total += static_cast<Integer>(g.size());
  dt->Init(total, LangCellCount);
  dt->SetPropCount(LangGroupCount);
  Integer row = 0;
  for (int g = 0; g < LangGroupCount; ++g) {
    dt->Props(g)->SetValue(static_cast<Integer>(groups[g].size()));
    for (const auto& r : groups[g]) {
      dt->Items(row)->Items(LangCellChinese)->SetText(r.Chinese);
      dt->Items(row)->Items(LangCellEnglish)->SetText(r.English);
      ++row;
    }
  }
  dt->SaveAs(Arg(Out));
  return 0;
}

bool LoadTable(const std::string& FileName) {
  std::string bytes;
  if (!ReadFile(FileName, bytes)) {
    Error(FileName, "cannot read the table");
    return false;
  }
  TMemoryStream ms;
  if (!bytes.empty()) ms.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  ms.SetPosition(0);
  if (!LoadLanguageTableFromStream(&ms) || LangDT->PropCount() < LangGroupCount) {
    Error(FileName, "not a language table (the container or its layout was refused)");
    return false;
  }
  return true;
}

int Dump(const std::string& Table) {
  if (!LoadTable(Table)) return ReportErrors();
  std::string out;
  for (Integer g = 0; g < LangGroupCount; ++g) {
    const Integer n = CellTextToInt(LangDT->Props(g)->StoredText());
    for (Integer i = 0; i < n; ++i) {
      String zh, en;
      if (!FindLangText(LangDT, g, i, LangCellChinese, zh) || !FindLangText(LangDT, g, i, LangCellEnglish, en)) {
        Error(Table, "group " + std::to_string(g) + " index " + std::to_string(i) + " is missing");
        continue;
      }
      out += std::to_string(g) + "\t" + std::to_string(i) + "\t" + Escape(zh) + "\t" + Escape(en) + "\n";
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return ReportErrors();
}

// The next GetLangText(g, i, ...) call from From with both numbers literal (a
// call split over lines counts too); its position, or npos. AddColon tells
// whether the third argument is the literal true.
size_t FindCall(const std::string& Text, size_t From, long& Group, long& Index, bool& AddColon) {
  static const std::string name = "GetLangText";
  auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  for (size_t at = Text.find(name, From); at != std::string::npos; at = Text.find(name, at + 1)) {
    if (at > 0 && isWord(Text[at - 1])) continue;
    size_t p = at + name.size();
    auto skipBlanks = [&] {
      while (p < Text.size() && std::isspace(static_cast<unsigned char>(Text[p]))) ++p;
    };
    auto number = [&](long& Value) {
      skipBlanks();
      const size_t start = p;
      while (p < Text.size() && std::isdigit(static_cast<unsigned char>(Text[p])) && p - start < 6) ++p;
      if (p == start || (p < Text.size() && isWord(Text[p]))) return false;
      Value = std::strtol(Text.substr(start, p - start).c_str(), nullptr, 10);
      skipBlanks();
      if (p >= Text.size() || Text[p] != ',') return false;
      ++p;
      return true;
    };
    skipBlanks();
    if (p >= Text.size() || Text[p] != '(') continue;
    ++p;
    if (number(Group) && number(Index)) {
      skipBlanks();
      AddColon = Text.compare(p, 4, "true") == 0 && (p + 4 >= Text.size() || !isWord(Text[p + 4]));
      return at;
    }
  }
  return std::string::npos;
}

bool EndsWithColon(const String& S) { return !S.empty() && (S.back() == u':' || S.back() == u'\uFF1A'); }

int CheckCalls(const std::string& Table, const std::vector<std::string>& Dirs) {
  if (!LoadTable(Table)) return ReportErrors();
  namespace fs = std::filesystem;
  std::set<std::pair<long, long>> seen;
  long calls = 0;
  for (const auto& dir : Dirs) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
      Error(dir, "no such folder");
      continue;
    }
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(dir, ec), end; it != end; it.increment(ec)) {
      if (ec) break;
      const auto ext = it->path().extension().string();
      if (it->is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
      std::string text;
      if (!ReadFile(f.string(), text)) continue;
      long g = 0, i = 0;
      bool colon = false;
      for (size_t at = FindCall(text, 0, g, i, colon); at != std::string::npos;
           at = FindCall(text, at + 1, g, i, colon)) {
        ++calls;
        const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
        const std::string where = f.string() + ":" + std::to_string(line);
        String zh, en;
        const bool found = g < LangGroupCount && FindLangText(LangDT, static_cast<Integer>(g), static_cast<Integer>(i),
                                                               LangCellChinese, zh) &&
                           FindLangText(LangDT, static_cast<Integer>(g), static_cast<Integer>(i), LangCellEnglish, en);
        if (!found)
          Error(where, "GetLangText(" + std::to_string(g) + ", " + std::to_string(i) + ") is not in the table");
        else if (zh.empty() || en.empty())
          Error(where, "GetLangText(" + std::to_string(g) + ", " + std::to_string(i) + ") has an empty text");
        else if (colon && (EndsWithColon(zh) || EndsWithColon(en)))
          Error(where, "GetLangText(" + std::to_string(g) + ", " + std::to_string(i) +
                           ", true) appends \":\" to a text that already ends with a colon");
        seen.insert({g, i});
      }
    }
  }
  std::printf("langgen: %ld calls, %zu distinct pairs checked\n", calls, seen.size());
  return ReportErrors();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--dump") return Dump(args[1]);
    if (args.size() >= 3 && args[0] == "--check-calls")
      return CheckCalls(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    std::vector<long> minimum(LangGroupMinimum, LangGroupMinimum + LangGroupCount);
    if (args.size() >= 2 && args[0] == "--min") {
      std::vector<long> m;
      std::stringstream ss(args[1]);
      std::string part;
      while (std::getline(ss, part, ',')) {
        long v = 0;
        if (!ParseIndex(part, v)) {
          std::fputs(kUsage, stderr);
          return 2;
        }
        m.push_back(v);
      }
      if (m.size() != static_cast<size_t>(LangGroupCount)) {
        std::fputs(kUsage, stderr);
        return 2;
      }
      minimum = m;
      args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != static_cast<size_t>(1 + LangGroupCount) || args[0].rfind("--", 0) == 0) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return Generate(args[0], std::vector<std::string>(args.begin() + 1, args.end()), minimum);
  } catch (const Exception& e) {
    std::fprintf(stderr, "langgen: %s\n", UTF8Encode(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "langgen: %s\n", e.what());
    return 1;
  }
}

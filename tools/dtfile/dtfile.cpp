// dtfile: reads and writes data-table files from the command line.
//
//   dtfile dump FILE [--no-verify] [--iomode N]
//       prints the table text of FILE (deciphered, stored cell texts, UTF-8)
//   dtfile pack TEXTFILE OUT [--no-verify] [--iomode N]
//       writes the table text of TEXTFILE (UTF-8) as a data-table file
//
// The layers default to those of the settings files: check bytes on and
// IOMode 2 (the stream container). A file that cannot be read gives a
// one-line message on stderr and exit status 1; a wrong command line gives
// the usage text and exit status 2.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace {

const char kUsage[] =
    "usage: dtfile dump FILE [--no-verify] [--iomode N]\n"
    "       dtfile pack TEXTFILE OUT [--no-verify] [--iomode N]\n";

String Arg(const char* s) { return AnsiBytesToString(s, std::strlen(s)); }

int Fail(const String& Message) {
  std::fprintf(stderr, "dtfile: %s\n", UTF8Encode(Message).c_str());
  return 1;
}

// Reads the layers of a file; False when they do not give a table text.
bool ReadTable(const String& FileName, TDataTable& Table, String& Error) {
  if (!FileExists(FileName)) {
    Error = Format(u"%s: no such file", {FileName});
    return false;
  }
  TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
  if (fs.Size() == 0) {
    Error = Format(u"%s: the file is empty", {FileName});
    return false;
  }
  // A table text that passes every layer is reported as cmTableInit; a stream
  // refused by its check bytes or its container leaves the table untouched.
  bool loaded = false;
  Table.SetOnDataChanged([&](TDataTable*, TDataTableChangeMode Mode, TRow*, TCell*, Integer, Integer) {
    if (Mode == cmTableInit) loaded = true;
  });
  Table.LoadFromStream(&fs);
  Table.SetOnDataChanged(nullptr);
  if (!loaded) {
    Error = Format(u"%s: not a data-table file of these layers (check bytes or container refused)", {FileName});
    return false;
  }
  return true;
}

int Dump(const String& FileName, TDataTable& Table) {
  String error;
  if (!ReadTable(FileName, Table, error)) return Fail(error);
  const std::string out = UTF8Encode(Table.ToString(true));
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : Fail(u"cannot write the output");
}

int Pack(const String& TextFile, const String& OutFile, TDataTable& Table) {
  if (!FileExists(TextFile)) return Fail(Format(u"%s: no such file", {TextFile}));
  std::string bytes;
  {
    TFileStream fs(TextFile, fmOpenRead | fmShareDenyWrite);
    bytes.resize(static_cast<size_t>(fs.Size()));
    if (!bytes.empty()) fs.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);  // an editor's byte-order mark
  String text = UTF8Decode(bytes);
  // The text as a file would give it to the parser: line breaks of flag 1 go.
  if (Table.IOMode() & 1) text = RemoveRowBreaks(text);
  Table.Init(text);
  Table.SaveAs(OutFile);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> pos;
  bool verify = true;
  Integer ioMode = 2;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--no-verify") {
      verify = false;
    } else if (a == "--iomode" && i + 1 < argc) {
      const String v = Arg(argv[++i]);
      Integer n = 0;
      if (!TryStrToInt(v, n) || n < 0 || n > 7) {
        std::fputs(kUsage, stderr);
        return 2;
      }
      ioMode = n;
    } else {
      pos.push_back(a);
    }
  }
  const bool dump = pos.size() == 2 && pos[0] == "dump";
  const bool pack = pos.size() == 3 && pos[0] == "pack";
  if (!dump && !pack) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    TDataTable table;
    table.SetIOMode(ioMode);
    table.SetIsAddVerifyCode(verify);
    if (dump) return Dump(Arg(pos[1].c_str()), table);
    return Pack(Arg(pos[1].c_str()), Arg(pos[2].c_str()), table);
  } catch (const Exception& e) {
    return Fail(e.Message());
  } catch (const std::exception& e) {
    return Fail(AsciiToString(e.what()));
  }
}

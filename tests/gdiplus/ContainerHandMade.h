// A file container written by hand for the reader's tests: the payloads, the
// table text enciphered under the empty password, L and the tail $0A $14 $02.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/data/HyCrypUtils.h"
#include "rtl/SysUtils.h"

inline std::string HandMadeContainer(const std::string& Payloads, const String& TableText) {
  const std::string text = StringToAnsiBytes(EncryptStr(TableText, u"", 0, 0));
  std::string s = Payloads + text;
  const uint32_t len = static_cast<uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) s += static_cast<char>(len >> (8 * i));
  s += "\x0A\x14\x02";
  return s;
}

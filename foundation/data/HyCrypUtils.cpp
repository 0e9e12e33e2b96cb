// Salted string and stream containers, HashStr and TransformKey.
#include "foundation/data/HyCrypUtils.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>

#include "foundation/data/CryptoBackend.h"
#include "rtl/Haval.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

namespace {

namespace cb = cryptobackend;

constexpr size_t kPieceSize = 8192;

// Maximum key sizes in bytes, by cipher id.
constexpr Integer kMaxKeyBytes[CipherIdCount] = {56, 16, 32, 8, 24, 32, 256, 32, 16};
// Block sizes in bytes, by cipher id (0: stream cipher).
constexpr Integer kBlockBytes[CipherIdCount] = {8, 8, 16, 8, 8, 16, 0, 16, 8};
// Digest sizes in bytes, by hash id.
constexpr Integer kDigestBytes[HashIdCount] = {32, 16, 20, 32, 64};

bool ValidCipher(Integer Id) { return Id >= 0 && Id < CipherIdCount; }
bool ValidHash(Integer Id) { return Id >= 0 && Id < HashIdCount; }

RawByteString DigestOf(Integer HashId, const RawByteString& Data) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(Data.data());
  if (HashId == cb::hiHaval) {
    const THaval256Digest d = Haval256(p, Data.size());
    return RawByteString(d.begin(), d.end());
  }
  cb::Bytes d = cb::Hash(HashId, p, Data.size());
  return RawByteString(d.begin(), d.end());
}

std::mutex gRandomLock;
TContainerRandomSource gRandomSource;

const char kAlnum[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

String RandomAlnum(size_t N) {
  String s;
  for (size_t i = 0; i < N; ++i) s += static_cast<Char>(kAlnum[ContainerRandom(62)]);
  return s;
}

int B64Value(Char c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

// Bytes to UTF-16 text, an odd last byte dropped.
String Utf16BytesToStr(const RawByteString& B) {
  String s(B.size() / 2, u'\0');
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<Char>(static_cast<Byte>(B[2 * i]) | (static_cast<Byte>(B[2 * i + 1]) << 8));
  return s;
}

Byte* AsBytes(RawByteString& S) { return reinterpret_cast<Byte*>(S.data()); }
const Byte* AsBytes(const RawByteString& S) { return reinterpret_cast<const Byte*>(S.data()); }

}  // namespace

// ---------------------------------------------------------------------------
// Random source

TContainerRandomSource SetContainerRandomSource(TContainerRandomSource Source) {
  std::lock_guard<std::mutex> lock(gRandomLock);
  TContainerRandomSource old = std::move(gRandomSource);
  gRandomSource = std::move(Source);
  return old;
}

Integer ContainerRandom(Integer Range) {
  if (Range <= 1) return 0;
  {
    std::lock_guard<std::mutex> lock(gRandomLock);
    if (gRandomSource) {
      Integer v = gRandomSource(Range);
      return v < 0 || v >= Range ? 0 : v;
    }
  }
  return RandomInt(Range);
}

// ---------------------------------------------------------------------------
// Hash

THyHash::THyHash(Integer AId) : FId(AId & 0x7F) {
  if (!ValidHash(FId)) throw EArgumentException(u"Invalid hash id");
}

Integer THyHash::HashSize() const { return kDigestBytes[FId] * 8; }

RawByteString THyHash::Digest(const void* Data, size_t Len) const {
  return DigestOf(FId, RawByteString(static_cast<const char*>(Data), Len));
}

// ---------------------------------------------------------------------------
// Cipher

struct THyCipher::TImpl {
  std::unique_ptr<cb::BlockCipher> Block;
  std::unique_ptr<cb::StreamCipher> Stream;
  std::uint8_t Chain[16] = {};
  std::uint8_t Work[16] = {};
  size_t B = 0;

  // Stream ciphers take no chaining mode: true when the stream has handled
  // the data.
  bool Streamed(const Byte* In, Byte* Out, size_t Len) {
    if (!Block && !Stream) throw EInvalidOperation(u"Cipher not initialized");
    if (!Stream) return false;
    Stream->Process(In, Out, Len);
    return true;
  }

  // A short last block (bytes I..Len) is XORed with the encrypted chain.
  void XorTail(const Byte* In, Byte* Out, size_t I, size_t Len) {
    if (I >= Len) return;
    Block->EncryptBlock(Chain, Work);
    for (size_t k = 0; I + k < Len; ++k) Out[I + k] = In[I + k] ^ Work[k];
  }
};

THyCipher::THyCipher(Integer AId) : FId(AId & 0x7F), FImpl(std::make_unique<TImpl>()) {
  if (!ValidCipher(FId)) throw EArgumentException(u"Invalid cipher id");
}

THyCipher::~THyCipher() = default;

Integer THyCipher::BlockSize() const { return kBlockBytes[FId] * 8; }
Integer THyCipher::MaxKeySize() const { return kMaxKeyBytes[FId] * 8; }

Integer THyCipher::KeyBytesFor(Integer DigestBytes) const { return std::min(kMaxKeyBytes[FId], DigestBytes); }

void THyCipher::Init(const RawByteString& Digest, const Byte* IV) {
  RawByteString key = Digest.substr(0, static_cast<size_t>(KeyBytesFor(static_cast<Integer>(Digest.size()))));
  switch (FId) {
    case cb::ciRijndael:
    case cb::ciTwofish:
      key.resize(key.size() <= 16 ? 16 : key.size() <= 24 ? 24 : 32, '\0');
      break;
    case cb::ciTripleDes:
      if (key.size() != 16) key.resize(24, '\0');  // 16 bytes: two-key form (K3 = K1)
      break;
    default:
      break;
  }
  FImpl->Block.reset();
  FImpl->Stream.reset();
  if (FId == CipherIdRC4) {
    FImpl->Stream = cb::CreateRC4(AsBytes(key), key.size());
    FImpl->B = 0;
  } else {
    FImpl->Block = cb::CreateBlockCipher(FId, AsBytes(key), key.size());
    FImpl->B = FImpl->Block->BlockSize();
    std::memcpy(FImpl->Chain, IV, FImpl->B);
  }
}

void THyCipher::EncryptCBC(const Byte* In, Byte* Out, size_t Len) {
  TImpl& m = *FImpl;
  if (m.Streamed(In, Out, Len)) return;
  const size_t b = m.B;
  size_t i = 0;
  for (; i + b <= Len; i += b) {
    for (size_t k = 0; k < b; ++k) m.Work[k] = In[i + k] ^ m.Chain[k];
    m.Block->EncryptBlock(m.Work, m.Chain);
    std::memcpy(Out + i, m.Chain, b);
  }
  m.XorTail(In, Out, i, Len);
}

void THyCipher::DecryptCBC(const Byte* In, Byte* Out, size_t Len) {
  TImpl& m = *FImpl;
  if (m.Streamed(In, Out, Len)) return;
  const size_t b = m.B;
  std::uint8_t c[16];
  size_t i = 0;
  for (; i + b <= Len; i += b) {
    std::memcpy(c, In + i, b);
    m.Block->DecryptBlock(c, m.Work);
    for (size_t k = 0; k < b; ++k) Out[i + k] = m.Work[k] ^ m.Chain[k];
    std::memcpy(m.Chain, c, b);
  }
  m.XorTail(In, Out, i, Len);
}

void THyCipher::EncryptCFB8bit(const Byte* In, Byte* Out, size_t Len) {
  TImpl& m = *FImpl;
  if (m.Streamed(In, Out, Len)) return;
  const size_t b = m.B;
  for (size_t i = 0; i < Len; ++i) {
    m.Block->EncryptBlock(m.Chain, m.Work);
    Byte c = In[i] ^ m.Work[0];
    std::memmove(m.Chain, m.Chain + 1, b - 1);
    m.Chain[b - 1] = c;
    Out[i] = c;
  }
}

void THyCipher::DecryptCFB8bit(const Byte* In, Byte* Out, size_t Len) {
  TImpl& m = *FImpl;
  if (m.Streamed(In, Out, Len)) return;
  const size_t b = m.B;
  for (size_t i = 0; i < Len; ++i) {
    m.Block->EncryptBlock(m.Chain, m.Work);
    Byte c = In[i];
    std::memmove(m.Chain, m.Chain + 1, b - 1);
    m.Chain[b - 1] = c;
    Out[i] = c ^ m.Work[0];
  }
}

THyCipher* CreateCipherById(Integer Id) {
  return ValidCipher(Id & 0x7F) ? new THyCipher(Id) : nullptr;
}

THyHash* CreateHashById(Integer Id) { return ValidHash(Id & 0x7F) ? new THyHash(Id) : nullptr; }

// ---------------------------------------------------------------------------
// Text helpers

RawByteString StrToUtf16Bytes(const String& S) {
  RawByteString b(S.size() * 2, '\0');
  for (size_t i = 0; i < S.size(); ++i) {
    b[2 * i] = static_cast<char>(S[i] & 0xFF);
    b[2 * i + 1] = static_cast<char>(S[i] >> 8);
  }
  return b;
}

String Base64EncodeBytes(const RawByteString& Data) {
  return AsciiToString(cb::Base64Encode(AsBytes(Data), Data.size()));
}

RawByteString Base64DecodeStr(const String& S) {
  RawByteString out;
  const size_t groups = S.size() / 4;
  out.reserve(groups * 3);
  for (size_t g = 0; g < groups; ++g) {
    const Char* p = S.data() + 4 * g;
    int v[4];
    int pad = 0;
    for (int k = 0; k < 4; ++k) {
      if (p[k] == u'=' && k >= 2) {
        v[k] = 0;
        ++pad;
      } else {
        if (pad > 0) return RawByteString();  // data after padding
        v[k] = B64Value(p[k]);
        if (v[k] < 0) return RawByteString();
      }
    }
    if (pad > 0 && g + 1 != groups) return RawByteString();
    const std::uint32_t n = (static_cast<std::uint32_t>(v[0]) << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
    out += static_cast<char>(n >> 16);
    if (pad < 2) out += static_cast<char>((n >> 8) & 0xFF);
    if (pad < 1) out += static_cast<char>(n & 0xFF);
  }
  return out;
}

String HashStr(const String& Str, Integer HashId) {
  if (Str.empty() || !ValidHash(HashId)) return String();
  try {
    const RawByteString d = DigestOf(HashId, StrToUtf16Bytes(Str));
    static const char hex[] = "0123456789ABCDEF";
    String r;
    for (unsigned char c : d) {
      r += static_cast<Char>(hex[c >> 4]);
      r += static_cast<Char>(hex[c & 15]);
    }
    return r;
  } catch (const std::exception&) {
    return String();
  }
}

// ---------------------------------------------------------------------------
// String container

String EncryptStr(const String& Str, const String& Password, Integer CipherId, Integer HashId) {
  if (Str.empty() || !ValidCipher(CipherId) || !ValidHash(HashId)) return String();
  try {
    const String salt = RandomAlnum(8);
    // Salt characters are at least '0' (48), so the id characters stay printable.
    String r = salt;
    r += static_cast<Char>(salt[3] - CipherId);
    r += static_cast<Char>(salt[4] - HashId);
    const RawByteString digest = DigestOf(HashId, StrToUtf16Bytes(salt + Password));
    THyCipher cipher(CipherId);
    const size_t b = static_cast<size_t>(cipher.BlockSize() / 8);
    Byte iv[16] = {};
    if (b > 0) {
      const String ivs = RandomAlnum(b);
      for (size_t k = 0; k < b; ++k) iv[k] = static_cast<Byte>(ivs[k]);
      r += ivs;
    }
    cipher.Init(digest, iv);
    RawByteString data = StrToUtf16Bytes(Str);
    cipher.EncryptCFB8bit(AsBytes(data), AsBytes(data), data.size());
    r += Base64EncodeBytes(data);
    return r;
  } catch (const std::exception&) {
    return String();
  }
}

String EncryptStrRandom(const String& Str, const String& Password) {
  const Integer c = ContainerRandom(CipherIdCount);
  const Integer h = ContainerRandom(HashIdCount);
  return EncryptStr(Str, Password, c, h);
}

String DecryptStr(const String& Container, const String& Password) {
  if (Container.size() <= 10) return String();
  try {
    const Integer cipherId = static_cast<Integer>(Container[3]) - static_cast<Integer>(Container[8]);
    const Integer hashId = static_cast<Integer>(Container[4]) - static_cast<Integer>(Container[9]);
    if (!ValidCipher(cipherId) || !ValidHash(hashId)) return String();
    const RawByteString digest = DigestOf(hashId, StrToUtf16Bytes(Container.substr(0, 8) + Password));
    THyCipher cipher(cipherId);
    const size_t b = static_cast<size_t>(cipher.BlockSize() / 8);
    Byte iv[16] = {};
    if (b > 0) {
      if (Container.size() < 10 + b) return String();
      for (size_t k = 0; k < b; ++k) {
        const Char c = Container[10 + k];
        if (c >= 0x80) return String();  // IV characters are ASCII in every valid container
        iv[k] = static_cast<Byte>(c);
      }
    }
    cipher.Init(digest, iv);
    RawByteString data = Base64DecodeStr(Container.substr(10 + b));
    if (data.empty()) return String();
    cipher.DecryptCFB8bit(AsBytes(data), AsBytes(data), data.size());
    return Utf16BytesToStr(data);
  } catch (const std::exception&) {
    return String();
  }
}

// ---------------------------------------------------------------------------
// Stream container

bool EncryptToStream(const RawByteString& Data, const String& Password, Integer CipherId, TStream* OutStream,
                     Integer HashId) {
  if (Data.empty() || OutStream == nullptr || !ValidCipher(CipherId) || !ValidHash(HashId)) return false;
  try {
    Byte head[10];
    for (int k = 0; k < 8; ++k) head[k] = static_cast<Byte>(ContainerRandom(242));
    head[8] = static_cast<Byte>((CipherId + head[4]) & 0xFF);
    head[9] = static_cast<Byte>((HashId + head[5]) & 0xFF);
    OutStream->WriteBuffer(head, 10);
    const RawByteString digest =
        DigestOf(HashId, RawByteString(reinterpret_cast<const char*>(head), 8) + StrToUtf16Bytes(Password));
    THyCipher cipher(CipherId);
    const size_t b = static_cast<size_t>(cipher.BlockSize() / 8);
    Byte iv[16] = {};
    if (b > 0) {
      for (size_t k = 0; k < b; ++k) iv[k] = static_cast<Byte>(ContainerRandom(256));
      OutStream->WriteBuffer(iv, static_cast<Integer>(b));
    }
    cipher.Init(digest, iv);
    Byte piece[kPieceSize];
    for (size_t pos = 0; pos < Data.size(); pos += kPieceSize) {
      const size_t n = std::min(kPieceSize, Data.size() - pos);
      cipher.EncryptCBC(AsBytes(Data) + pos, piece, n);
      OutStream->WriteBuffer(piece, static_cast<Integer>(n));
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void DecryptFromStream(const String& Password, TStream* Stream, RawByteString& Data) {
  Data.clear();
  if (Stream == nullptr) return;
  try {
    const Int64 size = Stream->Size();
    if (size <= 9) return;
    Stream->SetPosition(0);
    Byte head[10];
    Stream->ReadBuffer(head, 10);
    const Integer cipherId = ((head[8] - head[4]) & 0xFF) & 0x7F;
    const Integer hashId = ((head[9] - head[5]) & 0xFF) & 0x7F;
    if (!ValidCipher(cipherId) || !ValidHash(hashId)) return;
    const RawByteString digest =
        DigestOf(hashId, RawByteString(reinterpret_cast<const char*>(head), 8) + StrToUtf16Bytes(Password));
    THyCipher cipher(cipherId);
    const size_t b = static_cast<size_t>(cipher.BlockSize() / 8);
    Byte iv[16] = {};
    if (b > 0) {
      if (size < static_cast<Int64>(10 + b)) return;
      Stream->ReadBuffer(iv, static_cast<Integer>(b));
    }
    cipher.Init(digest, iv);
    RawByteString out;
    Byte in[kPieceSize];
    Byte piece[kPieceSize];
    Int64 left = size - 10 - static_cast<Int64>(b);
    while (left > 0) {
      const size_t n = static_cast<size_t>(std::min<Int64>(left, kPieceSize));
      Stream->ReadBuffer(in, static_cast<Integer>(n));
      cipher.DecryptCBC(in, piece, n);
      out.append(reinterpret_cast<const char*>(piece), n);
      left -= static_cast<Int64>(n);
    }
    Data = std::move(out);
  } catch (const std::exception&) {
    Data.clear();
  }
}

// ---------------------------------------------------------------------------
// Key transform

String TransformKey(const String& Key) {
  if (Key.empty()) return String();
  try {
    const RawByteString digest = DigestOf(0, StrToUtf16Bytes(u"k4#pz;2w"));
    THyCipher cipher(7);
    Byte iv[16];
    for (int k = 0; k < 16; ++k) iv[k] = static_cast<Byte>(k);
    cipher.Init(digest, iv);
    RawByteString data = StrToUtf16Bytes(Key);
    cipher.EncryptCFB8bit(AsBytes(data), AsBytes(data), data.size());
    return Base64EncodeBytes(data);
  } catch (const std::exception&) {
    return String();
  }
}

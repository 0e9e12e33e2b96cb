// Salted string and stream containers over the block ciphers and hashes, the
// digest-to-hex routine and the key transform of the data-table files.
// Portable: no Windows header; the cipher library is reached through
// foundation/data/CryptoBackend.h.
#pragma once

#include <functional>
#include <memory>

#include "rtl/Classes.h"
#include "rtl/System.h"

// Ids stored in the containers.
//   ciphers: 0 Blowfish, 1 CAST-128, 2 CAST-256, 3 DES, 4 triple DES,
//            5 Rijndael, 6 RC4, 7 Twofish, 8 IDEA
//   hashes:  0 HAVAL (256 bits, 5 passes), 1 MD5, 2 SHA-1, 3 SHA-256, 4 SHA-512
inline constexpr Integer CipherIdCount = 9;
inline constexpr Integer HashIdCount = 5;
inline constexpr Integer CipherIdRC4 = 6;

// A hash of the id table.
class THyHash : public TObject {
 public:
  explicit THyHash(Integer AId);
  Integer Id() const { return FId; }
  // Digest size in bits.
  Integer HashSize() const;
  // Digest of the bytes.
  RawByteString Digest(const void* Data, size_t Len) const;
  RawByteString Digest(const RawByteString& Data) const { return Digest(Data.data(), Data.size()); }

 private:
  Integer FId;
};

// A cipher of the id table. Init keys it from the leading bytes of a digest
// (the containers' keying rules: at most the cipher's maximum key size, then
// the cipher's own padding) and, for a block cipher, an IV of BlockSize/8
// bytes. The chaining value is carried from call to call, so data may be
// processed in pieces of whole blocks.
class THyCipher : public TObject {
 public:
  explicit THyCipher(Integer AId);
  ~THyCipher() override;
  Integer Id() const { return FId; }
  // Block size in bits; 0 for the stream cipher RC4.
  Integer BlockSize() const;
  // Maximum key size in bits.
  Integer MaxKeySize() const;
  // Key bytes taken from a digest of DigestBytes bytes, before padding.
  Integer KeyBytesFor(Integer DigestBytes) const;

  void Init(const RawByteString& Digest, const Byte* IV);
  // CBC; a partial last block is the chaining value enciphered once more and
  // XORed into the remaining bytes. RC4 XORs its key stream.
  void EncryptCBC(const Byte* In, Byte* Out, size_t Len);
  void DecryptCBC(const Byte* In, Byte* Out, size_t Len);
  // CFB with 8-bit feedback. RC4 XORs its key stream.
  void EncryptCFB8bit(const Byte* In, Byte* Out, size_t Len);
  void DecryptCFB8bit(const Byte* In, Byte* Out, size_t Len);

 private:
  struct TImpl;
  Integer FId;
  std::unique_ptr<TImpl> FImpl;
};

// New cipher / hash for a valid id (low seven bits used); nullptr for another.
THyCipher* CreateCipherById(Integer Id);
THyHash* CreateHashById(Integer Id);

// UTF-16 little-endian bytes of a text, two per character, no terminator.
RawByteString StrToUtf16Bytes(const String& S);

// Upper-case hex of the digest of Str's UTF-16 bytes; empty for an empty Str
// or an invalid id.
String HashStr(const String& Str, Integer HashId);

// String container: salt, id characters, IV characters, Base64 of the
// CFB-8 (or RC4) ciphertext of the UTF-16 bytes. Empty for an empty Str or
// on any failure.
String EncryptStr(const String& Str, const String& Password, Integer CipherId, Integer HashId);
String EncryptStrRandom(const String& Str, const String& Password);
String DecryptStr(const String& Container, const String& Password);

// Stream container: 8 salt bytes, two id bytes, IV, CBC (or RC4) ciphertext.
// False for empty Data (nothing written) or on a failure, a write error of
// OutStream included.
bool EncryptToStream(const RawByteString& Data, const String& Password, Integer CipherId, TStream* OutStream,
                     Integer HashId);
// Reads the container from the start of Stream to its end; empty on any failure.
void DecryptFromStream(const String& Password, TStream* Stream, RawByteString& Data);

// The password a data table derives from its key; empty for an empty key.
String TransformKey(const String& Key);

// Base64 (standard alphabet, "=" padding, no line breaks). The decoder ignores
// a trailing group of fewer than four characters; any other bad input gives
// an empty result.
String Base64EncodeBytes(const RawByteString& Data);
RawByteString Base64DecodeStr(const String& S);

// The generator of check bytes, salts and IVs: returns a value in 0..Range-1.
// By default the runtime library's OS-seeded generator; tests may install
// their own (SetContainerRandomSource returns the previous one; an empty
// function restores the default).
using TContainerRandomSource = std::function<Integer(Integer Range)>;
TContainerRandomSource SetContainerRandomSource(TContainerRandomSource Source);
Integer ContainerRandom(Integer Range);

// The cipher library seen through plain types. Only foundation/native/ includes
// the library's own headers; everything else (Winelib units included) uses
// this interface of bytes and sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cryptobackend {

using Bytes = std::vector<std::uint8_t>;

// Cipher ids as the containers number them.
enum CipherId : int {
  ciBlowfish = 0,
  ciCast128 = 1,
  ciCast256 = 2,
  ciDes = 3,
  ciTripleDes = 4,
  ciRijndael = 5,
  ciRC4 = 6,
  ciTwofish = 7,
  ciIdea = 8,
};

// Hash ids of the library's hashes (HAVAL, id 0, is the runtime library's).
enum HashId : int {
  hiHaval = 0,
  hiMD5 = 1,
  hiSHA1 = 2,
  hiSHA256 = 3,
  hiSHA512 = 4,
};

// A keyed block cipher: single-block (ECB) encipher and decipher.
class BlockCipher {
 public:
  virtual ~BlockCipher() = default;
  virtual std::size_t BlockSize() const = 0;
  virtual void EncryptBlock(const std::uint8_t* In, std::uint8_t* Out) = 0;
  virtual void DecryptBlock(const std::uint8_t* In, std::uint8_t* Out) = 0;
};

// A keyed stream cipher (RC4): XORs its key stream into the data.
class StreamCipher {
 public:
  virtual ~StreamCipher() = default;
  virtual void Process(const std::uint8_t* In, std::uint8_t* Out, std::size_t Len) = 0;
};

// Keys a block cipher (ids 0-5, 7, 8) with exactly the given key bytes. The
// caller has already applied the containers' key-length rules; a length the
// cipher refuses throws std::exception (never a library type).
std::unique_ptr<BlockCipher> CreateBlockCipher(int Id, const std::uint8_t* Key, std::size_t KeyLen);
// Keys RC4 with the given key bytes (1..256).
std::unique_ptr<StreamCipher> CreateRC4(const std::uint8_t* Key, std::size_t KeyLen);

// Digest of the library hashes (ids 1-4). Throws std::invalid_argument for another id.
Bytes Hash(int Id, const std::uint8_t* Data, std::size_t Len);
// Digest size in bytes of ids 1-4; 0 for another id.
std::size_t HashSize(int Id);

// Standard Base64 ("+", "/", "=" padding), one line, no line breaks.
std::string Base64Encode(const std::uint8_t* Data, std::size_t Len);

}  // namespace cryptobackend

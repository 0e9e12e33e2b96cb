// The cipher library's ciphers, hashes and Base64 behind CryptoBackend.h.
// Native unit: the only place that includes the library's headers.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1

#include "foundation/data/CryptoBackend.h"

#include <cryptopp/aes.h>
#include <cryptopp/arc4.h>
#include <cryptopp/base64.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/cast.h>
#include <cryptopp/des.h>
#include <cryptopp/filters.h>
#include <cryptopp/idea.h>
#include <cryptopp/md5.h>
#include <cryptopp/sha.h>
#include <cryptopp/twofish.h>

#include <stdexcept>

namespace cryptobackend {
namespace {

template <class Cipher>
class BlockImpl final : public BlockCipher {
 public:
  BlockImpl(const std::uint8_t* Key, std::size_t KeyLen) {
    if (!FEnc.IsValidKeyLength(KeyLen)) throw std::invalid_argument("invalid key length");
    FEnc.SetKey(Key, KeyLen);
    FDec.SetKey(Key, KeyLen);
  }
  std::size_t BlockSize() const override { return Cipher::BLOCKSIZE; }
  void EncryptBlock(const std::uint8_t* In, std::uint8_t* Out) override { FEnc.ProcessBlock(In, Out); }
  void DecryptBlock(const std::uint8_t* In, std::uint8_t* Out) override { FDec.ProcessBlock(In, Out); }

 private:
  typename Cipher::Encryption FEnc;
  typename Cipher::Decryption FDec;
};

class RC4Impl final : public StreamCipher {
 public:
  RC4Impl(const std::uint8_t* Key, std::size_t KeyLen) {
    if (!FCipher.IsValidKeyLength(KeyLen)) throw std::invalid_argument("invalid key length");
    FCipher.SetKey(Key, KeyLen);
  }
  void Process(const std::uint8_t* In, std::uint8_t* Out, std::size_t Len) override {
    if (Len > 0) FCipher.ProcessData(Out, In, Len);
  }

 private:
  CryptoPP::Weak::ARC4 FCipher;
};

template <class H>
Bytes Digest(const std::uint8_t* Data, std::size_t Len) {
  H h;
  Bytes out(H::DIGESTSIZE);
  h.CalculateDigest(out.data(), Data, Len);
  return out;
}

}  // namespace

std::unique_ptr<BlockCipher> CreateBlockCipher(int Id, const std::uint8_t* Key, std::size_t KeyLen) {
  switch (Id) {
    case ciBlowfish: return std::make_unique<BlockImpl<CryptoPP::Blowfish>>(Key, KeyLen);
    case ciCast128: return std::make_unique<BlockImpl<CryptoPP::CAST128>>(Key, KeyLen);
    case ciCast256: return std::make_unique<BlockImpl<CryptoPP::CAST256>>(Key, KeyLen);
    case ciDes: return std::make_unique<BlockImpl<CryptoPP::DES>>(Key, KeyLen);
    case ciTripleDes:
      if (KeyLen == 16) return std::make_unique<BlockImpl<CryptoPP::DES_EDE2>>(Key, KeyLen);
      return std::make_unique<BlockImpl<CryptoPP::DES_EDE3>>(Key, KeyLen);
    case ciRijndael: return std::make_unique<BlockImpl<CryptoPP::AES>>(Key, KeyLen);
    case ciTwofish: return std::make_unique<BlockImpl<CryptoPP::Twofish>>(Key, KeyLen);
    case ciIdea: return std::make_unique<BlockImpl<CryptoPP::IDEA>>(Key, KeyLen);
    default: throw std::invalid_argument("not a block cipher id");
  }
}

std::unique_ptr<StreamCipher> CreateRC4(const std::uint8_t* Key, std::size_t KeyLen) {
  return std::make_unique<RC4Impl>(Key, KeyLen);
}

Bytes Hash(int Id, const std::uint8_t* Data, std::size_t Len) {
  static const std::uint8_t kEmpty = 0;
  if (Data == nullptr) Data = &kEmpty;
  switch (Id) {
    case hiMD5: return Digest<CryptoPP::Weak::MD5>(Data, Len);
    case hiSHA1: return Digest<CryptoPP::SHA1>(Data, Len);
    case hiSHA256: return Digest<CryptoPP::SHA256>(Data, Len);
    case hiSHA512: return Digest<CryptoPP::SHA512>(Data, Len);
    default: throw std::invalid_argument("not a library hash id");
  }
}

std::size_t HashSize(int Id) {
  switch (Id) {
    case hiMD5: return CryptoPP::Weak::MD5::DIGESTSIZE;
    case hiSHA1: return CryptoPP::SHA1::DIGESTSIZE;
    case hiSHA256: return CryptoPP::SHA256::DIGESTSIZE;
    case hiSHA512: return CryptoPP::SHA512::DIGESTSIZE;
    default: return 0;
  }
}

std::string Base64Encode(const std::uint8_t* Data, std::size_t Len) {
  std::string out;
  if (Len == 0) return out;
  CryptoPP::StringSource src(Data, Len, true,
                             new CryptoPP::Base64Encoder(new CryptoPP::StringSink(out), false /*insertLineBreaks*/));
  return out;
}

}  // namespace cryptobackend

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <openssl/evp.h>

#include "kxencrypt.h"

namespace {

const char kKey[] = "0123456789abcdef0123456789ABCDEF";

// IV then the AES-256-CBC ciphertext with PKCS#7 padding, as the package tool writes it.
std::vector<unsigned char> encrypt(const std::string &plain, const char *key) {
  std::vector<unsigned char> out(AES_WEB_IV_LENGTH + plain.size() + 16);
  for (int i = 0; i < AES_WEB_IV_LENGTH; i++) out[i] = (unsigned char)(i * 7 + 1);
  EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, EVP_aes_256_cbc(), nullptr, (const unsigned char *)key, out.data());
  int n = 0, last = 0;
  EVP_EncryptUpdate(ctx, out.data() + AES_WEB_IV_LENGTH, &n, (const unsigned char *)plain.data(),
                    (int)plain.size());
  EVP_EncryptFinal_ex(ctx, out.data() + AES_WEB_IV_LENGTH + n, &last);
  EVP_CIPHER_CTX_free(ctx);
  out.resize(AES_WEB_IV_LENGTH + n + last);
  return out;
}

int decrypt(const std::vector<unsigned char> &data, const char *key, std::string *plain) {
  std::vector<unsigned char> out(data.size() + 1);
  int n = aesDecryWeb(data.data(), key, out.data(), (int)data.size());
  if (n > 0) plain->assign((const char *)out.data(), (size_t)n);
  return n;
}

TEST(AesDecryWeb, RoundTripsEveryPaddingLength) {
  for (size_t size : {1u, 15u, 16u, 17u, 1000u}) {
    std::string plain(size, 'x');
    plain[0] = 'P';
    std::string back;
    ASSERT_EQ(decrypt(encrypt(plain, kKey), kKey, &back), (int)size);
    EXPECT_EQ(back, plain);
  }
}

TEST(AesDecryWeb, RefusesWrongKeysAndBrokenData) {
  std::vector<unsigned char> data = encrypt("branding package", kKey);
  std::string back;
  EXPECT_LE(decrypt(data, "short", &back), 0);
  EXPECT_LE(decrypt(data, "0123456789abcdef0123456789ABCDEFX", &back), 0);
  std::vector<unsigned char> cut(data.begin(), data.end() - 1);
  EXPECT_LE(decrypt(cut, kKey, &back), 0);
  std::vector<unsigned char> iv_only(data.begin(), data.begin() + AES_WEB_IV_LENGTH);
  EXPECT_LE(decrypt(iv_only, kKey, &back), 0);
  // A wrong key of the right length fails on the padding (almost always;
  // this pair is checked to).
  EXPECT_LE(decrypt(data, "ffffffffffffffffffffffffffffffff", &back), 0);
}

}  // namespace

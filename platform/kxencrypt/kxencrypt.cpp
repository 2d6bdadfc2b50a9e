#include "kxencrypt.h"

#include <cstring>

#include <openssl/evp.h>

namespace {

struct CipherContext {
  EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
  ~CipherContext() { EVP_CIPHER_CTX_free(ctx); }
};

}  // namespace

int aesDecryWeb(const unsigned char *data, const char *key, unsigned char *output, int length) {
  if (!data || !key || !output || strlen(key) != AES_WEB_KEY_LENGTH) return -1;
  int body = length - AES_WEB_IV_LENGTH;
  if (body <= 0 || body % 16 != 0) return -1;
  CipherContext c;
  if (!c.ctx) return -1;
  if (EVP_DecryptInit_ex(c.ctx, EVP_aes_256_cbc(), nullptr, (const unsigned char *)key, data) != 1) {
    return -1;
  }
  int written = 0, last = 0;
  if (EVP_DecryptUpdate(c.ctx, output, &written, data + AES_WEB_IV_LENGTH, body) != 1) return -1;
  if (EVP_DecryptFinal_ex(c.ctx, output + written, &last) != 1) return -1;
  return written + last;
}

// Decryption of the packages the web page uploads (branding packages).
#pragma once

// Decrypts `length` bytes of `data` with the 32-character `key`.
//
// Cipher: AES-256 in CBC mode; the key's 32 characters are the 32 key bytes.
// The data is a 16-byte initialisation vector followed by the ciphertext,
// padded as PKCS#7 (a multiple of 16 bytes). `output` must hold `length`
// bytes. Returns the plaintext length, or -1 when the data is too short, not
// whole blocks, the key is not 32 characters, or the padding is wrong (a
// wrong key as a rule).
int aesDecryWeb(const unsigned char *data, const char *key, unsigned char *output, int length);

constexpr int AES_WEB_KEY_LENGTH = 32;
constexpr int AES_WEB_IV_LENGTH = 16;

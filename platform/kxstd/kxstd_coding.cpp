#include <cctype>
#include <cstring>

#include "kxstd.h"

namespace {

const char kStd[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kUrl[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int sextet(char c, const char *alphabet) {
  const char *p = c ? strchr(alphabet, c) : nullptr;
  return p ? (int)(p - alphabet) : -1;
}

// Decodes up to in_len characters; '=' ends the data, blanks are skipped.
int decode(const char *in, int in_len, unsigned char *out, int out_size, const char *alphabet) {
  if (!in || !out || out_size < 0) return -1;
  unsigned acc = 0;
  int bits = 0, n = 0;
  for (int i = 0; i < in_len && in[i]; i++) {
    char c = in[i];
    if (c == '=') break;
    if (isspace((unsigned char)c)) continue;
    int v = sextet(c, alphabet);
    if (v < 0) return -1;
    acc = (acc << 6) | (unsigned)v;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      if (n >= out_size) return -1;
      out[n++] = (unsigned char)(acc >> bits);
    }
  }
  return n;
}

int hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = (char)tolower((unsigned char)c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

int kx_base64_decode(const char *in, int in_len, unsigned char *out, int out_size) {
  return decode(in, in_len, out, out_size, kStd);
}

int base64DecodeUrl(const char *in, unsigned char *out, int out_size) {
  return in ? decode(in, (int)strlen(in), out, out_size, kUrl) : -1;
}

int base64EncodeUrl(const unsigned char *in, int in_len, char *out, int out_size) {
  if (!in || !out || in_len < 0) return -1;
  // Computed in 64 bits: in_len * 4 would overflow an int for large inputs.
  long long need = ((long long)in_len * 4 + 2) / 3;
  if (need + 1 > out_size) return -1;
  int n = 0;
  for (int i = 0; i < in_len; i += 3) {
    unsigned v = (unsigned)in[i] << 16;
    if (i + 1 < in_len) v |= (unsigned)in[i + 1] << 8;
    if (i + 2 < in_len) v |= in[i + 2];
    int chars = in_len - i >= 3 ? 4 : in_len - i + 1;
    for (int k = 0; k < chars; k++) out[n++] = kUrl[(v >> (18 - 6 * k)) & 63];
  }
  out[n] = '\0';
  return n;
}

int get_url_encode(const char *in, char *out, int out_size) {
  if (!in || !out || out_size <= 0) return 0;
  static const char digits[] = "0123456789ABCDEF";
  int n = 0;
  for (const unsigned char *p = (const unsigned char *)in; *p; p++) {
    bool plain = isalnum(*p) || strchr("-_.~", *p);
    int width = plain ? 1 : 3;
    if (n + width > out_size - 1) break;
    if (plain) {
      out[n++] = (char)*p;
    } else {
      out[n++] = '%';
      out[n++] = digits[*p >> 4];
      out[n++] = digits[*p & 15];
    }
  }
  out[n] = '\0';
  return n;
}

int get_url_decode(const char *in, char *out, int out_size) {
  if (!in || !out || out_size <= 0) return 0;
  int n = 0;
  for (const char *p = in; *p && n < out_size - 1; p++) {
    if (*p == '%' && hex(p[1]) >= 0 && hex(p[2]) >= 0) {
      out[n++] = (char)(hex(p[1]) * 16 + hex(p[2]));
      p += 2;
    } else {
      out[n++] = *p == '+' ? ' ' : *p;
    }
  }
  out[n] = '\0';
  return n;
}

uint64_t get_channel_mask(const char *text) {
  uint64_t mask = 0;
  for (int i = 0; text && i < 64 && text[i]; i++) {
    if (text[i] == '1') mask |= 1ULL << i;
  }
  return mask;
}

void kx_set_bit(uint64_t *mask, int bit) {
  if (mask && bit >= 0 && bit < 64) *mask |= 1ULL << bit;
}

// MD5 digest (RFC 1321) of a text's UTF-8 bytes, as 32 lower-case hex
// digits. The recorder's login takes the digest of the password, never the
// password itself, so the page computes it here.
(function (global) {
  'use strict';

  // Left-rotation amounts, four per round.
  const SHIFT = [7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21];
  // K[i] = floor(|sin(i + 1)| * 2^32), as signed 32-bit words.
  const K = new Int32Array(64);
  for (let i = 0; i < 64; i++) K[i] = Math.floor(Math.abs(Math.sin(i + 1)) * 4294967296) | 0;

  // The message as little-endian 32-bit words: bytes, the 0x80 marker, zero
  // padding to 56 bytes modulo 64, then the length in bits (64-bit).
  function padded(bytes) {
    const n = bytes.length;
    const blocks = ((n + 8) >>> 6) + 1;
    const words = new Int32Array(blocks * 16);
    for (let i = 0; i < n; i++) words[i >> 2] |= bytes[i] << ((i & 3) * 8);
    words[n >> 2] |= 0x80 << ((n & 3) * 8);
    words[blocks * 16 - 2] = (n * 8) | 0;
    words[blocks * 16 - 1] = Math.floor(n / 0x20000000);
    return words;
  }

  function round(i, b, c, d) {
    if (i < 16) return [(b & c) | (~b & d), i];
    if (i < 32) return [(d & b) | (~d & c), (5 * i + 1) & 15];
    if (i < 48) return [b ^ c ^ d, (3 * i + 5) & 15];
    return [c ^ (b | ~d), (7 * i) & 15];
  }

  function hexWord(w) {
    let out = '';
    for (let i = 0; i < 4; i++) out += ((w >>> (i * 8)) & 0xff).toString(16).padStart(2, '0');
    return out;
  }

  function md5(text) {
    const words = padded(new TextEncoder().encode(String(text)));
    const h = [0x67452301, 0xefcdab89 | 0, 0x98badcfe | 0, 0x10325476];
    for (let block = 0; block < words.length; block += 16) {
      let [a, b, c, d] = h;
      for (let i = 0; i < 64; i++) {
        const [f, g] = round(i, b, c, d);
        const s = SHIFT[(i >> 4) * 4 + (i & 3)];
        const x = (a + f + K[i] + words[block + g]) | 0;
        a = d;
        d = c;
        c = b;
        b = (b + ((x << s) | (x >>> (32 - s)))) | 0;
      }
      h[0] = (h[0] + a) | 0;
      h[1] = (h[1] + b) | 0;
      h[2] = (h[2] + c) | 0;
      h[3] = (h[3] + d) | 0;
    }
    return h.map(hexWord).join('');
  }

  global.md5 = md5;
})(window);

#include "p2p.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

namespace {

constexpr int kBlock = P2P_RSA_BITS / 8;
constexpr int kOaepOverhead = 2 * 20 + 2;  // OAEP with SHA-1
constexpr int kChunk = kBlock - kOaepOverhead;
constexpr int kFrameHead = 8;

const std::string kPrivateFile = std::string(P2P_KEY_DIR) + "/client.key";
const std::string kPublicFile = std::string(P2P_KEY_DIR) + "/client.pub";
const std::string kServerFile = std::string(P2P_KEY_DIR) + "/server.pub";

struct PkeyFree {
  void operator()(EVP_PKEY *k) const { EVP_PKEY_free(k); }
};
struct CtxFree {
  void operator()(EVP_PKEY_CTX *c) const { EVP_PKEY_CTX_free(c); }
};
struct BioFree {
  void operator()(BIO *b) const { BIO_free(b); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using Ctx = std::unique_ptr<EVP_PKEY_CTX, CtxFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

std::string bio_text(BIO *bio) {
  char *data = nullptr;
  long n = BIO_get_mem_data(bio, &data);
  return n > 0 ? std::string(data, (size_t)n) : std::string();
}

Pkey read_key(const std::string &pem, bool is_private) {
  Bio bio(BIO_new_mem_buf(pem.data(), (int)pem.size()));
  if (!bio) return nullptr;
  EVP_PKEY *k = is_private ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                           : PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr);
  Pkey key(k);
  if (key && EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA) return nullptr;
  return key;
}

bool set_oaep(EVP_PKEY_CTX *ctx) {
  return EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0;
}

// One RSA operation per block, `step` input bytes at a time.
bool blocks(EVP_PKEY *key, bool encrypting, const unsigned char *in, int length, int step,
            std::string *out) {
  Ctx ctx(EVP_PKEY_CTX_new(key, nullptr));
  if (!ctx) return false;
  int ready = encrypting ? EVP_PKEY_encrypt_init(ctx.get()) : EVP_PKEY_decrypt_init(ctx.get());
  if (ready <= 0 || !set_oaep(ctx.get())) return false;
  out->clear();
  for (int at = 0; at < length; at += step) {
    size_t n = (size_t)std::min(step, length - at);
    unsigned char buffer[kBlock];
    size_t written = sizeof buffer;
    int ok = encrypting ? EVP_PKEY_encrypt(ctx.get(), buffer, &written, in + at, n)
                        : EVP_PKEY_decrypt(ctx.get(), buffer, &written, in + at, n);
    if (ok <= 0) return false;
    out->append((const char *)buffer, written);
  }
  return true;
}

bool read_file(const std::string &path, std::string *text) {
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[4096];
  size_t n = fread(buffer, 1, sizeof buffer, f);
  bool whole = feof(f) != 0;
  fclose(f);
  text->assign(buffer, n);
  return whole && n > 0;
}

bool write_file(const std::string &path, const std::string &text, mode_t mode) {
  std::string temporary = path + ".new";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == (ssize_t)text.size();
  ok = close(fd) == 0 && ok;
  return ok && rename(temporary.c_str(), path.c_str()) == 0;
}

bool send_all(int fd, const void *data, size_t length) {
  const char *p = static_cast<const char *>(data);
  while (length > 0) {
    ssize_t n = send(fd, p, length, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= (size_t)n;
  }
  return true;
}

bool recv_all(int fd, void *data, size_t length) {
  char *p = static_cast<char *>(data);
  while (length > 0) {
    ssize_t n = recv(fd, p, length, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= (size_t)n;
  }
  return true;
}

uint32_t le32(const unsigned char *b) {
  return (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
}

void put_le32(unsigned char *b, uint32_t v) {
  for (int i = 0; i < 4; i++) b[i] = (unsigned char)(v >> (8 * i));
}

bool wait_connected(int fd, int timeout_ms) {
  pollfd p = {fd, POLLOUT, 0};
  int n;
  do n = poll(&p, 1, timeout_ms); while (n < 0 && errno == EINTR);
  int error = 0;
  socklen_t len = sizeof error;
  return n == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
}

bool connect_within(int fd, const sockaddr *address, socklen_t length, int timeout_ms) {
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) return false;
  bool ok = connect(fd, address, length) == 0 ||
            (errno == EINPROGRESS && wait_connected(fd, timeout_ms));
  return fcntl(fd, F_SETFL, flags) == 0 && ok;
}

void bound_transfers(int fd, int timeout_ms) {
  timeval tv = {timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

}  // namespace

namespace p2p {

bool make_key_pair(std::string *private_pem, std::string *public_pem) {
  Pkey key(EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", (size_t)P2P_RSA_BITS));
  Bio priv(BIO_new(BIO_s_mem())), pub(BIO_new(BIO_s_mem()));
  if (!key || !priv || !pub) return false;
  if (PEM_write_bio_PrivateKey(priv.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
      PEM_write_bio_PUBKEY(pub.get(), key.get()) != 1) {
    return false;
  }
  *private_pem = bio_text(priv.get());
  *public_pem = bio_text(pub.get());
  return true;
}

bool encrypt(const std::string &public_pem, const void *data, int length, std::string *out) {
  Pkey key = read_key(public_pem, false);
  return key && length >= 0 &&
         blocks(key.get(), true, static_cast<const unsigned char *>(data), length, kChunk, out);
}

bool decrypt(const std::string &private_pem, const void *data, int length, std::string *out) {
  Pkey key = read_key(private_pem, true);
  return key && length >= 0 && length % kBlock == 0 &&
         blocks(key.get(), false, static_cast<const unsigned char *>(data), length, kBlock, out);
}

int write_frame(int fd, uint32_t flags, const void *body, int length) {
  if (length < 0 || length > P2P_FRAME_MAX) return -1;
  unsigned char head[kFrameHead];
  put_le32(head, (uint32_t)length);
  put_le32(head + 4, flags);
  if (!send_all(fd, head, sizeof head)) return -1;
  return length == 0 || send_all(fd, body, (size_t)length) ? 0 : -1;
}

int read_frame(int fd, uint32_t *flags, std::string *body, int max) {
  unsigned char head[kFrameHead];
  if (!recv_all(fd, head, sizeof head)) return -1;
  uint32_t length = le32(head);
  if (length > (uint32_t)max || length > (uint32_t)P2P_FRAME_MAX) return -1;
  *flags = le32(head + 4);
  body->assign(length, '\0');
  return length == 0 || recv_all(fd, body->data(), length) ? 0 : -1;
}

}  // namespace p2p

int socket_create() {
  return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

int socket_connect(int fd, const char *host, int port, int timeout_ms) {
  if (fd < 0 || !host || !host[0] || port <= 0 || port > 65535) return -1;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  char service[8];
  snprintf(service, sizeof service, "%d", port);
  if (getaddrinfo(host, service, &hints, &found) != 0 || !found) return -1;
  bool ok = connect_within(fd, found->ai_addr, found->ai_addrlen, timeout_ms);
  freeaddrinfo(found);
  if (!ok) return -1;
  bound_transfers(fd, timeout_ms);
  return 0;
}

void socket_destroy(int fd) {
  if (fd >= 0) close(fd);
}

int p2p_create_keyfile() {
  std::string existing;
  if (read_file(kPrivateFile, &existing) && read_file(kPublicFile, &existing)) return 0;
  if (mkdir(P2P_KEY_DIR, 0700) != 0 && errno != EEXIST) return -1;
  std::string private_pem, public_pem;
  if (!p2p::make_key_pair(&private_pem, &public_pem)) return -1;
  bool ok = write_file(kPrivateFile, private_pem, 0600) && write_file(kPublicFile, public_pem, 0644);
  return ok ? 0 : -1;
}

int p2p_cli_switch_keyfile(int fd) {
  std::string own;
  if (!read_file(kPublicFile, &own) || p2p::write_frame(fd, 0, own.data(), (int)own.size()) != 0) {
    return -1;
  }
  uint32_t flags = 0;
  std::string server;
  if (p2p::read_frame(fd, &flags, &server) != 0 || flags != 0) return -1;
  if (!read_key(server, false)) return -1;
  return write_file(kServerFile, server, 0644) ? 0 : -1;
}

int rsa_cal_ensize(int size) {
  if (size <= 0) return 0;
  return (size + kChunk - 1) / kChunk * kBlock;
}

int p2p_send(int fd, const void *data, int length, int encrypt) {
  if (!encrypt) return p2p::write_frame(fd, 0, data, length);
  std::string server, sealed;
  if (!read_file(kServerFile, &server) || !p2p::encrypt(server, data, length, &sealed)) return -1;
  return p2p::write_frame(fd, P2P_FRAME_ENCRYPTED, sealed.data(), (int)sealed.size());
}

int p2p_recv(int fd, void *buffer, int size) {
  uint32_t flags = 0;
  std::string body, own;
  if (size < 0 || p2p::read_frame(fd, &flags, &body) != 0) return -1;
  if (flags & P2P_FRAME_ENCRYPTED) {
    std::string plain;
    if (!read_file(kPrivateFile, &own) || !p2p::decrypt(own, body.data(), (int)body.size(), &plain)) {
      return -1;
    }
    body.swap(plain);
  }
  if (body.size() > (size_t)size) return -1;
  memcpy(buffer, body.data(), body.size());
  return (int)body.size();
}

// The P2P client calls: a TCP connection to the P2P server, RSA session keys
// and the framing of the messages exchanged over it.
//
// Framing (ours): every message is a frame of a 8-byte head, u32 length and
// u32 flags (little-endian), and `length` bytes. Flag 1 marks a body
// encrypted with RSA (OAEP, SHA-1) for the receiver's public key, in blocks
// of P2P_RSA_BITS / 8 bytes, each holding at most rsa_cal_ensize's plain
// chunk.
//
// Keys: the client's key pair is kept in PEM files under P2P_KEY_DIR and made
// once (p2p_create_keyfile). The key switch sends the client's public key in
// a plain frame and takes the server's public key from the plain frame that
// answers it; the server's key is kept in its own file for the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int P2P_RSA_BITS = 2048;
constexpr const char *P2P_KEY_DIR = "/mnt/nand/p2p";
constexpr uint32_t P2P_FRAME_ENCRYPTED = 1;
constexpr int P2P_FRAME_MAX = 64 * 1024;  // longer frames end the session

// A TCP socket (close-on-exec). The descriptor, or -1.
int socket_create();
// Connects to `host` (name or address) on `port` within `timeout_ms`, and
// bounds every later send and receive by the same time. 0, or -1 when the
// name does not resolve or the connection fails.
int socket_connect(int fd, const char *host, int port, int timeout_ms);
void socket_destroy(int fd);

// Makes the client's key pair unless both files exist. 0 or -1.
int p2p_create_keyfile();
// Exchanges public keys with the server on `fd`. 0, or -1 when the server's
// answer is no RSA public key.
int p2p_cli_switch_keyfile(int fd);
// Bytes that `size` plain bytes take once encrypted.
int rsa_cal_ensize(int size);
// Sends `data` as one frame, encrypted for the server when `encrypt` is 1.
// 0 or -1.
int p2p_send(int fd, const void *data, int length, int encrypt);
// Receives one frame into `buffer` (decrypted with the client's key when it
// is encrypted). Its plain length, or -1 when the frame does not arrive in
// time, is malformed, or is longer than `size`.
int p2p_recv(int fd, void *buffer, int size);

// Pieces the calls above are made of; the tests' server uses them too.
namespace p2p {
// A fresh key pair as PEM texts. False on failure.
bool make_key_pair(std::string *private_pem, std::string *public_pem);
// RSA with the PEM key: encrypt for a public key, decrypt with a private one.
bool encrypt(const std::string &public_pem, const void *data, int length, std::string *out);
bool decrypt(const std::string &private_pem, const void *data, int length, std::string *out);
// One frame. write_frame: 0 or -1. read_frame: 0, or -1 (also beyond `max`).
int write_frame(int fd, uint32_t flags, const void *body, int length);
int read_frame(int fd, uint32_t *flags, std::string *body, int max = P2P_FRAME_MAX);
}  // namespace p2p

// The P2P client calls inside the device root: key files, sizes, frames and
// the key switch over a socket pair.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>

#include "p2p.h"

namespace {

struct Pair {
  int a = -1, b = -1;
  Pair() {
    int fds[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    a = fds[0];
    b = fds[1];
  }
  ~Pair() {
    close(a);
    close(b);
  }
};

TEST(P2pClient, EncryptedSizeIsWholeBlocks) {
  EXPECT_EQ(rsa_cal_ensize(0), 0);
  EXPECT_EQ(rsa_cal_ensize(1), 256);
  EXPECT_EQ(rsa_cal_ensize(214), 256);
  EXPECT_EQ(rsa_cal_ensize(215), 512);
  EXPECT_EQ(rsa_cal_ensize(568), 768);
}

TEST(P2pClient, KeySwitchThenSealedFramesBothWays) {
  ASSERT_EQ(p2p_create_keyfile(), 0);
  ASSERT_EQ(p2p_create_keyfile(), 0);  // kept: made once
  std::string server_private, server_public;
  ASSERT_TRUE(p2p::make_key_pair(&server_private, &server_public));

  Pair pair;
  std::string client_public, plain;
  std::thread server([&] {
    uint32_t flags = 9;
    ASSERT_EQ(p2p::read_frame(pair.b, &flags, &client_public), 0);
    EXPECT_EQ(flags, 0u);
    ASSERT_EQ(p2p::write_frame(pair.b, 0, server_public.data(), (int)server_public.size()), 0);
    std::string sealed;
    ASSERT_EQ(p2p::read_frame(pair.b, &flags, &sealed), 0);
    EXPECT_EQ(flags, P2P_FRAME_ENCRYPTED);
    EXPECT_EQ((int)sealed.size(), rsa_cal_ensize(568));
    ASSERT_TRUE(p2p::decrypt(server_private, sealed.data(), (int)sealed.size(), &plain));
    std::string answer;
    ASSERT_TRUE(p2p::encrypt(client_public, "welcome", 7, &answer));
    ASSERT_EQ(p2p::write_frame(pair.b, P2P_FRAME_ENCRYPTED, answer.data(), (int)answer.size()), 0);
  });
  ASSERT_EQ(p2p_cli_switch_keyfile(pair.a), 0);
  std::string block(568, 'x');
  block[0] = 'A';
  block[567] = 'Z';
  ASSERT_EQ(p2p_send(pair.a, block.data(), (int)block.size(), 1), 0);
  char buffer[64] = {};
  EXPECT_EQ(p2p_recv(pair.a, buffer, sizeof buffer), 7);
  server.join();
  EXPECT_EQ(plain, block);
  EXPECT_EQ(std::string(buffer), "welcome");
}

TEST(P2pClient, RefusesWhatIsNoKeyOrTooLong) {
  ASSERT_EQ(p2p_create_keyfile(), 0);
  {
    Pair pair;
    std::thread server([&] {
      uint32_t flags;
      std::string body;
      p2p::read_frame(pair.b, &flags, &body);
      p2p::write_frame(pair.b, 0, "not a key", 9);
    });
    EXPECT_EQ(p2p_cli_switch_keyfile(pair.a), -1);
    server.join();
  }
  Pair pair;
  ASSERT_EQ(p2p::write_frame(pair.b, 0, "0123456789", 10), 0);
  char small[4];
  EXPECT_EQ(p2p_recv(pair.a, small, sizeof small), -1);  // longer than the buffer
  unsigned char huge_head[8] = {0xff, 0xff, 0xff, 0x7f, 0, 0, 0, 0};
  ASSERT_EQ(write(pair.b, huge_head, sizeof huge_head), 8);
  char buffer[16];
  EXPECT_EQ(p2p_recv(pair.a, buffer, sizeof buffer), -1);  // beyond the frame limit
  close(pair.b);
  pair.b = -1;
  EXPECT_EQ(p2p_recv(pair.a, buffer, sizeof buffer), -1);  // the peer went away
}

TEST(P2pClient, ConnectFailsWithoutServerOrName) {
  int fd = socket_create();
  ASSERT_GE(fd, 0);
  EXPECT_EQ(socket_connect(fd, "127.0.0.1", 9, 1000), -1);  // nothing listens
  socket_destroy(fd);
  fd = socket_create();
  EXPECT_EQ(socket_connect(fd, "p2p.invalid", 9999, 1000), -1);
  EXPECT_EQ(socket_connect(fd, "", 9999, 1000), -1);
  socket_destroy(fd);
}

}  // namespace

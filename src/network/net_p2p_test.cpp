// The P2P pages: status, enable and disable, unbinding, and the
// registration test against a fake P2P server on loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "network_test_util.h"
#include "p2p.h"

namespace {

using P2p = NetworkTest;

// What the fake server answers after it has read the request.
struct ServerScript {
  bool bad_key = false;     // answers the key switch with no key
  int32_t status = 0;       // the answer head's status
  std::string message;      // the further message, sent when status is 0
};

// One connection's worth of a P2P server on 127.0.0.1:9999.
class FakeP2pServer {
 public:
  explicit FakeP2pServer(ServerScript script) : script_(std::move(script)) {
    static std::string priv, pub;
    if (priv.empty()) {
      EXPECT_TRUE(p2p::make_key_pair(&priv, &pub));
    }
    private_pem_ = priv;
    public_pem_ = pub;
    listen_fd_ = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(P2P_SERVER_PORT);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(listen_fd_, (sockaddr *)&a, sizeof a), 0);
    EXPECT_EQ(listen(listen_fd_, 1), 0);
    thread_ = std::thread([this] { serve(); });
  }
  ~FakeP2pServer() { finish(); }
  // Waits for the connection to end; what it received is then readable.
  void finish() {
    if (thread_.joinable()) thread_.join();
    if (listen_fd_ >= 0) close(listen_fd_);
    listen_fd_ = -1;
  }
  p2p_message_head head{};
  p2p_device_block block{};
  uint32_t block_flags = 0;

 private:
  void serve() {
    int fd = accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) return;
    uint32_t flags;
    std::string client_key, body;
    p2p::read_frame(fd, &flags, &client_key);
    if (script_.bad_key) {
      p2p::write_frame(fd, 0, "no key", 6);
      close(fd);
      return;
    }
    p2p::write_frame(fd, 0, public_pem_.data(), (int)public_pem_.size());
    if (p2p::read_frame(fd, &flags, &body) == 0 && body.size() == sizeof head) {
      memcpy(&head, body.data(), sizeof head);
    }
    std::string plain;
    if (p2p::read_frame(fd, &block_flags, &body) == 0 &&
        p2p::decrypt(private_pem_, body.data(), (int)body.size(), &plain) &&
        plain.size() == sizeof block) {
      memcpy(&block, plain.data(), sizeof block);
    }
    p2p_message_head answer = {};
    answer.status = script_.status;
    p2p::write_frame(fd, 0, &answer, sizeof answer);
    std::string sealed;
    if (script_.status == 0 &&
        p2p::encrypt(client_key, script_.message.data(), (int)script_.message.size(), &sealed)) {
      p2p::write_frame(fd, P2P_FRAME_ENCRYPTED, sealed.data(), (int)sealed.size());
    }
    close(fd);
  }
  ServerScript script_;
  std::string private_pem_, public_pem_;
  int listen_fd_ = -1;
  std::thread thread_;
};

const char *const kTestBody = R"({"sn": "SN-0001", "deviceName": "Lobby NVR"})";

class P2pTest : public P2p {
 protected:
  void SetUp() override {
    P2p::SetUp();
    set_param_value(KXDB_FILE, "p2p_server", "127.0.0.1");
    p2p_params stored{};
    set_text(stored.cloud_info[0], "account-1");
    set_text(stored.cloud_info[1], "server-2");
    set_text(stored.cloud_info[2], "token-3");
    set_text(stored.cloud_key, "key-4");
    ASSERT_EQ(write_p2p_info(KXDB_FILE, &stored), 0);
  }
};

TEST_F(P2pTest, AcceptedSendsHeadAndBlockAndForwardsTheServerText) {
  std::string message(300, 'm');  // longer than the forwarded 128 bytes, no NUL
  FakeP2pServer server({false, 0, message});
  EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "0");
  server.finish();
  settle();
  ASSERT_EQ(sent(3700).size(), 1u);
  EXPECT_EQ(sent(3700).at(0).payload, Bytes(128, 'm'));

  EXPECT_EQ(server.head.kind, 2);
  EXPECT_EQ(server.head.size, rsa_cal_ensize(568));
  EXPECT_EQ(server.head.version, 1);
  EXPECT_EQ(server.block_flags, P2P_FRAME_ENCRYPTED);
  const p2p_device_block &b = server.block;
  EXPECT_EQ(strlen(b.mac), 17u);
  EXPECT_STREQ(b.deviceName, "Lobby NVR");
  EXPECT_STREQ(b.sn, "SN-0001");
  EXPECT_STREQ(b.cloud_info[0], "account-1");
  EXPECT_STREQ(b.cloud_info[2], "token-3");
  EXPECT_STREQ(b.cloud_key, "key-4");
}

TEST_F(P2pTest, ForwardedTextEndsAtItsNul) {
  FakeP2pServer server({false, 0, std::string("short\0tail", 10)});
  EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "0");
  server.finish();
  settle();
  EXPECT_EQ(sent(3700).at(0).payload, (Bytes{'s', 'h', 'o', 'r', 't'}));
}

TEST_F(P2pTest, ResultCodesOfTheServerAndTheConnection) {
  {
    FakeP2pServer server({false, 2, ""});
    EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "2");
  }
  {
    FakeP2pServer server({false, 9, ""});  // another status: done, nothing forwarded
    EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "0");
  }
  {
    FakeP2pServer server({true, 0, ""});
    EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "4");
  }
  EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "3");  // nobody listens
  set_param_value(KXDB_FILE, "p2p_server", "p2p.invalid");
  EXPECT_EQ(call("/7062", kTestBody), kTextHeader + "3");  // the name does not resolve
  settle();
  EXPECT_TRUE(sent(3700).empty());
  EXPECT_EQ(call("/7062", "{"), "");
}

TEST_F(P2pTest, EnableAndDisablePayloadsAndTexts) {
  daemon().answer(3700, int_answer(0));
  EXPECT_EQ(call("/7061", R"({"enableP2P": 1, "region": 3})"), kTextHeader + "ERR_OK");
  p2p_params sent_record = record_from<p2p_params>(sent(3700).at(0).payload);
  EXPECT_EQ(sent(3700).at(0).payload.size(), 488u);
  EXPECT_EQ(sent_record.enable, 1);
  EXPECT_EQ(sent_record.region, 3);
  EXPECT_STREQ(sent_record.cloud_info[0], "");  // a zeroed record
  p2p_params kept{};
  ASSERT_EQ(read_p2p_info(KXDB_FILE, &kept), 0);
  EXPECT_EQ(kept.enable, 0);  // the enable path stores nothing

  const std::pair<int, const char *> enable_texts[] = {
      {0, "ERR_OK"},         {2, "ERR_NOTFOUND"},    {3, "ERR_NETWORK"}, {5, "ERR_MAC_FORMAT"},
      {6, "ERR_AUTH_FAILED"}, {7, "ERR_NO_UUID"},    {4, "ERR_UNKNOWN"}, {-1, "ERR_UNKNOWN"}};
  for (const auto &[answer, text] : enable_texts) {
    daemon().answer(3700, int_answer(answer));
    EXPECT_EQ(call("/7061", R"({"enableP2P": 1})"), kTextHeader + text) << answer;
  }

  daemon().answer(3701, int_answer(0));
  EXPECT_EQ(call("/7061", R"({"enableP2P": 0, "region": 2})"), kTextOk);
  p2p_params disabled = record_from<p2p_params>(sent(3701).at(0).payload);
  EXPECT_EQ(disabled.enable, 0);
  EXPECT_EQ(disabled.region, 2);
  EXPECT_STREQ(disabled.cloud_info[1], "server-2");  // the stored record
  ASSERT_EQ(read_p2p_info(KXDB_FILE, &kept), 0);
  EXPECT_EQ(kept.region, 2);
  daemon().answer(3701, int_answer(1));
  EXPECT_EQ(call("/7061", R"({"enableP2P": 0})"), kTextHeader + "ERR");
  daemon().silent(3701);
  EXPECT_EQ(call("/7061", R"({"enableP2P": 0})"), kCgiError);
  daemon().silent(3700);
  EXPECT_EQ(call("/7061", R"({"enableP2P": 1})"), kCgiError);
  EXPECT_EQ(call("/7061", "["), "");
}

TEST_F(P2pTest, StatusTextsThatFillTheirFields) {
  p2p_status_info s;
  memset(&s, 'x', sizeof s);
  s.enable = 1;
  s.p2pstatus = 2;
  s.region = 4;
  daemon().answer(3702, bytes_of(s));
  std::string reply = call("/7060");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"enable", "p2pstatus", "model", "ipc", "cloudAccount",
                                      "cloudServer", "registerCode", "company", "email", "dealer",
                                      "region"}));
  EXPECT_EQ(text_member(body.get(), "model"), std::string(32, 'x'));
  EXPECT_EQ(text_member(body.get(), "ipc"), std::string(64, 'x'));
  EXPECT_EQ(text_member(body.get(), "cloudServer"), std::string(64, 'x'));
  EXPECT_EQ(text_member(body.get(), "registerCode"), std::string(128, 'x'));
  EXPECT_EQ(text_member(body.get(), "dealer"), std::string(128, 'x'));
  EXPECT_EQ(int_member(body.get(), "region"), 4);
  EXPECT_TRUE(sent(3702).at(0).payload.empty());

  Bytes short_answer = bytes_of(s);
  short_answer.resize(747);  // shorter than the record: as no answer
  daemon().answer(3702, short_answer);
  EXPECT_EQ(call("/7060"), kJsonError);
}

}  // namespace

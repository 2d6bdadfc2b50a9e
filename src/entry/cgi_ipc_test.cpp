#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "cgi_ipc.h"
#include "handler_fixture.h"

namespace {

using namespace std::chrono;

// A module dispatcher as the handlers have: 9002 carries an int32 to echo.
void probe_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload || kx_response_code(head) != 9002 || kx_response_length(head) < 4) return;
  int32_t v;
  memcpy(&v, payload, sizeof v);
  cgi_writeback_webserver(CGI_REPLY_TEXT, std::to_string(v).c_str());
  g_callback_done = 1;
}

// The handler pattern: exchange, error reply when unanswered, close.
void exchange(int code, int nowait = 0) {
  int32_t payload = 77;
  cgi_start_ipc(probe_callback, code, sizeof payload, &payload, nowait);
  if (!nowait && !g_callback_done) cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_stop_ipc();
}

double elapsed_ms(steady_clock::time_point since) {
  return duration<double, std::milli>(steady_clock::now() - since).count();
}

using Channel = HandlerTest;

TEST_F(Channel, AnsweredExchangeWritesTheReplyAndSetsTheFlag) {
  daemon().answer(4002, bytes_of_int(5));
  EXPECT_EQ(cgi_start_ipc(probe_callback, 4002, 4, "abcd", 0), 0);
  EXPECT_EQ(g_callback_done.load(), 1);
  cgi_stop_ipc();
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n5");
  auto sent = daemon().requests(4002);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload, Bytes({'a', 'b', 'c', 'd'}));
  EXPECT_EQ(cgi_start_ipc(nullptr, 4002, 0, nullptr, 0), -1);
}

TEST_F(Channel, LateAnswerWithinTheBudgetIsTaken) {
  cgi_ipc_set_poll_period(milliseconds(1));  // 1 s budget
  daemon().answer(4002, bytes_of_int(6), 100);
  exchange(4002);
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n6");
}

TEST_F(Channel, OtherFramesAreDeliveredAndIgnored) {
  daemon().answer_frames(4002, {{9999, bytes_of_int(1), 0}, {9002, {}, 0}, {9002, bytes_of_int(8), 0}});
  exchange(4002);
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n8");
}

TEST_F(Channel, UnansweredExchangeEndsInOneErrorReply) {
  // The answer comes after the budget (100 ms) and before the channel closes:
  // it is not written after the error reply.
  daemon().answer(4002, bytes_of_int(9), 250);
  int32_t payload = 0;
  cgi_start_ipc(probe_callback, 4002, sizeof payload, &payload, 0);
  EXPECT_EQ(g_callback_done.load(), 0);
  cgi_error_to_webserver(CGI_REPLY_TEXT);
  std::this_thread::sleep_for(milliseconds(350));
  cgi_stop_ipc();
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\nCGI ERROR");
}

TEST_F(Channel, ReplyAfterStopWritesNothing) {
  daemon().answer(4002, bytes_of_int(9), 30);
  int32_t payload = 0;
  cgi_start_ipc(probe_callback, 4002, sizeof payload, &payload, 1);
  cgi_stop_ipc();
  std::this_thread::sleep_for(milliseconds(80));
  EXPECT_EQ(take_output(), "");
  EXPECT_EQ(daemon().requests(4002).size(), 1u);
}

TEST_F(Channel, NowaitReturnsAtOnceWithTheFlagClear) {
  cgi_ipc_set_poll_period(milliseconds(40));
  auto start = steady_clock::now();
  exchange(3485, 1);
  EXPECT_LT(elapsed_ms(start), 200);
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_TRUE(daemon().wait_for(3485));
  EXPECT_EQ(take_output(), "");
}

TEST_F(Channel, WaitBudgetsFollowTheRequestCode) {
  EXPECT_EQ(cgi_ipc_wait_polls(3379), 30000);
  EXPECT_EQ(cgi_ipc_wait_polls(3700), 1500);
  EXPECT_EQ(cgi_ipc_wait_polls(3701), 1000);
  EXPECT_EQ(cgi_ipc_wait_polls(3434), 15000);
  EXPECT_EQ(cgi_ipc_wait_polls(3528), 6000);
  EXPECT_EQ(cgi_ipc_wait_polls(1153), 3000);

  // Observed: 30000 polls of 20 µs, then 1500 against 1000 polls of 1 ms.
  cgi_ipc_set_poll_period(microseconds(20));
  auto start = steady_clock::now();
  exchange(3379);
  EXPECT_GE(elapsed_ms(start), 600);
  cgi_ipc_set_poll_period(milliseconds(1));
  start = steady_clock::now();
  exchange(3700);
  double t3700 = elapsed_ms(start);
  start = steady_clock::now();
  exchange(3701);
  double t3701 = elapsed_ms(start);
  EXPECT_GE(t3700, 1500);
  EXPECT_GE(t3701, 1000);
  EXPECT_LT(t3701, 1400);
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\nCGI ERROR"
                           "Content-type: text/plain\r\n\r\nCGI ERROR"
                           "Content-type: text/plain\r\n\r\nCGI ERROR");
}

TEST_F(Channel, SendsAreRetriedUntilTheDaemonListens) {
  // No daemon at first: the request goes out once it appears.
  std::string path = "/var/run/kxsocket";
  std::thread later;
  {
    daemon().answer(4002, bytes_of_int(3));
  }
  // Replace the socket with nothing for 50 ms.
  rename(path.c_str(), "/var/run/kxsocket.away");
  later = std::thread([&] {
    std::this_thread::sleep_for(milliseconds(50));
    rename("/var/run/kxsocket.away", path.c_str());
  });
  cgi_ipc_set_poll_period(milliseconds(1));
  exchange(4002);
  later.join();
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n3");
}

TEST_F(Channel, ABrokenFrameClosesTheConnection) {
  // A raw server that answers with a wrong magic, then with a valid frame:
  // the valid frame must not be taken after the broken one.
  unlink("/var/run/raw.sock");
  int srv = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  strcpy(addr.sun_path, "/var/run/raw.sock");
  ASSERT_EQ(bind(srv, (sockaddr *)&addr, sizeof addr), 0);
  listen(srv, 1);
  std::thread server([srv] {
    int c = accept(srv, nullptr, nullptr);
    kx_msg_head head;
    std::vector<unsigned char> payload;
    kx_frame_read(c, head, payload);
    kx_msg_head bad = {0x12345678, 2, head.seq, 9002, 0, 4};
    int32_t v = 1;
    // The client may hang up at the bad head: no SIGPIPE for the test.
    send(c, &bad, sizeof bad, MSG_NOSIGNAL);
    send(c, &v, sizeof v, MSG_NOSIGNAL);
    kx_frame_write(c, 2, head.seq, 9002, &v, 4);
    std::this_thread::sleep_for(milliseconds(50));
    close(c);
  });
  kx_sock_init(probe_callback, 0, 3, "/var/run/raw.sock");
  g_callback_done = 0;
  int32_t payload = 0;
  EXPECT_EQ(kx_sock_send_msg(1, 4002, &payload, 4, 0, 0), 0);
  EXPECT_FALSE(kx_sock_wait_until([] { return g_callback_done.load() != 0; },
                                  steady_clock::now() + milliseconds(100)));
  kx_sock_uninit();
  server.join();
  close(srv);
  EXPECT_EQ(take_output(), "");
}

// A daemon that misbehaves, on the channel's socket path: it serves one
// connection at a time with `serve` (given the connection and the request's
// head), or never accepts when `serve` is null.
class RawDaemon {
 public:
  using Serve = std::function<void(int fd)>;
  explicit RawDaemon(Serve serve, int backlog = 16) {
    unlink(KXSOCKET_PATH);
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", KXSOCKET_PATH);
    EXPECT_EQ(bind(fd_, (sockaddr *)&addr, sizeof addr), 0);
    EXPECT_EQ(listen(fd_, backlog), 0);
    if (!serve) return;
    thread_ = std::thread([this, serve] {
      for (;;) {
        int c = accept(fd_, nullptr, nullptr);
        if (c < 0) return;
        serve(c);
        if (held_.size() < 100) held_.push_back(c);
        else close(c);
      }
    });
  }
  ~RawDaemon() {
    shutdown(fd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    for (int c : held_) close(c);
    close(fd_);
    unlink(KXSOCKET_PATH);
  }
  // Fills the backlog of a daemon that never accepts.
  void fill_backlog() {
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", KXSOCKET_PATH);
    for (int i = 0; i < 64; i++) {
      int c = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
      if (connect(c, (sockaddr *)&addr, sizeof addr) != 0) {
        close(c);
        return;
      }
      held_.push_back(c);
    }
  }

 private:
  int fd_ = -1;
  std::thread thread_;
  std::vector<int> held_;
};

// A request with the longest budget (3379: 30000 polls, 30 s here) against a
// daemon that cannot answer: the reply must come well before the budget
// (the send attempts take 0.75 s here, more under emulation), once.
constexpr double kPromptlyMs = 15000;
double misbehaving_exchange_ms() {
  cgi_ipc_set_poll_period(milliseconds(1));
  int32_t payload = 0;
  auto start = steady_clock::now();
  cgi_exchange(probe_callback, 3379, &payload, sizeof payload, CGI_REPLY_TEXT);
  return elapsed_ms(start);
}

void read_request(int fd) {
  kx_msg_head head;
  std::vector<unsigned char> payload;
  kx_frame_read(fd, head, payload);
}

TEST_F(Channel, ADaemonThatCannotAnswerEndsTheExchangeAtOnce) {
  const std::string error = "Content-type: text/plain\r\n\r\nCGI ERROR";
  {
    SCOPED_TRACE("no daemon socket: the send attempts, then the reply at once");
    unlink(KXSOCKET_PATH);
    EXPECT_LT(misbehaving_exchange_ms(), kPromptlyMs);
    EXPECT_EQ(take_output(), error);
  }
  {
    SCOPED_TRACE("alive, but its backlog is full: connect refuses, never blocks");
    RawDaemon d(nullptr, 0);
    d.fill_backlog();
    EXPECT_LT(misbehaving_exchange_ms(), kPromptlyMs);
    EXPECT_EQ(take_output(), error);
  }
  {
    SCOPED_TRACE("hangs up after reading the request: the waiter wakes");
    RawDaemon d([](int c) {
      read_request(c);
      shutdown(c, SHUT_RDWR);
    });
    EXPECT_LT(misbehaving_exchange_ms(), kPromptlyMs);
    EXPECT_EQ(take_output(), error);
  }
  {
    SCOPED_TRACE("answers with a broken frame: the connection ends, the waiter wakes");
    RawDaemon d([](int c) {
      read_request(c);
      kx_msg_head bad = {0x12345678, 2, 1, 8379, 0, 4};
      send(c, &bad, sizeof bad, MSG_NOSIGNAL);
    });
    EXPECT_LT(misbehaving_exchange_ms(), kPromptlyMs);
    EXPECT_EQ(take_output(), error);
  }
  {
    SCOPED_TRACE("an impossible length ends the connection too");
    RawDaemon d([](int c) {
      read_request(c);
      kx_msg_head bad = {KX_MSG_MAGIC, 2, 1, 8379, 0, KX_MSG_MAX_LENGTH + 1};
      send(c, &bad, sizeof bad, MSG_NOSIGNAL);
    });
    EXPECT_LT(misbehaving_exchange_ms(), kPromptlyMs);
    EXPECT_EQ(take_output(), error);
  }
}

TEST_F(Channel, ASendAttemptToADaemonThatNeverReadsIsBounded) {
  // One attempt, not the exchange's 3000: under emulation the cost of each
  // attempt (connect, receive thread, copying into the socket) outweighs
  // the short send period the tests use.
  RawDaemon d([](int) {});
  kx_sock_init(probe_callback, 0, 3, KXSOCKET_PATH);
  kx_sock_set_send_timeout(milliseconds(10));
  Bytes big(1 << 20);
  auto start = steady_clock::now();
  EXPECT_EQ(kx_sock_send_msg(1, 3379, big.data(), (int)big.size(), 0, 0), -1);
  EXPECT_LT(elapsed_ms(start), 5000);
  // The cut frame dropped the connection: the next attempt connects again.
  EXPECT_EQ(kx_sock_send_msg(1, 3379, big.data(), 4, 0, 0), 0);
  kx_sock_uninit();
}

TEST_F(Channel, OneReplyWhateverTheDaemonSendsAfterIt) {
  // Two answers to one request: the second never reaches the decoder.
  daemon().answer_frames(4002, {{9002, bytes_of_int(1), 0}, {9002, bytes_of_int(2), 0}});
  EXPECT_TRUE(cgi_exchange(probe_callback, 4002, "abcd", 4));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n1");
  // The same when the second comes a little later, while the handler goes on.
  daemon().answer_frames(4002, {{9002, bytes_of_int(3), 0}, {9002, bytes_of_int(4), 10}});
  cgi_start_ipc(probe_callback, 4002, 4, "abcd", 0);
  std::this_thread::sleep_for(milliseconds(40));
  cgi_stop_ipc();
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n3");
}

TEST_F(Channel, ExchangeHelperRepliesOnceAndReportsTheAnswer) {
  daemon().answer(4002, bytes_of_int(5));
  EXPECT_TRUE(cgi_exchange(probe_callback, 4002, "abcd", 4, CGI_REPLY_JSON));
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\n5");
  daemon().silent(4002);
  EXPECT_FALSE(cgi_exchange(probe_callback, 4002, "abcd", 4, CGI_REPLY_JSON));
  EXPECT_EQ(take_output(), "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}");
  EXPECT_FALSE(cgi_exchange(probe_callback, 4002, "abcd", 4, CGI_REPLY_NONE));
  EXPECT_EQ(take_output(), "");

  int32_t status = 0;
  EXPECT_FALSE(cgi_answer_status(nullptr, 4, &status));
  EXPECT_FALSE(cgi_answer_status("\1\0\0", 3, &status));
  EXPECT_TRUE(cgi_answer_status("\xfe\xff\xff\xff", 4, &status));
  EXPECT_EQ(status, -2);
}

TEST_F(Channel, ReplyWriters) {
  EXPECT_EQ(cgi_writeback_webserver(2, "raw"), 0);
  EXPECT_EQ(cgi_writeback_webserver(1, "{}"), 0);
  EXPECT_EQ(cgi_writeback_webserver(0, nullptr), -1);
  EXPECT_EQ(take_output(), "raw" "Content-type: application/json\r\n\r\n{}");
  cgi_error_to_webserver(1);
  cgi_error_to_webserver(5);
  EXPECT_EQ(take_output(), "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}");

  g_callback_done = 0;
  on_cgi_common_json_cb(0, "\1\0\0\0");
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(take_output(), "");
  int32_t status = -7;
  on_cgi_common_json_cb(1, &status);
  EXPECT_EQ(g_callback_done.load(), 1);
  EXPECT_EQ(reply_body(take_output()), "{ \"status\": -7 }");

  EXPECT_EQ(on_cgi_common_text_cb(0, -3, "x"), 1);
  EXPECT_EQ(take_output(), "Content-type: text/plain\r\n\r\nCGI ERROR status:[-3], data:[x]");
  on_cgi_common_text_cb(0, 0, nullptr);
  EXPECT_EQ(reply_body(take_output()), "CGI OK status:[0]");
  std::string big(400, 'd');
  on_cgi_common_text_cb(0, 1, big.c_str());
  EXPECT_EQ(reply_body(take_output()).size(), 255u);
}

}  // namespace

// The simulator's answers to the system module's requests, driven through
// the handlers.
#include <gtest/gtest.h>

#include <thread>

#include "model.h"
#include "system_test_support.h"

namespace {

// Replaces the fake daemon by the simulator's model on the same socket.
class SimulatedDaemon : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    ASSERT_TRUE(server_.listen());
    register_all_answers(server_, model_);
    thread_ = std::thread([this] { server_.run(); });
  }
  void TearDown() override {
    server_.stop();
    thread_.join();
    HandlerTest::TearDown();
  }
  SimServer server_{"/var/run/kxsocket"};
  CoreModel model_;
  std::thread thread_;
};

TEST_F(SimulatedDaemon, TheDemoMailTokenOpensAViewerSession) {
  std::string accepted = call("/1018", "demo-mail-token");
  EXPECT_NE(accepted.find("Set-Cookie: userName=temp;"), std::string::npos) << accepted;
  EXPECT_NE(accepted.find("Location: ../../html/index.html\r\n\r\n"), std::string::npos);
  EXPECT_EQ(call("/1018", "demo-mail-token-2"), "Location: ../../html/home.html\r\n\r\n");
  EXPECT_EQ(call("/1018", ""), "Location: ../../html/home.html\r\n\r\n");
}

TEST_F(SimulatedDaemon, UserRequestsAreAnsweredOrTakenAsNotices) {
  EXPECT_EQ(call("/6075"), "Content-type: text/plain\r\n\r\n0");
  EXPECT_EQ(call("/6076"), "Content-type: text/plain\r\n\r\nOK");
  EXPECT_EQ(call("/6077"), "Content-type: text/plain\r\n\r\nOK");
  ASSERT_TRUE(server_.wait_for(3505, 1, 2000));
  ASSERT_TRUE(server_.wait_for(3267, 1, 2000));
}

}  // namespace

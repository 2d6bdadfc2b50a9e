#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cgi_log.h"
#include "cgi_runner.h"
#include "dispatchreq.h"

namespace {

std::string g_seen;
int on_probe_a(char *text) {
  g_seen = std::string("a:") + text;
  return 7;
}
int on_probe_b(char *text) {
  g_seen = std::string("b:") + text;
  return 8;
}

std::vector<WebRes> batch(const std::string &prefix, int count) {
  std::vector<WebRes> records(count);
  for (int i = 0; i < count; i++) {
    std::string path = "/" + prefix + std::to_string(i);
    snprintf(records[i].path, sizeof records[i].path, "%s", path.c_str());
    records[i].handler = on_probe_a;
  }
  return records;
}

class Registry : public ::testing::Test {
 protected:
  void TearDown() override {
    for (auto &b : batches_) WebResUnregister(b.data(), (int)b.size());
    ASSERT_EQ(WebResCount(), 0);
  }
  int add(std::vector<WebRes> b) {
    batches_.push_back(std::move(b));
    return WebResRegister(batches_.back().data(), (int)batches_.back().size());
  }
  std::vector<std::vector<WebRes>> batches_;
};

TEST_F(Registry, HoldsAtMost511AndRejectsAWholeBatchWithALogLine) {
  remove(CGI_LOG_FILE);
  // 425 records, as the eleven module tables hold: 87 slots stay free.
  EXPECT_EQ(add(batch("a", 425)), 0);
  EXPECT_EQ(WebResCount(), 425);
  EXPECT_EQ(add(batch("b", 87)), -1);
  EXPECT_EQ(WebResCount(), 425);
  EXPECT_EQ(FindWebRes("/b0"), nullptr);
  std::string log = read_file(CGI_LOG_FILE);
  EXPECT_NE(log.find("dispatchreq.c:62 in : WEBREQ exceeded maximum value(MAX_WEBREQ_COUNT)\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(add(batch("c", 86)), 0);
  EXPECT_EQ(WebResCount(), 511);
  EXPECT_EQ(add(batch("d", 1)), -1);
}

TEST_F(Registry, RejectsNullAndEmptyBatches) {
  EXPECT_EQ(WebResRegister(nullptr, 1), -1);
  WebRes one = {"/x", on_probe_a};
  EXPECT_EQ(WebResRegister(&one, 0), -1);
  EXPECT_EQ(WebResUnregister(nullptr, 1), -1);
  EXPECT_EQ(WebResUnregister(&one, -1), -1);
  EXPECT_EQ(FindWebRes(nullptr), nullptr);
}

TEST_F(Registry, DispatchMatchesExactlyAndPassesTheResultThrough) {
  add({{"/6100", on_probe_a}, {"/6101", on_probe_b}});
  char text[] = "q=1";
  EXPECT_EQ(DispatchWebReq("/6101", text), 8);
  EXPECT_EQ(g_seen, "b:q=1");
  g_seen.clear();
  EXPECT_EQ(DispatchWebReq("/61000", text), -1);
  EXPECT_EQ(DispatchWebReq("/6100/", text), -1);
  EXPECT_EQ(DispatchWebReq("", text), -1);
  EXPECT_EQ(DispatchWebReq(nullptr, text), -1);
  EXPECT_EQ(g_seen, "");
}

TEST_F(Registry, ReRegisteredTableFillsTheLowestFreeSlots) {
  add(batch("a", 3));
  std::vector<WebRes> middle = batch("m", 2);
  add(middle);
  add(batch("z", 2));
  const WebRes *first_m = FindWebRes("/m0");
  EXPECT_EQ(WebResUnregister(middle.data(), 2), 0);
  EXPECT_EQ(WebResCount(), 5);
  EXPECT_EQ(FindWebRes("/m0"), nullptr);
  WebRes unknown = {"/none", on_probe_a};
  EXPECT_EQ(WebResUnregister(&unknown, 1), 0);
  EXPECT_EQ(WebResCount(), 5);

  add(batch("n", 3));  // two go where "/m*" were, the third after "/z1"
  EXPECT_EQ(FindWebRes("/n0"), first_m);
  EXPECT_EQ(FindWebRes("/n1"), first_m + 1);
  EXPECT_EQ(FindWebRes("/n2"), FindWebRes("/z1") + 1);
}

TEST_F(Registry, AFirstRegisteredDuplicateWins) {
  add({{"/dup", on_probe_a}});
  add({{"/dup", on_probe_b}});
  char text[] = "";
  EXPECT_EQ(DispatchWebReq("/dup", text), 7);
}

}  // namespace

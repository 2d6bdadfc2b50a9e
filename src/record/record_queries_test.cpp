// Queries the daemon answers, and the dispatcher's handling of answers.
#include "record_test_util.h"

namespace {

using RecordQueries = RecordTest;

Bytes lists_answer(int size) {
  record_primary_secondary a = {};
  for (int i = 0; i < RECORD_LIST_MAX; i++) {
    a.primary[i] = i;
    a.secondary[i] = 100 + i;
  }
  a.size = size;
  return bytes_of(a);
}

TEST_F(RecordQueries, SupportSendsTheChannelAndRepliesTheAnswer) {
  daemon().answer(2286, bytes_of(record_support{12, 1}));
  std::string reply = call("/6046", "12");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"chnid", "support"}));
  EXPECT_EQ(int_member(body.get(), "chnid"), 12);
  EXPECT_EQ(int_member(body.get(), "support"), 1);
  EXPECT_EQ(sent(2286).at(0).payload, bytes_of_int(12));
}

TEST_F(RecordQueries, SupportWithoutAFullAnswerIsTheJsonError) {
  for (const char *bad : {"64", "-1", "", "abc"}) EXPECT_EQ(call("/6046", bad), "") << bad;
  EXPECT_EQ(codes(), std::vector<int>{});
  daemon().answer(2286, Bytes(7, 1));
  EXPECT_EQ(call("/6046", "1"), kJsonError);
  daemon().answer(2286, Bytes());
  EXPECT_EQ(call("/6046", "1"), kJsonError);
  daemon().silent(2286);
  EXPECT_EQ(call("/6046", "1"), kJsonError);
  // A code the module does not know is ignored.
  daemon().answer_frames(2286, {SimFrame{7287, bytes_of(record_support{1, 1}), 0}});
  EXPECT_EQ(call("/6046", "1"), kJsonError);
}

TEST_F(RecordQueries, ListsShowSizeEntriesAtMost64) {
  daemon().answer(3218, lists_answer(3));
  JsonPtr body = parse_body(call("/6047"));
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"primary", "secondary", "size"}));
  json_object *primary = json_member(body.get(), "primary");
  ASSERT_EQ(json_object_array_length(primary), 3u);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(primary, 2)), 2);
  EXPECT_EQ(json_object_get_int(
                json_object_array_get_idx(json_member(body.get(), "secondary"), 2)),
            102);
  EXPECT_TRUE(sent(3218).at(0).payload.empty());

  daemon().answer(3218, lists_answer(100));
  body = parse_body(call("/6047"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "primary")), 64u);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "secondary")), 64u);
  EXPECT_EQ(int_member(body.get(), "size"), 100);  // as received

  daemon().answer(3218, lists_answer(-1));
  body = parse_body(call("/6047"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "primary")), 0u);
  EXPECT_EQ(int_member(body.get(), "size"), -1);

  Bytes short_answer = lists_answer(1);
  short_answer.pop_back();
  daemon().answer(3218, short_answer);
  EXPECT_EQ(call("/6047"), kJsonError);
  daemon().silent(3218);
  EXPECT_EQ(call("/6047"), kJsonError);
}

}  // namespace

// PTZ action entries edited one by one: values by PTZ type, the list limits,
// replacing and deleting, and the checks of the event type and channel.
#include "camera_events.h"
#include "kxdb_ptz_entries.h"
#include "video_test_util.h"

namespace {

using PtzActions = VideoTest;

std::string entry_body(int type, int channel, int camera, int ptz_type) {
  return R"({"type": )" + std::to_string(type) + R"(, "chn_id": )" + std::to_string(channel) +
         R"(, "acto_ptz_channel": )" + std::to_string(camera) + R"(, "acto_ptz_type": )" +
         std::to_string(ptz_type) +
         R"(, "acto_ptz_preset": 11, "acto_ptz_patrol": 12, "acto_ptz_pattern": 13})";
}

// The set entries as "camera:type:preset/patrol/pattern".
std::vector<std::string> stored(int type, int channel) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (type == PTZ_EVENT_PEOPLECNT) {
    EXPECT_EQ(read_peoplecnt_ptz_params(KXDB_FILE, list, channel, &count), 0);
  } else {
    EXPECT_EQ(read_ptz_params(KXDB_FILE, list, type, channel, &count), 0);
  }
  std::vector<std::string> out;
  for (int i = 0; i < count; i++) {
    const ptz_action_params &e = list[i];
    if (e.acto_ptz_channel <= 0) continue;
    EXPECT_EQ(e.chn_id, channel);
    out.push_back(std::to_string(e.acto_ptz_channel) + ":" + std::to_string(e.acto_ptz_type) +
                  ":" + std::to_string(e.acto_ptz_preset) + "/" +
                  std::to_string(e.acto_ptz_patrol) + "/" + std::to_string(e.acto_ptz_pattern));
  }
  return out;
}

TEST_F(PtzActions, ValueTakenByPtzType) {
  EXPECT_EQ(call("/6160", entry_body(1, 3, 2, 1)), kTextOk);
  EXPECT_EQ(call("/6160", entry_body(1, 3, 4, 2)), kTextOk);
  EXPECT_EQ(call("/6160", entry_body(1, 3, 5, 3)), kTextOk);
  EXPECT_EQ(call("/6160", entry_body(1, 3, 6, 4)), kTextOk);
  EXPECT_EQ(stored(1, 3),
            (std::vector<std::string>{"2:1:11/0/0", "4:2:0/12/0", "5:3:0/0/13", "6:4:0/0/0"}));
  // The same camera again replaces its entry in place.
  EXPECT_EQ(call("/6160", entry_body(1, 3, 4, 1)), kTextOk);
  EXPECT_EQ(stored(1, 3),
            (std::vector<std::string>{"2:1:11/0/0", "4:1:11/0/0", "5:3:0/0/13", "6:4:0/0/0"}));
  EXPECT_TRUE(stored(1, 4).empty());
  EXPECT_TRUE(stored(2, 3).empty());

  JsonPtr reply = parse_body(call("/6161", R"({"type": 1, "chn_id": 3})"));
  json_object *info = json_member(reply.get(), "ptzInfo");
  ASSERT_EQ(array_length(info), 4);
  EXPECT_EQ(member_names(array_at(info, 1)),
            (std::vector<std::string>{"acto_ptz_channel", "acto_ptz_type", "acto_ptz_preset",
                                      "acto_ptz_patrol"}));
  EXPECT_EQ(int_member(array_at(info, 1), "acto_ptz_channel"), 4);
  EXPECT_EQ(int_member(array_at(info, 0), "acto_ptz_preset"), 11);
}

TEST_F(PtzActions, FullListsRefuseAFurtherCamera) {
  for (int camera = 1; camera <= 16; camera++) {
    ASSERT_EQ(call("/6160", entry_body(20, 2, camera, 1)), kTextOk) << camera;
  }
  EXPECT_EQ(call("/6160", entry_body(20, 2, 17, 1)), kCgiError);
  EXPECT_EQ(stored(20, 2).size(), 16u);
  JsonPtr reply = parse_body(call("/6161", R"({"type": 20, "chn_id": 2})"));
  EXPECT_EQ(array_length(json_member(reply.get(), "ptzInfo")), 16);
  // The other lists are kept apart and hold 64.
  EXPECT_TRUE(stored(0, 2).empty());
  for (int camera = 1; camera <= 64; camera++) {
    ASSERT_EQ(call("/6160", entry_body(23, 2, camera, 2)), kTextOk) << camera;
  }
  EXPECT_EQ(call("/6160", entry_body(23, 2, 65, 2)), kCgiError);
  EXPECT_EQ(stored(23, 2).size(), 64u);
}

TEST_F(PtzActions, UpdateReplacesTheOldCameraInPlace) {
  for (int camera : {2, 3, 4}) call("/6160", entry_body(5, 1, camera, 1));
  std::string body = R"({"type": 5, "chn_id": 1, "old_chn_id": 3, "acto_ptz_channel": 9,
                        "acto_ptz_type": 3, "acto_ptz_pattern": 6})";
  EXPECT_EQ(call("/6163", body), kTextOk);
  EXPECT_EQ(stored(5, 1), (std::vector<std::string>{"2:1:11/0/0", "9:3:0/0/6", "4:1:11/0/0"}));
  // Onto a camera listed elsewhere: that camera is listed once.
  body = R"({"type": 5, "chn_id": 1, "old_chn_id": 2, "acto_ptz_channel": 4,
             "acto_ptz_type": 2, "acto_ptz_patrol": 1})";
  EXPECT_EQ(call("/6163", body), kTextOk);
  EXPECT_EQ(stored(5, 1), (std::vector<std::string>{"4:2:0/1/0", "9:3:0/0/6"}));
  // People counting has its own lists.
  call("/6160", entry_body(20, 1, 7, 1));
  body = R"({"type": 20, "chn_id": 1, "old_chn_id": 7, "acto_ptz_channel": 8,
             "acto_ptz_type": 1, "acto_ptz_preset": 3})";
  EXPECT_EQ(call("/6163", body), kTextOk);
  EXPECT_EQ(stored(20, 1), (std::vector<std::string>{"8:1:3/0/0"}));
}

TEST_F(PtzActions, DeleteOneAndMany) {
  for (int camera : {2, 3, 4, 5}) call("/6160", entry_body(16, 7, camera, 1));
  EXPECT_EQ(call("/6162", R"({"type": 16, "chn_id": 7, "acto_ptz_channel": 3})"), kTextOk);
  EXPECT_EQ(stored(16, 7), (std::vector<std::string>{"2:1:11/0/0", "4:1:11/0/0", "5:1:11/0/0"}));
  EXPECT_EQ(call("/6162", R"({"type": 16, "chn_id": 7, "acto_ptz_channel": 30})"), kTextOk);
  EXPECT_EQ(call("/6164", R"({"type": 16, "chn_id": 7, "ptzChannel": [5, 2, 40]})"), kTextOk);
  EXPECT_EQ(stored(16, 7), (std::vector<std::string>{"4:1:11/0/0"}));
  call("/6160", entry_body(20, 0, 6, 1));
  EXPECT_EQ(call("/6164", R"({"type": 20, "chn_id": 0, "ptzChannel": [6]})"), kTextOk);
  EXPECT_TRUE(stored(20, 0).empty());
}

TEST_F(PtzActions, TypeAndChannelChecked) {
  for (const char *bad : {R"("type": 1, "chn_id": -1)", R"("type": 1, "chn_id": 64)",
                          R"("type": 3, "chn_id": 1)", R"("type": 14, "chn_id": 1)",
                          R"("type": 26, "chn_id": 1)", R"("chn_id": 1)"}) {
    std::string fields = bad;
    EXPECT_EQ(call("/6160", "{" + fields + R"(, "acto_ptz_channel": 2, "acto_ptz_type": 1})"),
              kCgiError)
        << bad;
    EXPECT_EQ(call("/6161", "{" + fields + "}"), kCgiError) << bad;
    EXPECT_EQ(call("/6162", "{" + fields + R"(, "acto_ptz_channel": 2})"), kCgiError) << bad;
    EXPECT_EQ(call("/6163", "{" + fields + R"(, "old_chn_id": 2, "acto_ptz_channel": 2})"),
              kCgiError)
        << bad;
    EXPECT_EQ(call("/6164", "{" + fields + R"(, "ptzChannel": [2]})"), kCgiError) << bad;
  }
  EXPECT_EQ(call("/6162", R"({"type": 1, "chn_id": 1, "acto_ptz_channel": -2})"), kCgiError);
  // An entry without a camera is no entry.
  EXPECT_EQ(call("/6160", entry_body(1, 1, 0, 1)), kCgiError);
  EXPECT_TRUE(stored(1, 1).empty());
  // A body that does not parse gets no reply.
  EXPECT_EQ(call("/6160", "{"), "");
  EXPECT_EQ(call("/6161", ""), "");
  for (int type : {0, 1, 2, 5, 13, 15, 17, 20, 22, 25}) {
    EXPECT_EQ(call("/6160", entry_body(type, 63, 1, 1)), kTextOk) << type;
    EXPECT_EQ(stored(type, 63).size(), 1u) << type;
  }
}

TEST_F(PtzActions, FailedWritesAnswerTheError) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6160", entry_body(1, 2, 4, 1)), kCgiError);
  EXPECT_EQ(call("/6163", R"({"type": 20, "chn_id": 2, "old_chn_id": 1, "acto_ptz_channel": 3})"),
            kCgiError);
  EXPECT_EQ(call("/6162", R"({"type": 1, "chn_id": 2, "acto_ptz_channel": 3})"), kCgiError);
  EXPECT_EQ(call("/6164", R"({"type": 1, "chn_id": 2, "ptzChannel": [3]})"), kCgiError);
}

}  // namespace

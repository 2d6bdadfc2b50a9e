// Tours: the stored table, the two payload layouts, the bounds of tour ids
// and point counts, clearing, running and stopping.
#include "ptz_test_util.h"

namespace {

using PtzTours = PtzTest;

std::string tour_set(int chn, int tourid, int rowsize, const std::string &path) {
  return R"({"chn": )" + std::to_string(chn) + R"(, "tourid": )" + std::to_string(tourid) +
         R"(, "rowsize": )" + std::to_string(rowsize) + R"(, "path": )" + path + "}";
}

TEST_F(PtzTours, TourSetIsStoredAndSentPointByPoint) {
  EXPECT_EQ(call("/6055", tour_set(7, 2, 3, path_json(4, 11))), kTextOk);
  auto request = sent_once<ptz_tour_set>(1264);
  EXPECT_EQ(request.chn, 7);
  EXPECT_EQ(request.tourid, 2);
  EXPECT_EQ(request.rowsize, 3);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(request.points[i].preset, 11 + i);
    EXPECT_EQ(request.points[i].time, 10 * (11 + i));
    EXPECT_EQ(request.points[i].speed, (11 + i) % 9);
  }
  EXPECT_EQ(request.points[3].preset, 0);  // beyond rowsize
  ptz_tour_table table = stored_tour_table(7);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(table.tours[2].points[i].preset, request.points[i].preset);
    EXPECT_EQ(table.tours[2].points[i].time, request.points[i].time);
    EXPECT_EQ(table.tours[2].points[i].speed, request.points[i].speed);
  }
  EXPECT_EQ(table.tours[2].points[3].preset, 0);
  EXPECT_EQ(table.tours[1].points[0].preset, 0);
  EXPECT_EQ(codes(), (std::vector<int>{1264, 3485}));

  // A second tour of the channel keeps the first.
  EXPECT_EQ(call("/6055", tour_set(7, 7, 1, path_json(1, 40))), kTextOk);
  table = stored_tour_table(7);
  EXPECT_EQ(table.tours[2].points[2].preset, 13);
  EXPECT_EQ(table.tours[7].points[0].preset, 40);
}

TEST_F(PtzTours, PointsAreBoundedByTheTourAndThePath) {
  struct Case {
    int rowsize, path, taken;
  } cases[] = {{100, 60, 48}, {48, 48, 48}, {5, 3, 3}, {-1, 4, 0}, {0, 4, 0}, {2, 0, 0}};
  for (const Case &c : cases) {
    EXPECT_EQ(call("/6055", tour_set(1, 0, c.rowsize, path_json(c.path))), kTextOk);
    auto request = sent_once<ptz_tour_set>(1264);
    EXPECT_EQ(request.rowsize, c.taken) << c.rowsize << "/" << c.path;
    ptz_tour_table table = stored_tour_table(1);
    if (c.taken > 0) {
      EXPECT_EQ(table.tours[0].points[c.taken - 1].preset, c.taken);
    }
    // Nothing spills into the next tour.
    EXPECT_EQ(table.tours[1].points[0].preset, 0);
    forget();
  }
  // A path that is not an array of objects reads as no points, or empty points.
  EXPECT_EQ(call("/6055", R"({"chn": 1, "tourid": 3, "rowsize": 2, "path": 5})"), kTextOk);
  EXPECT_EQ(sent_once<ptz_tour_set>(1264).rowsize, 0);
  forget();
  EXPECT_EQ(call("/6055", R"({"chn": 1, "tourid": 3, "rowsize": 2, "path": [7, "x"]})"), kTextOk);
  EXPECT_EQ(sent_once<ptz_tour_set>(1264).points[0].preset, 0);
}

TEST_F(PtzTours, TourAndChannelOutsideTheTableAreSilent) {
  const char *fields = R"(, "rowsize": 1, "path": [{"preset": 1}]})";
  for (const std::string &bad :
       {R"({"chn": 1, "tourid": 8)" + std::string(fields), R"({"chn": 1, "tourid": -1)" + std::string(fields),
        R"({"chn": 64, "tourid": 0)" + std::string(fields), R"({"chn": -1, "tourid": 0)" + std::string(fields),
        std::string("{")}) {
    EXPECT_EQ(call("/6055", bad), "") << bad;
    EXPECT_EQ(call("/6057", bad), "") << bad;
  }
  for (const std::string &bad :
       {R"({"chn": 1, "tourid": 0)" + std::string(fields), R"({"chn": 1, "tourid": 9)" + std::string(fields),
        R"({"chn": 1, "tourid": -2147483648)" + std::string(fields), std::string("{")}) {
    EXPECT_EQ(call("/6056", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
  ptz_tour_table table = stored_tour_table(1);
  EXPECT_EQ(table.tours[0].points[0].preset, 0);
}

TEST_F(PtzTours, ClearingEndsTheTourButKeepsTimeAndSpeed) {
  call("/6055", tour_set(5, 4, 3, path_json(3, 2)));
  call("/6055", tour_set(5, 5, 1, path_json(1, 9)));
  forget();
  EXPECT_EQ(call("/6057", R"({"chn": 5, "tourid": 4, "fisheyeType": 1, "streamId": 2})"),
            kTextOk);
  ptz_tour_table table = stored_tour_table(5);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(table.tours[4].points[i].preset, 0);
    EXPECT_EQ(table.tours[4].points[i].time, 10 * (2 + i));
    EXPECT_EQ(table.tours[4].points[i].speed, (2 + i) % 9);
  }
  EXPECT_EQ(table.tours[5].points[0].preset, 9);
  auto command = sent_once<ptz_tour_command>(1257);
  EXPECT_EQ(command.chn, 5);
  EXPECT_EQ(command.tourid, 4);
  EXPECT_EQ(command.fisheyeType, 1);
  EXPECT_EQ(command.streamId, 2);
  EXPECT_EQ(only_log(), std::make_pair(904, 6));
}

TEST_F(PtzTours, FailedTableWriteIsAnErrorAndSendsNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6055", tour_set(1, 0, 1, path_json(1))), kCgiError);
  EXPECT_EQ(call("/6057", R"({"chn": 1, "tourid": 0})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(PtzTours, FisheyeTourFillsOnlyItsBlockAndStoresNothing) {
  EXPECT_EQ(call("/6056", R"({"chn": 2, "tourid": 8, "streamId": 3, "rowsize": 2, "path": )" +
                              path_json(3, 20) + "}"),
            kTextOk);
  Bytes payload = sent(1269).at(0).payload;
  ASSERT_EQ(payload.size(), 4620u);
  EXPECT_EQ(int_at(payload, 0), 2);
  EXPECT_EQ(int_at(payload, 4), 3);
  EXPECT_EQ(int_at(payload, 8), 7);  // tour index from 0
  const size_t block = 12 + 7 * 576;
  EXPECT_EQ(int_at(payload, block), 20);            // preset[0]
  EXPECT_EQ(int_at(payload, block + 4), 21);        // preset[1]
  EXPECT_EQ(int_at(payload, block + 8), 0);         // preset[2]: beyond rowsize
  EXPECT_EQ(int_at(payload, block + 192), 200);     // time[0]
  EXPECT_EQ(int_at(payload, block + 192 + 4), 210); // time[1]
  EXPECT_EQ(int_at(payload, block + 384), 2);       // speed[0]
  EXPECT_EQ(int_at(payload, block + 384 + 4), 3);   // speed[1]
  for (size_t at = 12; at < block; at += 4) ASSERT_EQ(int_at(payload, at), 0) << at;
  EXPECT_EQ(only_log(), std::make_pair(904, 3));
  EXPECT_EQ(stored_tour_table(2).tours[7].points[0].preset, 0);
  forget();
  EXPECT_EQ(call("/6056", R"({"chn": 2, "tourid": 1, "rowsize": 100, "path": )" +
                              path_json(60) + "}"),
            kTextOk);
  payload = sent(1269).at(0).payload;
  EXPECT_EQ(int_at(payload, 8), 0);
  EXPECT_EQ(int_at(payload, 12 + 47 * 4), 48);  // the last point taken
  EXPECT_EQ(int_at(payload, 12 + 192), 10);     // then the times, not point 49
}

TEST_F(PtzTours, RunAndStopSendTheCommandAsItCame) {
  for (auto [path, code] : {std::pair{"/5002", 1260}, std::pair{"/5003", 1261}}) {
    EXPECT_EQ(call(path, R"({"chn": 70, "tourid": 12, "fisheyeType": 1, "streamId": 4})"),
              kTextOk);
    auto command = sent_once<ptz_tour_command>(code);
    EXPECT_EQ(command.chn, 70);
    EXPECT_EQ(command.tourid, 12);
    EXPECT_EQ(command.fisheyeType, 1);
    EXPECT_EQ(command.streamId, 4);
    EXPECT_EQ(only_log(), std::make_pair(900, 71));
    forget();
  }
}

}  // namespace

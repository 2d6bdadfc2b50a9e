// The trigger-channel rule, counts and copy lists, and the settings
// accessors of the alarm records.
#include "alarm_test_util.h"
#include "alarm_util.h"

namespace {

using AlarmSettings = AlarmTest;

TEST(AlarmRules, TriggerMaskTakesTheFirst32Characters) {
  EXPECT_EQ(alarms::trigger_mask("1010", 65), 5u);
  EXPECT_EQ(alarms::trigger_mask("", 65), 0u);
  EXPECT_EQ(alarms::trigger_mask("0x1a1", 65), 20u);  // only '1' counts
  std::string forty(40, '1');
  EXPECT_EQ(alarms::trigger_mask(forty.c_str(), 65), 0xFFFFFFFFu);
  std::string high = std::string(32, '0') + "11111111";
  EXPECT_EQ(alarms::trigger_mask(high.c_str(), 65), 0u);
  char unterminated[4] = {'1', '1', '1', '1'};
  EXPECT_EQ(alarms::trigger_mask(unterminated, 2), 3u);  // never beyond the field
}

TEST(AlarmRules, CountsAndCopyLists) {
  EXPECT_EQ(alarms::clamp_count(-3, 4), 0);
  EXPECT_EQ(alarms::clamp_count(6, 4), 4);
  EXPECT_EQ(alarms::clamp_count(2, 4), 2);
  JsonPtr j(json_tokener_parse(R"({"copyCnt": 4, "copyChn": [1, 3, 16, -1, 2]})"));
  EXPECT_EQ(alarms::copy_targets(j.get(), 3, 16), 0x2u);       // 3 is the source; 2 not taken
  EXPECT_EQ(alarms::copy_targets(j.get(), 0, 4), 0xAu);
  JsonPtr none(json_tokener_parse(R"({"copyCnt": -2, "copyChn": [1]})"));
  EXPECT_EQ(alarms::copy_targets(none.get(), 0, 16), 0u);
  JsonPtr longer(json_tokener_parse(R"({"copyCnt": 9, "copyChn": [1]})"));
  EXPECT_EQ(alarms::copy_targets(longer.get(), 0, 16), 0x2u);  // the list's end
}

TEST_F(AlarmSettings, RecordsReadAsDefaultsAndRefuseBadKeys) {
  alarm_in_params in = {};
  EXPECT_EQ(read_alarm_in(KXDB_FILE, &in, 15), 0);
  EXPECT_EQ(in.id, 15);
  EXPECT_EQ(read_alarm_in(KXDB_FILE, &in, 16), -1);
  EXPECT_EQ(read_alarm_in(KXDB_FILE, &in, -1), -1);
  in.id = 16;
  EXPECT_EQ(write_alarm_in(KXDB_FILE, &in), -1);
  alarm_out_params out = {};
  EXPECT_EQ(read_alarm_out(KXDB_FILE, &out, 4), -1);
  schedule s = {};
  EXPECT_EQ(read_alarm_out_schedule(KXDB_FILE, &s, 4), -1);
  EXPECT_EQ(read_alarm_chnIn_effective_schedule(KXDB_FILE, &s, 63, 4), -1);
  EXPECT_EQ(read_alarm_chnOut_effective_schedule(KXDB_FILE, &s, 64, 0), -1);
  alarm_chnin_event ev = {};
  EXPECT_EQ(read_alarm_chnIn_event(KXDB_FILE, &ev, 63, 3), 0);
  EXPECT_EQ(ev.chn, 63);
  EXPECT_EQ(ev.index, 3);
  EXPECT_EQ(read_alarm_chnIn_event(KXDB_FILE, &ev, 64, 0), -1);
  alarm_disarming d = {7, 7, {}};
  EXPECT_EQ(read_disarming(KXDB_FILE, &d), 0);
  EXPECT_EQ(d.linkageAction, 0);
}

TEST_F(AlarmSettings, MaskedWritesTouchOnlyTheirKeys) {
  alarm_in_params ins[ALARM_IN_COUNT] = {};
  for (int i = 0; i < ALARM_IN_COUNT; i++) {
    ins[i].id = i;
    ins[i].triAlarms = 100 + i;
  }
  EXPECT_EQ(write_alarm_ins(KXDB_FILE, ins, ALARM_IN_COUNT, 0x8002), 0);
  EXPECT_EQ(stored_in(1).triAlarms, 101);
  EXPECT_EQ(stored_in(15).triAlarms, 115);
  EXPECT_EQ(stored_in(2).triAlarms, 0);
  schedule s = {};
  snprintf(s.days[0].plans[0].start_time, 32, "01:00");
  EXPECT_EQ(copy_alarmin_ptz_schedules(KXDB_FILE, &s, ~0ULL), 0);  // inputs only
  schedule back = {};
  EXPECT_EQ(read_alarmin_ptz_schedule(KXDB_FILE, &back, 15), 0);
  EXPECT_EQ(days_set(back), 1);
  EXPECT_EQ(kxdb_get(KXDB_FILE, "alarmin_ptz_sche", 16, &back, sizeof back), 1);
}

TEST_F(AlarmSettings, CameraNamesAndDelays) {
  alarm_chnout_name n = {5, 1, 30, "Siren"};
  EXPECT_EQ(write_alarm_chnOut_event_name(KXDB_FILE, &n), 0);
  EXPECT_EQ(copy_alarm_chnOut_delays(KXDB_FILE, 1, 45, 1ULL << 5 | 1ULL << 63), 0);
  alarm_chnout_name table[CAMERA_ALARM_CHANNELS] = {};
  EXPECT_EQ(read_alarm_chnOut_event_names(KXDB_FILE, table, CAMERA_ALARM_CHANNELS, 1), 0);
  EXPECT_EQ(std::string(table[5].alarmName), "Siren");  // the name stays
  EXPECT_EQ(table[5].delayTime, 45);
  EXPECT_EQ(table[63].delayTime, 45);
  EXPECT_EQ(table[63].index, 1);
  EXPECT_EQ(table[62].delayTime, 0);
  alarm_chnout_name other[CAMERA_ALARM_CHANNELS] = {};
  EXPECT_EQ(read_alarm_chnOut_event_names(KXDB_FILE, other, CAMERA_ALARM_CHANNELS, 0), 0);
  EXPECT_EQ(other[5].delayTime, 0);  // output 0 is a table of its own
  EXPECT_EQ(read_alarm_chnOut_event_names(KXDB_FILE, other, CAMERA_ALARM_CHANNELS, 2), -1);
  alarm_chnin_name in = {2, 3, "Door"};
  EXPECT_EQ(write_alarm_chnIn_event_name(KXDB_FILE, &in), 0);
  alarm_chnin_name names[CAMERA_ALARM_CHANNELS] = {};
  EXPECT_EQ(read_alarm_chnIn_event_names(KXDB_FILE, names, CAMERA_ALARM_CHANNELS, 3), 0);
  EXPECT_EQ(std::string(names[2].alarmName), "Door");
  EXPECT_EQ(names[2].chn, 2);
}

}  // namespace

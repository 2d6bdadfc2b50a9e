// The factory command interface: its hash table, the pair splitter, the
// commands, and chip edits against the chip tool of the device root.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "handler_fixture.h"
#include "service.h"

namespace {

constexpr const char *kChipFile = "/mnt/nand/app/chipinfo";
constexpr const char *kChip = "KXN8016P8H20E2024110S00123456789";

std::string read_file(const char *path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const char *path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

class FactoryCommands : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    write_file(kChipFile, kChip);
  }
  std::string vb(const std::string &query) { return reply_body(call("/vb.htm", query)); }
  std::string chip() { return read_file(kChipFile); }
};

TEST(OptionHash, NineNamesInTheirBuckets) {
  const std::pair<const char *, int> buckets[] = {
      {"setlang", 10},   {"setdefault", 53}, {"decode", 48},
      {"hotplug", 3},    {"oemclean", 32},   {"paratest", 24},
      {"chipupdate", 27}, {"modelupdate", 0}, {"softversion", 18}};
  for (auto [name, bucket] : buckets) EXPECT_EQ(hash_cal_value(name), bucket) << name;
  // The accumulator is 8 bits wide: a long name wraps rather than overflows.
  EXPECT_EQ(hash_cal_value("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"),
            hash_cal_value("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"));
  EXPECT_EQ(http_option_search("setlang"), nullptr);  // no table yet
  ASSERT_EQ(hash_table_init(), 0);
  for (int i = 0; i < HTTP_OPTION_COUNT; i++) {
    http_option *row = &http_option_table()[i];
    EXPECT_EQ(http_option_search(row->name), row) << row->name;
  }
  EXPECT_EQ(http_option_search("debug"), nullptr);
  EXPECT_EQ(http_option_search("setlan"), nullptr);
  hash_table_destory();
  EXPECT_EQ(http_option_search("setlang"), nullptr);
}

TEST(OptionHash, CollidingNamesShareABucketAndBothAreFound) {
  ASSERT_EQ(hash_cal_value("eq"), hash_cal_value("setlang"));
  ASSERT_EQ(hash_table_init(), 0);
  http_option extra = {"eq", nullptr, {0, 0, 0}, nullptr};
  hash_insert_entry(&extra);
  EXPECT_EQ(extra.next, &http_option_table()[0]);  // inserted at the head
  EXPECT_EQ(http_option_search("eq"), &extra);
  EXPECT_EQ(http_option_search("setlang"), &http_option_table()[0]);
  hash_table_destory();
}

TEST(PairSplitter, CountsAndLimits) {
  EXPECT_EQ(get_httpoption_argnum("a=1&b=2&c"), 2);
  EXPECT_EQ(get_httpoption_argnum((std::string(255, 'x') + "=1").c_str()), 0);
  EXPECT_EQ(get_httpoption_argnum((std::string(254, 'x') + "=1").c_str()), 1);

  http_option_pair pairs[HTTP_OPTION_PAIRS];
  ASSERT_EQ(ui_decodeing("setlang=2&hotplug=1", pairs, 2), 0);
  EXPECT_STREQ(pairs[0].name, "setlang");
  EXPECT_STREQ(pairs[0].value, "2");
  EXPECT_STREQ(pairs[1].name, "hotplug");
  EXPECT_STREQ(pairs[1].value, "1");
  // The value's last character may be the 64th of the text, not the 65th.
  std::string fits = "a=" + std::string(62, 'v');
  ASSERT_EQ(ui_decodeing(fits.c_str(), pairs, 1), 0);
  EXPECT_EQ(std::string(pairs[0].value), std::string(62, 'v'));
  EXPECT_EQ(ui_decodeing((fits + "v").c_str(), pairs, 1), -1);
  // A name of 64 characters would leave its field no terminator.
  EXPECT_EQ(ui_decodeing((std::string(64, 'n') + "=").c_str(), pairs, 1), -1);
  EXPECT_EQ(ui_decodeing("a=1", pairs, 0), -1);
  EXPECT_EQ(ui_decodeing("a=1", pairs, HTTP_OPTION_PAIRS + 1), -1);
  EXPECT_EQ(ui_decodeing("a=1&b", pairs, 2), -1);  // a count the text does not hold
  // 64 pairs fit the array; they cannot all lie within 64 characters.
  std::string many;
  for (int i = 0; i < HTTP_OPTION_PAIRS; i++) many += "a=&";
  EXPECT_EQ(ui_decodeing(many.c_str(), pairs, HTTP_OPTION_PAIRS), -1);
  ASSERT_EQ(ui_decodeing(many.c_str(), pairs, 21), 0);
  EXPECT_STREQ(pairs[20].name, "a");

  EXPECT_EQ(is_httpoption_no_arg("softversion"), 1);
  EXPECT_EQ(is_httpoption_no_arg("debug"), 1);
  EXPECT_EQ(is_httpoption_no_arg("softversion2"), 0);
  EXPECT_EQ(is_httpoption_no_arg(""), 0);
}

TEST_F(FactoryCommands, NoArgumentCommandsAndVersion) {
  std::string reply = call("/vb.htm", "softversion");
  EXPECT_EQ(reply_header(reply), "Content-type: text/plain\r\n");
  EXPECT_EQ(reply_body(reply), "7x.7.0.9");
  set_param_value(KXDB_FILE, "software_version", "7x.8.1.2");
  EXPECT_EQ(vb("softversion=1"), "7x.8.1.2");
  EXPECT_EQ(vb("debug"), "ERROR");  // a no-argument name without a row
  EXPECT_EQ(vb("nothing"), "PARAM ERROR");
  EXPECT_EQ(vb(""), "PARAM ERROR");
}

TEST_F(FactoryCommands, TwoCommandsTwoRepliesAndAnUnknownNameStops) {
  std::string reply = call("/vb.htm", "setlang=2&hotplug=0");
  EXPECT_EQ(reply_body(reply), "OKOK");  // one header, two replies
  settle();
  auto lang = sent(4000);
  ASSERT_EQ(lang.size(), 1u);
  ASSERT_EQ(lang[0].payload.size(), 4u);
  EXPECT_EQ(int_at(lang[0].payload, 0), 2);
  EXPECT_EQ(get_param_int(KXDB_FILE, "hdmihotplug", 1), 0);

  forget();
  EXPECT_EQ(vb("hotplug=1&bogus=1&setlang=3"), "OKERROR");
  settle();
  EXPECT_TRUE(sent(4000).empty());
  EXPECT_EQ(vb("setdefault=1"), "");
}

TEST_F(FactoryCommands, MissingKeysAreAddedAndBadPairsRunNothing) {
  ASSERT_NE(check_param_key(KXDB_FILE, "decode"), 0);
  EXPECT_EQ(vb("decode=4"), "OK");
  char value[16];
  get_param_value(KXDB_FILE, "decode", value, sizeof value, "");
  EXPECT_STREQ(value, "4");
  // The second value ends after the 64th character: nothing runs.
  EXPECT_EQ(vb("decode=5&hotplug=" + std::string(50, '1')), "PARAM ERROR");
  get_param_value(KXDB_FILE, "decode", value, sizeof value, "");
  EXPECT_STREQ(value, "4");
}

TEST_F(FactoryCommands, ParatestRepliesTheChipTextAsRead) {
  EXPECT_EQ(vb("paratest=chipinfo"), std::string("OK chipinfo=") + kChip + "\n\n");
  EXPECT_EQ(vb("paratest=other"), "Param ERROR");
  EXPECT_NE(access(CHIP_INFO_FILE, F_OK), 0);  // the tool's output is removed
  unlink(kChipFile);
  EXPECT_EQ(vb("paratest=chipinfo"), "ERROR");
}

TEST_F(FactoryCommands, ModelUpdateWritesOneFieldPadded) {
  EXPECT_EQ(vb("modelupdate=H12"), "OK modelupdate");
  EXPECT_EQ(chip(), "KXN8016P8H12E2024110S00123456789");
  EXPECT_EQ(vb("modelupdate=H1"), "OK modelupdate");
  EXPECT_EQ(chip(), "KXN8016P8H10E2024110S00123456789");
  EXPECT_EQ(vb("modelupdate=N4"), "OK modelupdate");
  EXPECT_EQ(chip(), "KXN400000H10E2024110S00123456789");
  EXPECT_EQ(vb("modelupdate=S9"), "OK modelupdate");
  EXPECT_EQ(chip(), "KXN400000H10E2024110S90000000000");
  for (const char *bad : {"modelupdate=H123", "modelupdate=", "modelupdate=X1"}) {
    EXPECT_EQ(vb(bad), "NG modelupdate") << bad;
  }
  EXPECT_EQ(chip(), "KXN400000H10E2024110S90000000000");
  // An unreadable chip is not programmed with a text made from nothing.
  unlink(kChipFile);
  EXPECT_EQ(vb("modelupdate=H12"), "NG modelupdate");
  EXPECT_NE(access(kChipFile, F_OK), 0);
}

TEST_F(FactoryCommands, ChipUpdateFieldsWholeTextsAndRefusals) {
  EXPECT_EQ(vb("chipupdate=N123456"), "OK chipupdate");
  EXPECT_EQ(chip(), "KXN123456H20E2024110S00123456789");
  // The "E", "H" and "S" fields start at their selector's position.
  EXPECT_EQ(vb("chipupdate=E7654321"), "OK chipupdate");
  EXPECT_EQ(chip(), "KXN123456H2076543210S00123456789");
  EXPECT_EQ(vb("chipupdate=S98765432109"), "OK chipupdate");
  EXPECT_EQ(chip(), "KXN123456H2076543210987654321099");
  // 21 to 31 characters are padded with '0' to 32 first.
  EXPECT_EQ(vb("chipupdate=H77abcdefghijklmnopqr"), "OK chipupdate");
  EXPECT_EQ(chip(), "KXN12345677076543210987654321099");
  // Too few characters after the selector: the terminator would be copied.
  EXPECT_EQ(vb("chipupdate=N12"), "NG chipupdate");
  EXPECT_EQ(vb("chipupdate=Q123456"), "NG chipupdate");
  EXPECT_EQ(vb("chipupdate=" + std::string(33, 'N')), "NG chipupdate");
  EXPECT_EQ(chip(), "KXN12345677076543210987654321099");
  // A whole text replaces the chip's, also when the chip cannot be read.
  unlink(kChipFile);
  EXPECT_EQ(vb("chipupdate=H12"), "NG chipupdate");
  EXPECT_EQ(vb("chipupdate=KXN1234567890123456789012345678"), "OK chipupdate");
  EXPECT_EQ(chip(), "KXN12345678901234567890123456780");
  EXPECT_EQ(vb("chipupdate=KXN12"), "NG chipupdate");
}

TEST_F(FactoryCommands, ChipTextReachesNoShell) {
  EXPECT_EQ(vb("chipupdate=KXN;touch${IFS}/tmp/pwned;1234"), "OK chipupdate");
  EXPECT_NE(access("/tmp/pwned", F_OK), 0);
  EXPECT_EQ(chip(), kChip);  // the tool refuses what is not a chip text
}

TEST_F(FactoryCommands, OemCleanRestoresTheFactoryBranding) {
  write_file("/mnt/nand2/logo.jpg_bk", "factory logo");
  write_file("/mnt/nand2/custom.txt", "uploaded branding");
  set_param_int(KXDB_FILE, "oem_type", 3);
  EXPECT_EQ(vb("oemclean"), "OK");
  EXPECT_EQ(read_file("/opt/app/bin/logo.jpg"), "factory logo");
  EXPECT_NE(access("/mnt/nand2/custom.txt", F_OK), 0);
  for (const char *marker : {"eraseip", "eraseuser", "eraseall"}) {
    EXPECT_EQ(access((std::string("/mnt/nand/app/") + marker).c_str(), F_OK), 0) << marker;
  }
  EXPECT_EQ(get_param_int(KXDB_FILE, "oem_type", -1), 0);
}

}  // namespace

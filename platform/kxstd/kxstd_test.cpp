#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

#include "kxdb.h"
#include "kxstd.h"

namespace {

TEST(ParamStore, TextValuesWithDefaults) {
  kxdb_close_all();
  unlink(KXDB_FILE);
  EXPECT_EQ(get_param_int(KXDB_FILE, "max_cameras", 32), 32);
  char buf[16];
  get_param_value(KXDB_FILE, "software_version", buf, sizeof buf, "7x.7.0.9");
  EXPECT_STREQ(buf, "7x.7.0.9");
  EXPECT_EQ(check_param_key(KXDB_FILE, "decode"), -1);
  EXPECT_EQ(add_param_value(KXDB_FILE, "decode", ""), 0);
  EXPECT_EQ(check_param_key(KXDB_FILE, "decode"), 0);  // empty, but there
  EXPECT_EQ(get_param_int(KXDB_FILE, "decode", 4), 4);
  set_param_int(KXDB_FILE, "max_cameras", 16);
  EXPECT_EQ(get_param_int(KXDB_FILE, "max_cameras", 32), 16);
  set_param_value(KXDB_FILE, "model", "a long model name");
  get_param_value(KXDB_FILE, "model", buf, 7, "");
  EXPECT_STREQ(buf, "a long");
  set_param_value(KXDB_FILE, "pushmsg_alarmin_type", "0xffff");
  EXPECT_EQ(get_param_int(KXDB_FILE, "pushmsg_alarmin_type", 0), 0xffff);
  kxdb_close_all();
  unlink(KXDB_FILE);
}

TEST(Coding, Base64RoundTripsAndRefusesOverflow) {
  const unsigned char data[] = {0xfb, 0xff, 0x00, 'a', 'b'};
  char enc[16];
  ASSERT_EQ(base64EncodeUrl(data, 5, enc, sizeof enc), 7);
  EXPECT_STREQ(enc, "-_8AYWI");
  unsigned char dec[8];
  ASSERT_EQ(base64DecodeUrl(enc, dec, sizeof dec), 5);
  EXPECT_EQ(memcmp(dec, data, 5), 0);
  EXPECT_EQ(base64DecodeUrl(enc, dec, 4), -1);
  EXPECT_EQ(base64EncodeUrl(data, 5, enc, 7), -1);
  EXPECT_EQ(kx_base64_decode("aGVsbG8=", 8, dec, sizeof dec), 5);
  EXPECT_EQ(memcmp(dec, "hello", 5), 0);
  EXPECT_EQ(kx_base64_decode("a$b", 3, dec, sizeof dec), -1);
}

TEST(Coding, UrlCodingIsBoundedByTheOutput) {
  char out[8];
  EXPECT_EQ(get_url_decode("a%2Fb%zz+c%4", out, sizeof out), 7);
  EXPECT_STREQ(out, "a/b%zz ");
  std::string big(1000, 'x');
  EXPECT_EQ(get_url_decode(("%41" + big).c_str(), out, sizeof out), 7);
  EXPECT_STREQ(out, "Axxxxxx");
  EXPECT_EQ(get_url_encode("a b/ü", out, sizeof out), 5);
  EXPECT_STREQ(out, "a%20b");  // an escape is never split
  char wide[32];
  get_url_encode("a b/~", wide, sizeof wide);
  EXPECT_STREQ(wide, "a%20b%2F~");
}

TEST(ChannelMasks, TextsAndBits) {
  EXPECT_EQ(get_channel_mask("1011"), 13u);
  std::string text(70, '1');
  EXPECT_EQ(get_channel_mask(text.c_str()), ~0ULL);
  EXPECT_EQ(get_channel_mask(nullptr), 0u);
  uint64_t mask = 0;
  kx_set_bit(&mask, 63);
  kx_set_bit(&mask, 64);
  kx_set_bit(&mask, -1);
  EXPECT_EQ(mask, 1ULL << 63);
}

TEST(Commands, ArgumentVectorsTakeTextLiterally) {
  const char *argv[] = {"/bin/sh", "-c", "exit 3", nullptr};
  EXPECT_EQ(kx_run_argv(argv), 3);
  const char *touch[] = {"/usr/bin/touch", "/tmp/a;touch b $(touch c)", nullptr};
  EXPECT_EQ(kx_run_argv(touch), 0);
  EXPECT_EQ(access("/tmp/a;touch b $(touch c)", F_OK), 0);
  EXPECT_NE(access("b", F_OK), 0);
  EXPECT_NE(access("c", F_OK), 0);
  EXPECT_EQ(kx_system("exit 2"), 2);
  FILE *p = kx_vpopen("echo hi", "r");
  char line[8] = {};
  ASSERT_NE(fgets(line, sizeof line, p), nullptr);
  EXPECT_STREQ(line, "hi\n");
  EXPECT_EQ(kx_vpclose(p), 0);
}

}  // namespace

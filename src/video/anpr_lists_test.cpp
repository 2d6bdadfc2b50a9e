// Plate lists: the accessors over the plate file and the three list pages.
#include <sys/stat.h>
#include <unistd.h>

#include "anpr.h"
#include "kxdb_anpr.h"
#include "video_test_util.h"

namespace {

using namespace video;

class AnprLists : public VideoTest {
 protected:
  // "type:plate" of every stored entry, in the order added.
  std::vector<std::string> stored() {
    std::vector<anpr_list_entry> all(ANPR_LIST_MAX);
    int count = 0;
    EXPECT_EQ(read_anpr_lists(ANPR_DB_FILE, all.data(), ANPR_LIST_MAX, &count), 0);
    std::vector<std::string> out;
    for (int i = 0; i < count; i++) out.push_back(std::string(all[i].type) + ":" + all[i].plate);
    return out;
  }
};

anpr_list_entry entry(const char *type, const char *plate) {
  anpr_list_entry e = {};
  snprintf(e.type, sizeof e.type, "%s", type);
  snprintf(e.plate, sizeof e.plate, "%s", plate);
  return e;
}

using Strings = std::vector<std::string>;

// Makes every write of the plate file fail while it lives (the file becomes
// a directory).
struct BrokenPlateFile {
  BrokenPlateFile() {
    reset_settings();
    mkdir(ANPR_DB_FILE, 0755);
  }
  ~BrokenPlateFile() {
    kxdb_close_all();
    rmdir(ANPR_DB_FILE);
  }
};

TEST(AnprUrlDecode, BoundedAndLiteral) {
  char out[8];
  get_url_decode("A%20B", out, sizeof out);
  EXPECT_STREQ(out, "A B");
  get_url_decode("%zz%2", out, sizeof out);
  EXPECT_STREQ(out, "%zz%2");
  get_url_decode("%00x%", out, sizeof out);
  EXPECT_STREQ(out, "%00x%");
  get_url_decode("ABCDEFGHIJ", out, sizeof out);
  EXPECT_STREQ(out, "ABCDEFG");
  get_url_decode(nullptr, out, sizeof out);
  EXPECT_STREQ(out, "");
}

TEST_F(AnprLists, AccessorsMatchPlatesExactly) {
  anpr_list_entry batch[] = {entry("black", "AB 123"), entry("white", "A%_*'"),
                             entry("white", "AB_123"), entry("black", "AB 123")};
  ASSERT_EQ(write_anpr_list_replace_batch(ANPR_DB_FILE, batch, 4), 0);
  EXPECT_EQ(stored(), (Strings{"black:AB 123", "white:A%_*'", "white:AB_123"}));
  anpr_list_entry found = {};
  EXPECT_EQ(read_anpr_list_plate(ANPR_DB_FILE, &found, "A%_*'"), 0);
  EXPECT_STREQ(found.type, "white");
  EXPECT_EQ(read_anpr_list_plate(ANPR_DB_FILE, &found, "A%"), 1);
  anpr_list_entry pattern = entry("", "AB%");
  ASSERT_EQ(delete_anpr_list(ANPR_DB_FILE, &pattern), 0);  // no pattern: nothing goes
  EXPECT_EQ(stored().size(), 3u);
  anpr_list_entry visitor = entry("visitor", "AB_123");
  EXPECT_EQ(update_anpr_list(ANPR_DB_FILE, &visitor), 0);
  anpr_list_entry absent = entry("visitor", "ZZ 1");
  EXPECT_EQ(update_anpr_list(ANPR_DB_FILE, &absent), 1);
  EXPECT_EQ(stored(), (Strings{"black:AB 123", "white:A%_*'", "visitor:AB_123"}));
  anpr_list_entry gone[] = {entry("", "AB 123"), entry("", "nothing")};
  ASSERT_EQ(delete_anpr_lists(ANPR_DB_FILE, gone, 2), 0);
  EXPECT_EQ(stored(), (Strings{"white:A%_*'", "visitor:AB_123"}));
}

TEST_F(AnprLists, AddTakesElementsUntilOneIsMissing) {
  EXPECT_EQ(call("/6184", R"({"cnt": 3, "plate": [["black", "AB%20123"], ["white", "CD'9%"]]})"),
            kJsonHeader + R"({ "count": 2 })");
  EXPECT_EQ(stored(), (Strings{"black:AB 123", "white:CD'9%"}));
  EXPECT_EQ(call("/6184", R"({"cnt": 1, "plate": [["0123456789abcdefXYZ", "AB 123"], ["x", "y"]]})"),
            kJsonHeader + R"({ "count": 1 })");
  EXPECT_EQ(stored(), (Strings{"0123456789abcde:AB 123", "white:CD'9%"}));
  for (const char *body : {R"({"cnt": 0, "plate": [["a", "b"]]})",
                           R"({"cnt": 10000, "plate": [["a", "b"]]})",
                           R"({"cnt": 2, "plate": []})", R"({"cnt": 2})", "not json", ""}) {
    EXPECT_EQ(call("/6184", body), kJsonError) << body;
  }
  EXPECT_EQ(stored().size(), 2u);
}

TEST_F(AnprLists, LongPlateCutTo63Characters) {
  std::string plate(100, 'P');
  EXPECT_EQ(call("/6184", R"({"cnt": 1, "plate": [["black", ")" + plate + R"("]]})"),
            kJsonHeader + R"({ "count": 1 })");
  EXPECT_EQ(stored(), (Strings{"black:" + std::string(63, 'P')}));
}

TEST_F(AnprLists, DeleteByDecodedPlate) {
  call("/6184", R"({"cnt": 3, "plate": [["black", "AB 123"], ["white", "CD 9"], ["white", "EF"]]})");
  EXPECT_EQ(call("/6183", R"({"cnt": 5, "plate": ["AB%20123", "EF"]})"), kTextOk);
  EXPECT_EQ(stored(), (Strings{"white:CD 9"}));
  EXPECT_EQ(call("/6183", R"({"cnt": 1, "plate": []})"), kCgiError);
  EXPECT_EQ(call("/6183", R"({"cnt": 0, "plate": ["CD 9"]})"), kCgiError);
  EXPECT_EQ(call("/6183", R"({"cnt": 10000, "plate": ["CD 9"]})"), kCgiError);
  EXPECT_EQ(call("/6183", "not json"), kCgiError);
  EXPECT_EQ(stored(), (Strings{"white:CD 9"}));
}

TEST_F(AnprLists, UpdateRenamesOrAdds) {
  call("/6184", R"({"cnt": 2, "plate": [["black", "AB 1"], ["white", "CD 2"]]})");
  // Renamed onto an existing plate: that entry takes the new type in place.
  EXPECT_EQ(call("/6185", R"({"cnt": 1, "plate": [["AB%201", "visitor", "CD%202"]]})"), kTextOk);
  EXPECT_EQ(stored(), (Strings{"visitor:CD 2"}));
  // A missing old plate: the new one is added.
  EXPECT_EQ(call("/6185", R"({"cnt": 2, "plate": [["none", "black", "EF 3"]]})"), kTextOk);
  EXPECT_EQ(stored(), (Strings{"visitor:CD 2", "black:EF 3"}));
  EXPECT_EQ(call("/6185", ""), kJsonError);
  EXPECT_EQ(call("/6185", "not json"), kCgiError);
  EXPECT_EQ(call("/6185", R"({"cnt": 0, "plate": [["a", "b", "c"]]})"), kCgiError);
  EXPECT_EQ(call("/6185", R"({"cnt": 10000})"), kCgiError);
}

TEST_F(AnprLists, FailedStoreAnswersTheError) {
  BrokenPlateFile broken;
  EXPECT_EQ(call("/6184", R"({"cnt": 1, "plate": [["black", "CD 2"]]})"), kJsonError);
  EXPECT_EQ(call("/6183", R"({"cnt": 1, "plate": ["AB 1"]})"), kCgiError);
  EXPECT_EQ(call("/6185", R"({"cnt": 1, "plate": [["AB 1", "white", "AB 1"]]})"), kCgiError);
}

}  // namespace

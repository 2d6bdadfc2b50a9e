// Languages, branding, the access filter, alarm audio files, diagnostics,
// downloads, page texts and the camera address batch, in process.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "handler_fixture.h"
#include "json_checks.h"
#include "kxdb_camera.h"
#include "service.h"

namespace {

constexpr const char *kDemoKey = "DemoBrandingKey0123456789abcdefg";

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string &path) {
  return access(path.c_str(), F_OK) == 0;
}

std::string encoded(const std::string &name) {
  char out[256];
  base64EncodeUrl((const unsigned char *)name.data(), (int)name.size(), out, sizeof out);
  return out;
}

std::string language_list(int entries, const std::string &extra = "",
                          const std::string &is_default = "false") {
  std::string list;
  for (int i = 0; i < entries; i++) {
    if (i) list += ",";
    list += R"({"value": "l)" + std::to_string(i) + R"(", "name": "Language )" +
            std::to_string(i) + R"(", "isDefault": )" + (i ? "false" : is_default) + "}";
  }
  return R"({"defaultLan": "l0", "list": [)" + list + "]" + extra + "}";
}

using Service = HandlerTest;

TEST_F(Service, LanguageListIsCheckedThenReplaced) {
  mkdir("/opt/app/www/webfile", 0755);
  mkdir(LANG_FILE_DIR, 0755);
  write_file(LANGUAGES_FILE, "old list\n");
  for (const std::string &bad :
       {language_list(18), language_list(19, R"(, "third": 1)"), language_list(19, "", "1"),
        std::string(R"({"defaultLan": "", "list": []})"), std::string("not json")}) {
    EXPECT_EQ(call("/1001", bad), "") << bad;
    EXPECT_EQ(read_file(LANGUAGES_FILE), "old list\n");
  }
  std::string good = language_list(19, "", "true");
  EXPECT_EQ(call("/1001", good), kTextHeader + "OK");
  EXPECT_EQ(read_file(LANGUAGES_FILE), good + "\n");
  EXPECT_FALSE(exists(LANGUAGES_BACKUP_FILE));
}

TEST_F(Service, BrandingRoundTripWithTheDemoPackage) {
  const std::string upload = "/tmp/branding.pkg";
  std::string command = std::string(BRANDING_SCRIPT) + " " + upload;
  ASSERT_EQ(system(command.c_str()), 0);
  EXPECT_EQ(call("/oem", upload + " & aes=" + kDemoKey), kTextHeader + "OK");
  EXPECT_NE(read_file("/mnt/nand2/brand.conf").find("company=Harbourlight Systems"),
            std::string::npos);
  EXPECT_TRUE(exists("/mnt/nand2/logo.svg"));
  EXPECT_TRUE(exists(BRANDING_MARKER));
  EXPECT_FALSE(exists(upload));
  EXPECT_FALSE(exists("/tmp/oem.zip"));

  // A wrong key, a short key, no key, and a path that is no upload.
  ASSERT_EQ(system(command.c_str()), 0);
  unlink("/mnt/nand2/brand.conf");
  for (const std::string &text :
       {upload + " & aes=ffffffffffffffffffffffffffffffff", upload + " & aes=" + "short",
        upload + " & x=1", "/etc/passwd & aes=" + std::string(kDemoKey),
        "/tmp/" + std::string(80, 'p') + " & aes=" + kDemoKey}) {
    EXPECT_EQ(call("/oem", text), kTextHeader + "ERROR") << text;
  }
  EXPECT_FALSE(exists("/mnt/nand2/brand.conf"));
}

TEST_F(Service, AccessFilterRoundTripKeepsAHundredEntries) {
  std::string list;
  for (int i = 0; i < 101; i++) {
    if (i) list += ",";
    list += R"({"address_type": )" + std::to_string(i % 2) + R"(, "address": "10.0.)" +
            std::to_string(i) + R"(.1"})";
  }
  std::string longest = std::string(40, 'a');
  list.replace(list.find("10.0.0.1"), 8, longest);
  std::string request = R"({"filterEnable": 1, "filterType": 0, "filterList": [)" + list + "]}";
  EXPECT_EQ(call("/6301", request), kTextHeader + "OK");
  settle();
  EXPECT_EQ(sent(1722).size(), 1u);
  JsonPtr reply = parse_body(call("/6300"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"filterEnable", "filterType", "filterList"}));
  EXPECT_EQ(int_member(reply.get(), "filterEnable"), 1);
  EXPECT_EQ(int_member(reply.get(), "filterType"), 0);
  json_object *entries = json_member(reply.get(), "filterList");
  ASSERT_EQ(array_length(entries), 100);
  EXPECT_EQ(text_member(array_at(entries, 0), "address"), std::string(31, 'a'));
  EXPECT_EQ(text_member(array_at(entries, 99), "address"), "10.0.99.1");
  EXPECT_EQ(int_member(array_at(entries, 99), "address_type"), 1);

  forget();
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6301", request), kCgiError);
  }
  settle();
  EXPECT_TRUE(sent(1722).empty());
}

TEST_F(Service, AudioListLeavesOutDisabledAndUndecodableNames) {
  std::vector<alarm_audio_file> files(4);
  for (int i = 0; i < 4; i++) {
    files[i].id = i;
    files[i].enable = i == 2 ? 0 : 1;
    snprintf(files[i].name, sizeof files[i].name, "%s", encoded("File " + std::to_string(i)).c_str());
  }
  snprintf(files[3].name, sizeof files[3].name, "not*base64");
  memset(files[1].name, 'Q', sizeof files[1].name);  // no terminator: read within the field
  daemon().answer(4012, records_answer(files));
  JsonPtr reply = parse_body(call("/6320"));
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"audioFileList", "status"}));
  json_object *list = json_member(reply.get(), "audioFileList");
  ASSERT_EQ(array_length(list), 2);
  EXPECT_EQ(text_member(array_at(list, 0), "name"), "File 0");
  EXPECT_EQ(int_member(array_at(list, 1), "id"), 1);
  EXPECT_EQ(text_member(array_at(list, 1), "name").size(), 96u);
  daemon().silent(4012);
  EXPECT_EQ(call("/6320"), kJsonError);
}

TEST_F(Service, AudioUploadKeepsOnlyItsOwnFile) {
  write_file("/tmp/other.wav", "x");
  write_file("/tmp/bell.wav", "RIFF");
  EXPECT_EQ(reply_body(call("/6321", "/tmp/bell.wav")),
            "CGI OK status:[0], data:[" + encoded("bell.wav") + "]");
  EXPECT_EQ(read_file("/tmp/" + encoded("bell.wav")), "RIFF");
  EXPECT_TRUE(exists("/tmp/other.wav"));  // no glob takes other uploads
  // Not a .wav: deleted, status -1.
  write_file("/tmp/song.mp3", "ID3");
  EXPECT_EQ(reply_body(call("/6321", "/tmp/song.mp3")), "CGI ERROR status:[-1]");
  EXPECT_FALSE(exists("/tmp/song.mp3"));
  // Anything but a regular file directly in "/tmp" is left alone.
  mkdir("/tmp/sub", 0755);
  write_file("/tmp/sub/x.mp3", "keep");
  symlink("/tmp/other.wav", "/tmp/link.mp3");
  for (const char *text : {"/tmp/sub/x.mp3", "/tmp/../tmp/other.wav", "/tmp/link.mp3",
                           "/mnt/nand/app/kxdb.db", "/tmp/missing.wav", "/tmp/sub"}) {
    EXPECT_EQ(reply_body(call("/6321", text)), "CGI ERROR status:[-1], data:[]") << text;
  }
  EXPECT_TRUE(exists("/tmp/sub/x.mp3"));
  EXPECT_TRUE(exists("/tmp/link.mp3"));
  EXPECT_TRUE(exists("/tmp/other.wav"));
  // A name whose encoding would not fit its field is refused.
  std::string long_name = "/tmp/" + std::string(100, 'n') + ".wav";
  write_file(long_name, "x");
  EXPECT_EQ(reply_body(call("/6321", long_name)), "CGI ERROR status:[-1]");
  EXPECT_FALSE(exists(long_name));
}

TEST_F(Service, AudioAddRenameDeleteAndSend) {
  std::string upload = encoded("bell.wav");
  write_file("/tmp/" + upload, "RIFF");
  daemon().answer(4013, int_answer(0));
  std::string reply = call("/6322", R"({"uploadName": ")" + upload + R"(", "name": "Front bell"})");
  EXPECT_EQ(reply, kJsonHeader + R"({ "status": 0 })");
  EXPECT_EQ(read_file("/tmp/" + encoded("Front bell")), "RIFF");
  settle();
  ASSERT_EQ(sent(4013).size(), 1u);
  EXPECT_EQ(sent(4013)[0].payload.size(), 128u);
  EXPECT_EQ(text_at(sent(4013)[0].payload, 0, 128), encoded("Front bell"));
  ASSERT_EQ(logs().size(), 1u);
  EXPECT_EQ(logs()[0].sub_type, 204);
  EXPECT_EQ(logs()[0].param_type, 925);

  forget();
  write_file("/tmp/" + upload, "RIFF");
  for (const std::string &bad :
       {std::string(R"({"uploadName": "../tmp/)") + upload + R"(", "name": "x"})",
        std::string(R"({"uploadName": "..", "name": "x"})"),
        std::string(R"({"uploadName": ".", "name": "x"})"),
        std::string(R"({"uploadName": "missing", "name": "x"})"),
        R"({"uploadName": ")" + upload + R"(", "name": ")" + std::string(96, 'n') + R"("})",
        R"({"uploadName": ")" + upload + R"(", "name": ""})", std::string("{")}) {
    EXPECT_EQ(call("/6322", bad), kJsonError) << bad;
  }
  EXPECT_TRUE(exists("/tmp/" + upload));
  // 95 characters encode to 127: the longest name that fits.
  daemon().answer(4013, int_answer(0));
  EXPECT_EQ(parse_body(call("/6322", R"({"uploadName": ")" + upload + R"(", "name": ")" +
                                         std::string(95, 'n') + R"("})")) != nullptr,
            true);
  EXPECT_TRUE(exists("/tmp/" + encoded(std::string(95, 'n'))));

  forget();
  daemon().answer(4015, int_answer(0));
  EXPECT_EQ(call("/6324", R"({"id": 3, "name": "Gate"})"), kJsonHeader + R"({ "status": 0 })");
  daemon().answer(4014, int_answer(0));
  EXPECT_EQ(call("/6323", R"({"idMask": 513})"), kJsonHeader + R"({ "status": 0 })");
  daemon().answer(4016, int_answer(-1));
  EXPECT_EQ(call("/6325", R"({"id": 2})"), kJsonHeader + R"({ "status": -1 })");
  for (auto [path, bad] : {std::pair<const char *, const char *>{"/6323", R"({"idMask": 1024})"},
                           {"/6323", "{}"},
                           {"/6324", R"({"id": 10, "name": "x"})"},
                           {"/6324", R"({"id": 1, "name": ""})"},
                           {"/6325", R"({"id": -1})"}}) {
    EXPECT_EQ(call(path, bad), kJsonError) << path << bad;
  }
  settle();
  auto renamed = sent(4015);
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(int_at(renamed[0].payload, 0), 3);
  EXPECT_EQ(int_at(renamed[0].payload, 4), 1);
  EXPECT_EQ(text_at(renamed[0].payload, 8, 128), encoded("Gate"));
  EXPECT_EQ(int_at(sent(4014).at(0).payload, 0), 513);
  EXPECT_EQ(int_at(sent(4016).at(0).payload, 0), 2);
  EXPECT_EQ(logs().size(), 2u);  // rename and delete; the id notice logs nothing
}

Bytes diagnosis_answer(int32_t status, const std::string &path) {
  Bytes b(8 + 256, 0);
  memcpy(b.data(), &status, 4);
  memcpy(b.data() + 8, path.data(), path.size());
  return b;
}

TEST_F(Service, DiagnosticExport) {
  daemon().answer(3528, diagnosis_answer(0, "/tmp/diag report.tgz"));
  EXPECT_EQ(call("/6310"), kTextHeader + "OK/%2Ftmp%2Fdiag%20report.tgz\r\n");
  settle();
  ASSERT_EQ(sent(3528).size(), 1u);
  EXPECT_EQ(sent(3528)[0].payload.size(), 64u);
  EXPECT_EQ(text_at(sent(3528)[0].payload, 0, 64), "/tmp");
  daemon().answer(3528, diagnosis_answer(-2, "/tmp/x"));
  EXPECT_EQ(call("/6310"), kTextHeader + "Failed");
  daemon().answer(3528, int_answer(0));  // too short to hold a path
  EXPECT_EQ(call("/6310"), kTextHeader + "Failed");
  daemon().silent(3528);
  EXPECT_EQ(call("/6310"), kTextHeader + "Failed");
  forget();
  write_file(DIAGNOSTIC_RUNNING_FILE, "");
  EXPECT_EQ(call("/6310"), kTextHeader + "Failed");
  settle();
  EXPECT_TRUE(sent(3528).empty());
  unlink(DIAGNOSTIC_RUNNING_FILE);
}

TEST_F(Service, DownloadOnlyFromTmpThenDeleted) {
  write_file("/tmp/diag report.tgz", "package");
  EXPECT_EQ(call("/6311", "%2Ftmp%2Fdiag%20report.tgz"),
            "Content-Type:application/octet-stream\r\n"
            "Content-Disposition: attachment; filename= diag report.tgz\r\n\r\npackage");
  EXPECT_FALSE(exists("/tmp/diag report.tgz"));
  mkdir("/tmp/d", 0755);
  symlink("/mnt/nand/app/kxdb.db", "/tmp/db-link");
  write_file("/tmp/a\r\nX: y", "x");
  write_file("/tmp/kept", "x");
  call("/6301", R"({"filterList": []})");  // makes the database file
  take_output();
  for (const char *text : {"/mnt/nand/app/kxdb.db", "%2Ftmp%2F..%2Fmnt%2Fnand%2Fapp%2Fkxdb.db",
                           "/tmp/db-link", "/tmp/d", "/tmp", "/tmp/missing", "",
                           "/tmp/a%0D%0AX: y", "kept"}) {
    EXPECT_EQ(call("/6311", text), "") << text;
  }
  EXPECT_TRUE(exists("/mnt/nand/app/kxdb.db"));
  EXPECT_TRUE(exists("/tmp/d"));
  EXPECT_TRUE(exists("/tmp/kept"));
}

class LangSection : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    mkdir("/opt/app/www/webfile", 0755);
    mkdir(LANG_FILE_DIR, 0755);
    write_file(std::string(LANG_FILE_DIR) + "/xx.json",
               "head\n{//live.json\n\"a\": 1,\n\"b\": 2\n}//live.json\n"
               "{//config=net.json\n\"c\": 3\n}//config=net.json\n");
    write_file("/opt/app/www/secret.json", "{//live.json\n\"s\": 1\n}//live.json\n");
  }
};

TEST_F(LangSection, SectionsOfPagesAndSubPages) {
  std::string live = call("/json", "lang=xx&page=live");
  EXPECT_EQ(live, kJsonHeader + "{\n\"a\": 1,\n\"b\": 2\n\n}");
  JsonPtr parsed = parse_body(live);
  EXPECT_EQ(int_member(parsed.get(), "b"), 2);
  EXPECT_EQ(call("/json", "lang=xx&page=config&sub=net"), kJsonHeader + "{\n\"c\": 3\n\n}");
  EXPECT_EQ(call("/json", "lang=xx&page=none"), kJsonHeader);
  EXPECT_EQ(call("/json", "lang=xx"), kTextHeader + "ERROR PAGE.");
  EXPECT_EQ(call("/json", "lang=xx&page=&sub=net"), kTextHeader + "ERROR PAGE.");
  EXPECT_EQ(call("/json", "lang=zz&page=live"), kTextHeader + "ERROR LANG.");
}

TEST_F(LangSection, LanguageNamesNoOtherFolder) {
  for (const char *query : {"lang=../secret&page=live", "lang=/opt/app/www/secret&page=live",
                            "lang=..%2Fsecret&page=live", "page=live"}) {
    EXPECT_EQ(call("/json", query), kTextHeader + "ERROR LANG.") << query;
  }
}

TEST_F(Service, CameraAddressBatchAndItsRanges) {
  set_param_int(KXDB_FILE, "max_cameras", 8);
  camera_params before = {};
  before.id = 7;
  snprintf(before.userName, sizeof before.userName, "admin");
  snprintf(before.ipAddr, sizeof before.ipAddr, "10.1.1.1");
  ASSERT_EQ(write_camera(KXDB_FILE, &before), 0);
  EXPECT_EQ(call("/ipc", R"({"startip": "192.168.1.10", "chnNum": 2, "chnFre": 3})"),
            kTextHeader + "OK");
  auto ip = [](int channel) {
    camera_params c = {};
    read_camera(KXDB_FILE, &c, channel);
    return std::string(c.ipAddr);
  };
  for (int ch = 0; ch < 3; ch++) EXPECT_EQ(ip(ch), "192.168.1.10") << ch;
  for (int ch = 3; ch < 6; ch++) EXPECT_EQ(ip(ch), "192.168.1.11") << ch;
  EXPECT_EQ(ip(6), "");
  // The channel limit ends the batch; other fields of a record stay.
  EXPECT_EQ(call("/ipc", R"({"startip": "10.0.0.1", "chnNum": 20, "chnFre": 1})"),
            kTextHeader + "OK");
  EXPECT_EQ(ip(7), "10.0.0.8");
  camera_params after = {};
  read_camera(KXDB_FILE, &after, 7);
  EXPECT_STREQ(after.userName, "admin");
  // The last octet never passes 255.
  EXPECT_EQ(call("/ipc", R"({"startip": "10.0.0.254", "chnNum": 5, "chnFre": 2})"),
            kTextHeader + "OK");
  EXPECT_EQ(ip(3), "10.0.0.255");
  EXPECT_EQ(ip(4), "10.0.0.5");
  for (const char *nothing : {R"({"startip": "10.9.9.9", "chnNum": 1, "chnFre": 0})",
                              R"({"startip": "10.9.9.9", "chnNum": 0, "chnFre": 1})",
                              R"({"startip": "10.9.9", "chnNum": 1, "chnFre": 1})", "x"}) {
    EXPECT_EQ(call("/ipc", nothing), kTextHeader + "OK") << nothing;
  }
  EXPECT_EQ(ip(0), "10.0.0.254");
}

TEST_F(Service, FixedAnswers) {
  EXPECT_EQ(call("/dw.cgi", "anything"), kTextHeader + "NG download");
  EXPECT_EQ(call("/1019", "anything"), "");
}

}  // namespace

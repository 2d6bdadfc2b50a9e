// The packet capture: the checks of every request text, the command texts
// for valid input (recorded by the shell seam), and the download of a real
// capture directory inside the device root.
#include <sys/stat.h>

#include <regex>

#include "cgi_runner.h"
#include "network/peer_netns.h"
#include "status_test_util.h"
#include "web_utils.h"

namespace {

std::vector<std::string> g_commands;

int record_command(const char *command) {
  g_commands.push_back(command);
  return 0;
}

class PacketCapture : public StatusTest {
 protected:
  void SetUp() override {
    StatusTest::SetUp();
    g_commands.clear();
    web_system_set_runner(record_command);
  }
  void TearDown() override {
    web_system_set_runner(nullptr);
    StatusTest::TearDown();
  }
};

TEST(CaptureChecks, RequestTextsThatMayReachACommand) {
  for (const char *nic : {"eth0", "lo", "bond0", "br-x.1", "a_b", "ppp0123"}) {
    EXPECT_TRUE(status::valid_nic(nic)) << nic;
  }
  for (const char *nic : {"", "-i", "eth00000", "eth0;id", "eth 0", "$(id)", "e'"}) {
    EXPECT_FALSE(status::valid_nic(nic)) << nic;
  }
  for (const char *ip : {"", "192.168.1.64", "fe80::1", "cam-1.local"}) {
    EXPECT_TRUE(status::valid_host(ip)) << ip;
  }
  for (const char *ip : {"1.2.3.4' or '", "a b", "1.2.3.4;id", "h`id`"}) {
    EXPECT_FALSE(status::valid_host(ip)) << ip;
  }
  EXPECT_TRUE(status::valid_host(std::string(63, '1')));
  EXPECT_FALSE(status::valid_host(std::string(64, '1')));
  for (const char *port : {"", "1", "554", "65535"}) EXPECT_TRUE(status::valid_port(port)) << port;
  for (const char *port : {"123456", "80;", "8a", "-1", " 80"}) {
    EXPECT_FALSE(status::valid_port(port)) << port;
  }
  for (const char *path : {"/", "/mnt/sda1", "/mnt/usb_1/cap.d", "/a/..b/c.."}) {
    EXPECT_TRUE(status::valid_mount_path(path)) << path;
  }
  for (const char *path : {"", "mnt/sda1", "/mnt/../etc", "/..", "/mnt/..", "/mnt/a b",
                           "/mnt/$(id)", "/mnt/'x'", "/mnt;id"}) {
    EXPECT_FALSE(status::valid_mount_path(path)) << path;
  }
  EXPECT_FALSE(status::valid_mount_path("/" + std::string(127, 'a')));
  EXPECT_TRUE(status::valid_capture_name("rvpcap-20261210183000"));
  for (const char *name : {"rvpcap-", "rvpcap-1x", "rvpcap-1.pcap", "packet.tar", "rvpcap-*"}) {
    EXPECT_FALSE(status::valid_capture_name(name)) << name;
  }
}

// The reply's capture name, checked against the name's pattern.
std::string started_name(const std::string &reply, const std::string &path) {
  JsonPtr body = parse_body(reply);
  EXPECT_TRUE(body) << reply;
  if (!body) return "";
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"dirPath", "fileName"}));
  EXPECT_EQ(text_member(body.get(), "dirPath"), path);
  std::string name = text_member(body.get(), "fileName");
  EXPECT_TRUE(std::regex_match(name, std::regex("rvpcap-[0-9]{14}"))) << name;
  return name;
}

TEST_F(PacketCapture, StartWithOnlyTheInterfaceAddress) {
  std::string reply = call("/8005", R"({"nic": "lo", "mntPath": "/mnt/nand/cap"})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  std::string name = started_name(reply, "/mnt/nand/cap");
  EXPECT_EQ(g_commands,
            (std::vector<std::string>{
                "killall tcpdump > /dev/null", "killall webmonitor > /dev/null",
                "/bin/rm  '/mnt/nand/cap'/rvpcap-* > /dev/null",
                "tcpdump -i 'lo' -s0 'host 127.0.0.1' -W 2 -C 25 -w '/mnt/nand/cap/" + name +
                    "' > /dev/null &",
                "/www/webmonitor tcpdump 300 > /dev/null &"}));
}

TEST_F(PacketCapture, StartWithIpv6HostAndPortFilters) {
  if (!PeerNetns::in_device_root()) GTEST_SKIP() << "needs the device root's namespaces";
  if (!net_is_haveipv6()) GTEST_SKIP() << "the kernel has no IPv6";
  ASSERT_TRUE(PeerNetns::ip({"-6", "addr", "add", "2001:db8:83::5/128", "dev", "lo", "nodad"}));
  std::string reply = call("/8005", R"({"nic": "lo", "ip": "192.168.1.64", "port": 554,
      "mntPath": "/mnt/sda1"})");
  PeerNetns::ip({"-6", "addr", "del", "2001:db8:83::5/128", "dev", "lo"});
  std::string name = started_name(reply, "/mnt/sda1");
  ASSERT_EQ(g_commands.size(), 5u);
  EXPECT_EQ(g_commands[3], "tcpdump -i 'lo' -s0 'host 127.0.0.1 || host 2001:db8:83::5 && host "
                           "192.168.1.64 && port 554' -W 2 -C 25 -w '/mnt/sda1/" +
                               name + "' > /dev/null &");
}

TEST_F(PacketCapture, NoCommandRunsForAHostileMember) {
  const char *bodies[] = {
      R"({"mntPath": "/mnt/sda1"})",
      R"({"nic": "lo;reboot", "mntPath": "/mnt/sda1"})",
      R"({"nic": "-w/x", "mntPath": "/mnt/sda1"})",
      R"({"nic": "eth0000x", "mntPath": "/mnt/sda1"})",
      R"({"nic": "lo", "ip": "1.2.3.4' && touch /tmp/x '", "mntPath": "/mnt/sda1"})",
      R"({"nic": "lo", "port": "80 or 1", "mntPath": "/mnt/sda1"})",
      R"({"nic": "lo", "port": "123456", "mntPath": "/mnt/sda1"})",
      R"({"nic": "lo"})",
      R"({"nic": "lo", "mntPath": ""})",
      R"({"nic": "lo", "mntPath": "mnt/sda1"})",
      R"({"nic": "lo", "mntPath": "/mnt/sda1/../../etc"})",
      R"x({"nic": "lo", "mntPath": "/mnt/$(reboot)"})x",
      "nic=lo&mntPath=/mnt/sda1",
      "[1, 2]",
  };
  for (const char *body : bodies) {
    EXPECT_EQ(call("/8005", body), kJsonError) << body;
    EXPECT_TRUE(g_commands.empty()) << body;
    g_commands.clear();
  }
}

TEST_F(PacketCapture, StopEndsTcpdumpOnly) {
  EXPECT_EQ(call("/8006"), kTextHeader + "OK");
  EXPECT_EQ(g_commands, (std::vector<std::string>{"killall tcpdump > /dev/null &"}));
}

TEST_F(PacketCapture, DownloadRefusesTextsThatNameNoCapture) {
  ASSERT_EQ(mkdir("/mnt/nand/cap", 0755) == 0 || errno == EEXIST, true);
  write_file("/mnt/nand/cap/not-a-dir", "x");
  const char *texts[] = {
      "",
      "rvpcap-20261210183000",
      "/mnt/nand/cap/../cap/rvpcap-20261210183000",
      "/mnt/nand/cap/packet",
      "/mnt/nand/cap/rvpcap-",
      "/mnt/nand/cap/rvpcap-1;reboot",
      "/mnt/nand/cap/rvpcap-1 *",
      "/mnt/nand/cap;id/rvpcap-1",
      "/mnt/nand/none/rvpcap-1",
      "/mnt/nand/cap/not-a-dir/rvpcap-1",
      "mnt/nand/cap/rvpcap-1",
      "/rvpcap-1",
  };
  for (const char *text : texts) {
    EXPECT_EQ(call("/8007", text), kCgiError) << text;
    EXPECT_TRUE(g_commands.empty()) << text;
    g_commands.clear();
  }
}

bool exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

// The real shell, tar and files: the archive holds exactly this capture's files.
TEST_F(PacketCapture, DownloadArchivesOnlyThisCaptureAndRemovesIt) {
  if (!PeerNetns::in_device_root()) GTEST_SKIP() << "needs the device root";
  web_system_set_runner(nullptr);
  const std::string dir = "/mnt/nand/pcap";
  const std::string name = "rvpcap-20261210183000";
  ASSERT_EQ(mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST, true);
  write_file(dir + "/" + name + "0", std::string(5000, 'a'));
  write_file(dir + "/" + name + "1", "second file");
  write_file(dir + "/mine.pcap", "the user's own capture");
  write_file(dir + "/rvpcap-1.pcap", "an older capture");

  std::string reply = call("/8007", dir + "/" + name);
  const std::string head =
      "Content-Type:application/octet-stream\r\n"
      "Content-Disposition: attachment; filename= packet.tar\r\n\r\n";
  ASSERT_EQ(reply.compare(0, head.size(), head), 0) << reply.substr(0, 200);
  std::string archive = reply.substr(head.size());
  EXPECT_EQ(archive.size() % 512, 0u);
  write_file("/tmp/received.tar", archive);
  FILE *list = popen("tar -tf /tmp/received.tar | sort", "r");
  ASSERT_TRUE(list);
  char line[256];
  std::vector<std::string> names;
  while (fgets(line, sizeof line, list)) names.push_back(std::string(line, strcspn(line, "\n")));
  pclose(list);
  EXPECT_EQ(names, (std::vector<std::string>{name + "0.pcap", name + "1.pcap"}));
  FILE *first = popen(("tar -xOf /tmp/received.tar " + name + "0.pcap").c_str(), "r");
  ASSERT_TRUE(first);
  std::string content;
  while (fgets(line, sizeof line, first)) content += line;
  pclose(first);
  EXPECT_EQ(content, std::string(5000, 'a'));

  for (const char *gone : {"0", "1", "0.pcap", "1.pcap"}) {
    EXPECT_FALSE(exists(dir + "/" + name + gone)) << gone;
  }
  EXPECT_FALSE(exists(dir + "/packet.tar"));
  EXPECT_EQ(read_file(dir + "/mine.pcap"), "the user's own capture");
  EXPECT_EQ(read_file(dir + "/rvpcap-1.pcap"), "an older capture");
}

// tar runs inside the directory or not at all, and names only this capture's files.
TEST_F(PacketCapture, DownloadCommandsQuoteEachFile) {
  ASSERT_EQ(mkdir("/mnt/nand/q-1.d", 0755) == 0 || errno == EEXIST, true);
  write_file("/mnt/nand/q-1.d/rvpcap-55", "first");
  write_file("/mnt/nand/q-1.d/rvpcap-55.pcap", "renamed before");
  call("/8007", "/mnt/nand/q-1.d/rvpcap-55");
  EXPECT_EQ(g_commands,
            (std::vector<std::string>{
                "/bin/mv '/mnt/nand/q-1.d/rvpcap-55' '/mnt/nand/q-1.d/rvpcap-55.pcap'",
                "cd '/mnt/nand/q-1.d' && tar -cvf '/mnt/nand/q-1.d/packet.tar' -- "
                "'rvpcap-55.pcap' > /dev/null",
                "/bin/rm -f -- '/mnt/nand/q-1.d/packet.tar' '/mnt/nand/q-1.d/rvpcap-55.pcap'"}));
}

TEST_F(PacketCapture, DownloadOfACaptureWithoutFilesWritesNothing) {
  ASSERT_EQ(mkdir("/mnt/nand/empty", 0755) == 0 || errno == EEXIST, true);
  EXPECT_EQ(call("/8007", "/mnt/nand/empty/rvpcap-20261210183000"), "");
  EXPECT_TRUE(g_commands.empty());
}

}  // namespace

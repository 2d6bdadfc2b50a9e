// System module: the language list, branding upload, the factory command
// interface ("/vb.htm") and the service endpoints (access filter, alarm
// audio files, diagnostics, page texts, camera address batch).
#pragma once

#include <cstddef>
#include <cstdint>

#include "service_records.h"
#include "webcgi.h"

// ---- Language list and branding ----
constexpr const char *LANGUAGES_FILE = "/opt/app/www/webfile/json/languages.json";
constexpr const char *LANGUAGES_BACKUP_FILE = "/opt/app/www/webfile/json/languages_bak.json";
constexpr const char *LANG_FILE_DIR = "/opt/app/www/webfile/json";
constexpr const char *BRANDING_DIR = "/mnt/nand2";
constexpr const char *BRANDING_MARKER = "/mnt/nand2/oem_upload";

int on_change_language(char *text);  // "/1001"
int on_upload_oem(char *text);       // "/oem"

// ---- Factory commands ("/vb.htm") ----
constexpr int HTTP_OPTION_COUNT = 9;
constexpr int HTTP_HASH_BUCKETS = 64;
constexpr int HTTP_OPTION_NO_ARG_SLOTS = 10;
constexpr int HTTP_OPTION_TEXT = 64;   // a pair's name or value, NUL included
constexpr int HTTP_OPTION_PAIRS = 64;  // pairs of one request
constexpr int HTTP_OPTION_SCAN = 255;  // characters of the request looked at

struct http_option_pair {
  char name[HTTP_OPTION_TEXT];
  char value[HTTP_OPTION_TEXT];
};
static_assert(sizeof(http_option_pair) == 128);
static_assert(offsetof(http_option_pair, name) == 0);
static_assert(offsetof(http_option_pair, value) == 64);

using http_option_handler = void (*)(const http_option_pair &pair);

struct http_option {
  const char *name;
  http_option_handler handler;
  int32_t values[3];  // carried by the table; the lookup does not use them
  http_option *next;  // the next row of the same bucket
};

int on_factory_command(char *text);  // "/vb.htm"

// The hash table of the option table: 0, or -1 when it cannot be built.
int hash_table_init();
void hash_table_destory();
// Bucket of a name: h = c + 37 * h over its characters in 8 bits, modulo 64.
int hash_cal_value(const char *name);
// Puts the row at the head of its bucket.
void hash_insert_entry(http_option *row);
// The row of `name`, or null (also before hash_table_init).
http_option *http_option_search(const char *name);
// The rows of the option table, in table order.
http_option *http_option_table();
// '=' characters in the first 255 characters of `text`.
int get_httpoption_argnum(const char *text);
// Splits `count` name=value pairs of `text` into `pairs`. -1 when a
// character taken lies beyond the 64th of the text, or count is not 1 to 64.
int ui_decodeing(const char *text, http_option_pair *pairs, int count);
// 1 when the whole text is the name of a no-argument command.
int is_httpoption_no_arg(const char *text);

// ---- Chip text ----
constexpr int CHIP_TEXT_LENGTH = 32;
constexpr const char *CHIP_INFO_FILE = "/tmp/chipinfo.txt";
// Reads the chip text as the tool prints it after "Read old:" (its line end
// kept, at most 63 characters) into `text` (64 bytes). 0, or -1 (empty).
int read_chip_text(char *text, size_t size);
// The new chip text of a "modelupdate"/"chipupdate" value applied to
// `chip` (the text read, line end removed, or empty when unreadable).
// False when the value is refused: the reply is "NG ...".
bool chip_model_update(const char *chip, const char *value, char *out, size_t size);
bool chip_full_update(const char *chip, const char *value, char *out, size_t size);

// ---- Access filter ----
int on_get_access_filter(char *text);  // "/6300"
int on_set_access_filter(char *text);  // "/6301"

// ---- Alarm audio files ----
int on_get_audio_file_list(char *text);  // "/6320"
int on_upload_audio_file(char *text);    // "/6321"
int on_add_audio_file(char *text);       // "/6322"
int on_del_audio_file(char *text);       // "/6323"
int on_rename_audio_file(char *text);    // "/6324"
int on_send_audio_file_id(char *text);   // "/6325"
void on_get_audio_file_list_cb(int count, const void *payload);  // 9012

// Base64url of a display name into a field of AUDIO_NAME_FIELD bytes. False
// when the name is empty or its encoding would not fit: a cut encoding
// could not be decoded again.
bool encode_audio_name(const char *name, char *field, size_t size);

// ---- Diagnostics, downloads, page texts, camera addresses ----
constexpr const char *DIAGNOSTIC_RUNNING_FILE = "/tmp/tmp_diagnostic";
int on_export_diagnosis(char *text);   // "/6310"
int on_download_file(char *text);      // "/6311"
int on_read_lang_section(char *text);  // "/json"
int on_fill_camera_ips(char *text);    // "/ipc"
int on_dw_download(char *text);        // "/dw.cgi"
int on_ignore_request(char *text);     // "/1019"
void on_export_diagnosis_cb(const void *payload, int length);  // 8528

// A regular file below "/tmp/" once links are resolved: opens it and puts
// its real path in `resolved` (PATH_MAX bytes). -1 otherwise.
int open_tmp_file(const char *path, char *resolved);

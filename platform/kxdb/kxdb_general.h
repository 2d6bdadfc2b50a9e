// General settings of the recorder: the local display outputs and audio,
// log and snapshot retention, UPnP port mapping and the weekly automatic
// reboot. Each is one record without a key field; never written, it reads
// as zeroes.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Local display outputs and audio (table "display") ----
struct display_params {
  int32_t mainResolution;  // the daemon's resolution code of output 0
  char reserved0[8];
  int32_t hdmiAudioOn;
  int32_t audioOutputOn;
  int32_t audioVolume;     // 0 to 100 in steps of 10
  int32_t audioStereo;
  int32_t subEnable;       // secondary output enabled
  int32_t subResolution;   // resolution code of output 1
  char reserved1[32];
  int32_t curControl;      // the output the local mouse controls; 0 = main
  char reserved2[28];
};
static_assert(sizeof(display_params) == 100);
static_assert(offsetof(display_params, mainResolution) == 0);
static_assert(offsetof(display_params, reserved0) == 4);
static_assert(offsetof(display_params, hdmiAudioOn) == 12);
static_assert(offsetof(display_params, audioOutputOn) == 16);
static_assert(offsetof(display_params, audioVolume) == 20);
static_assert(offsetof(display_params, audioStereo) == 24);
static_assert(offsetof(display_params, subEnable) == 28);
static_assert(offsetof(display_params, subResolution) == 32);
static_assert(offsetof(display_params, reserved1) == 36);
static_assert(offsetof(display_params, curControl) == 68);
static_assert(offsetof(display_params, reserved2) == 72);

int read_display(const char *file, display_params *record);
int write_display(const char *file, const display_params *record);

// ---- Retention of logs and snapshots (table "disk_maintain") ----
struct disk_maintain_params {
  int32_t logRetention;    // -1, 0, 1 or an even number 2 to 12
  int32_t photoRetention;  // the same values
};
static_assert(sizeof(disk_maintain_params) == 8);
static_assert(offsetof(disk_maintain_params, logRetention) == 0);
static_assert(offsetof(disk_maintain_params, photoRetention) == 4);

int read_disk_maintain_info(const char *file, disk_maintain_params *record);
int write_disk_maintain_info(const char *file, const disk_maintain_params *record);

// ---- UPnP port mapping (table "upnp") ----
// The web program only reads it: the daemon stores it after request 3720.
struct upnp_params {
  int32_t enable;
  int32_t type;                // the page's mapping type
  char reserved[128];
  int32_t external_http_port;
  int32_t http_status;         // the daemon's mapping status of HTTP
  int32_t external_rtsp_port;
  int32_t rtsp_status;
};
static_assert(sizeof(upnp_params) == 152);
static_assert(offsetof(upnp_params, enable) == 0);
static_assert(offsetof(upnp_params, type) == 4);
static_assert(offsetof(upnp_params, reserved) == 8);
static_assert(offsetof(upnp_params, external_http_port) == 136);
static_assert(offsetof(upnp_params, http_status) == 140);
static_assert(offsetof(upnp_params, external_rtsp_port) == 144);
static_assert(offsetof(upnp_params, rtsp_status) == 148);

int read_upnp(const char *file, upnp_params *record);
int write_upnp(const char *file, const upnp_params *record);

// ---- Weekly automatic reboot (table "autoreboot") ----
struct autoreboot_params {
  int32_t enable;
  int32_t wday;
  int32_t hour;
  int32_t minutes;
  int32_t seconds;
  char reserved[108];
};
static_assert(sizeof(autoreboot_params) == 128);
static_assert(offsetof(autoreboot_params, enable) == 0);
static_assert(offsetof(autoreboot_params, wday) == 4);
static_assert(offsetof(autoreboot_params, hour) == 8);
static_assert(offsetof(autoreboot_params, minutes) == 12);
static_assert(offsetof(autoreboot_params, seconds) == 16);
static_assert(offsetof(autoreboot_params, reserved) == 20);

int read_autoreboot_conf(const char *file, autoreboot_params *record);
int write_autoreboot_conf(const char *file, const autoreboot_params *record);

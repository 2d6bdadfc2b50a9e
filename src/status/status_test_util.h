// Shared by the status tests: the fixture, replies and crafted answers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_osd.h"
#include "kxdb_storage.h"
#include "kxdb_alarm.h"
#include "status.h"
#include "status_records.h"

using StatusTest = HandlerTest;

template <size_t N>
void put_text(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

inline json_object *element(json_object *array, size_t i) {
  return json_object_array_get_idx(array, i);
}

inline void store_camera(int channel, const char *name, const char *address, int enable = 1) {
  camera_params camera = {};
  camera.id = channel;
  camera.enable = enable;
  put_text(camera.ipAddr, address);
  ASSERT_EQ(write_camera(KXDB_FILE, &camera), 0);
  osd_params osd = {};
  osd.camId = channel;
  put_text(osd.camName, name);
  ASSERT_EQ(write_osd(KXDB_FILE, &osd), 0);
}

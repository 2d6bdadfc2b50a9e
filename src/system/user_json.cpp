// JSON members of a user record, as the login reply, the account list and
// the account requests name them.
#include <cstring>

#include "system.h"

namespace {

const char *const kLocalRights[USER_RIGHTS] = {
    "localLiveView", "localPlayback", "localRetrieve", "localSmartAnalysis", "localEvent",
    "localCamera",   "localStorage",  "localSettings", "localStatus",        "localShutdown"};
const char *const kRemoteRights[USER_RIGHTS] = {
    "remoteLiveView", "remotePlayback", "remoteRetrieve", "remoteSmartAnalysis", "remoteEvent",
    "remoteCamera",   "remoteStorage",  "remoteSettings", "remoteStatus",        "remoteShutdown"};

// The four channel-rights texts, in the order of user_info::channel_masks.
using ChannelText = char (user_info::*)[65];
constexpr ChannelText kChannelTexts[4] = {&user_info::local_liveview, &user_info::local_playback,
                                          &user_info::remote_liveview, &user_info::remote_playback};
const char *const kChannelTextKeys[4] = {"localliveview", "localplayback", "remoteliveview",
                                         "remoteplayback"};
constexpr size_t kChannelTextSize = sizeof(user_info::local_liveview);

void add_rights(json_object *object, const char *const keys[], const int32_t *rights) {
  for (int i = 0; i < USER_RIGHTS; i++) json_add_int(object, keys[i], rights[i]);
}

void add_channel_text(json_object *object, const user_info &user, int mask_index) {
  json_object_object_add(object, kChannelTextKeys[mask_index],
                         json_field_string(user.*kChannelTexts[mask_index], kChannelTextSize));
}

void read_rights(json_object *object, const char *const keys[], int32_t *rights) {
  for (int i = 0; i < USER_RIGHTS; i++) {
    if (json_object *v = json_member(object, keys[i])) rights[i] = json_object_get_int(v);
  }
}

}  // namespace

void add_user_rights_json(json_object *object, const user_info &user,
                          const char *remote_permission_key) {
  json_add_int(object, "permission", user.permission);
  add_rights(object, kLocalRights, user.local_rights);
  add_channel_text(object, user, USER_MASK_LOCAL_LIVEVIEW);
  add_channel_text(object, user, USER_MASK_LOCAL_PLAYBACK);
  json_add_int(object, remote_permission_key, user.remote_permission);
  add_rights(object, kRemoteRights, user.remote_rights);
  add_channel_text(object, user, USER_MASK_REMOTE_LIVEVIEW);
  add_channel_text(object, user, USER_MASK_REMOTE_PLAYBACK);
}

void read_user_rights_json(json_object *object, user_info *user) {
  read_rights(object, kLocalRights, user->local_rights);
  read_rights(object, kRemoteRights, user->remote_rights);
  for (int m = 0; m < 4; m++) {
    if (json_object *v = json_member(object, kChannelTextKeys[m])) {
      json_copy_text(v, user->*kChannelTexts[m], kChannelTextSize);
    }
  }
}

void set_user_channel_masks(user_info *user) {
  for (int m = 0; m < 4; m++) {
    char text[kChannelTextSize + 1] = {};
    memcpy(text, user->*kChannelTexts[m], kChannelTextSize);
    // Only channels 0 to 31 have a bit; the rest of the text is ignored.
    user->channel_masks[m] = (uint32_t)get_channel_mask(text);
  }
}

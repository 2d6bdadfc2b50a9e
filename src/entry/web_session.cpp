#include "web_session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "cgi_log.h"

namespace {

time_t (*g_clock)() = nullptr;

int64_t now() {
  return g_clock ? (int64_t)g_clock() : (int64_t)time(nullptr);
}

bool read_all(int fd, void *data, size_t size) {
  size_t got = 0;
  while (got < size) {
    ssize_t n = pread(fd, (char *)data + got, size - got, (off_t)got);
    if (n < 0) return false;
    if (n == 0) break;  // a new or short file: the rest stays zero
    got += (size_t)n;
  }
  return true;
}

bool write_all(int fd, const void *data, size_t size) {
  size_t put = 0;
  while (put < size) {
    ssize_t n = pwrite(fd, (const char *)data + put, size - put, (off_t)put);
    if (n <= 0) return false;
    put += (size_t)n;
  }
  return true;
}

// Runs `change` on the store under the file's lock and writes the store
// back when it returns true. False when the file cannot be used.
// Without `create`, a missing file is left missing (it holds nothing).
template <class Change>
bool with_store(Change change, bool create = true) {
  int fd = open(WEB_SESSION_FILE, O_RDWR | O_NOFOLLOW | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0 && !create && errno == ENOENT) return true;
  if (fd < 0) {
    CGI_LOG("cannot open %s", WEB_SESSION_FILE);
    return false;
  }
  bool ok = flock(fd, LOCK_EX) == 0;
  static web_session_store store;  // 21 KB: kept off the stack
  memset(&store, 0, sizeof store);
  ok = ok && read_all(fd, &store, sizeof store);
  if (ok && change(store, now())) ok = write_all(fd, &store, sizeof store);
  close(fd);  // releases the lock
  return ok;
}

bool is_live(const web_session &s, int64_t at) {
  return s.id[0] != '\0' && at - s.last_use <= s.max_idle;
}

bool same_text(const char *stored, size_t width, const char *text) {
  return strncmp(stored, text, width - 1) == 0 && strlen(text) <= width - 1;
}

web_session *find_session(web_session_store &store, const char *id, int64_t at) {
  if (!id || strlen(id) != sizeof store.sessions[0].id - 1) return nullptr;
  for (web_session &s : store.sessions) {
    if (is_live(s, at) && strcmp(s.id, id) == 0) return &s;
  }
  return nullptr;
}

// A free slot (an ended session's counts as free), else the least
// recently used.
web_session &slot_for_new(web_session_store &store, int64_t at) {
  web_session *oldest = &store.sessions[0];
  for (web_session &s : store.sessions) {
    if (!is_live(s, at)) return s;
    if (s.last_use < oldest->last_use) oldest = &s;
  }
  return *oldest;
}

// Names are counted by their first 63 characters, as they are stored.
web_login_failure *find_failure(web_session_store &store, const char *name) {
  for (web_login_failure &f : store.failures) {
    if (f.name[0] && strncmp(f.name, name, sizeof f.name - 1) == 0) return &f;
  }
  return nullptr;
}

int64_t last_event(const web_login_failure &f) {
  return f.first > f.locked_until ? f.first : f.locked_until;
}

// A free slot, else the one whose last event is oldest, preferring names
// that are not locked now.
web_login_failure &failure_slot_for_new(web_session_store &store, int64_t at) {
  web_login_failure *pick = &store.failures[0];
  for (web_login_failure &f : store.failures) {
    if (f.name[0] == '\0') return f;
    bool locked = f.locked_until > at, pick_locked = pick->locked_until > at;
    if (locked != pick_locked ? !locked : last_event(f) < last_event(*pick)) pick = &f;
  }
  return *pick;
}

void copy_user(web_session &s, const user_info &user) {
  s.user_id = user.id;
  snprintf(s.name, sizeof s.name, "%.*s", (int)strnlen(user.name, sizeof user.name), user.name);
  s.type = user.type;
  memcpy(s.local_rights, user.local_rights, sizeof s.local_rights);
  memcpy(s.remote_rights, user.remote_rights, sizeof s.remote_rights);
}

}  // namespace

void web_session_set_clock(time_t (*clock)()) {
  g_clock = clock;
}

int web_session_open(const char *id, const user_info &user, const char *client, int max_idle) {
  if (!id || strlen(id) != sizeof(web_session::id) - 1) return -1;
  bool ok = with_store([&](web_session_store &store, int64_t at) {
    web_session &s = slot_for_new(store, at);
    memset(&s, 0, sizeof s);
    snprintf(s.id, sizeof s.id, "%s", id);
    copy_user(s, user);
    snprintf(s.client, sizeof s.client, "%s", client ? client : "");
    s.max_idle = max_idle;
    s.last_use = at;
    return true;
  });
  return ok ? 0 : -1;
}

bool web_session_touch(const char *id, const char *client, web_session *session) {
  bool found = false;
  with_store([&](web_session_store &store, int64_t at) {
    web_session *s = find_session(store, id, at);
    if (!s || !same_text(s->client, sizeof s->client, client ? client : "")) return false;
    s->last_use = at;
    if (session) *session = *s;
    found = true;
    return true;
  });
  return found;
}

bool web_session_close(const char *id) {
  bool found = false;
  with_store([&](web_session_store &store, int64_t at) {
    web_session *s = find_session(store, id, at);
    if (!s) return false;
    memset(s, 0, sizeof *s);
    found = true;
    return true;
  });
  return found;
}

void web_session_refresh_user(const user_info &user) {
  bool ends = !user.enable || user.type == 3;  // type 3 may not log in on the web
  with_store(
      [&](web_session_store &store, int64_t) {
        bool changed = false;
        for (web_session &s : store.sessions) {
          if (s.id[0] == '\0' || s.user_id != user.id) continue;
          if (ends) memset(&s, 0, sizeof s);
          else copy_user(s, user);
          changed = true;
        }
        return changed;
      },
      false);
}

bool web_login_locked(const char *name) {
  bool locked = false;
  with_store([&](web_session_store &store, int64_t at) {
    const web_login_failure *f = find_failure(store, name);
    locked = f && f->locked_until > at;
    return false;
  });
  return locked;
}

bool web_login_failed(const char *name) {
  bool locks = false;
  with_store([&](web_session_store &store, int64_t at) {
    web_login_failure *f = find_failure(store, name);
    if (!f) {
      f = &failure_slot_for_new(store, at);
      memset(f, 0, sizeof *f);
      snprintf(f->name, sizeof f->name, "%.*s", (int)sizeof f->name - 1, name);
    }
    if (f->count == 0 || at - f->first > WEB_LOGIN_FAILURE_WINDOW) {
      f->count = 0;
      f->first = at;
    }
    if (++f->count >= WEB_LOGIN_FAILURE_LIMIT) {
      f->count = 0;
      f->locked_until = at + WEB_LOGIN_LOCK_SECONDS;
      locks = true;
    }
    return true;
  });
  return locks;
}

void web_login_succeeded(const char *name) {
  with_store([&](web_session_store &store, int64_t) {
    web_login_failure *f = find_failure(store, name);
    if (!f) return false;
    memset(f, 0, sizeof *f);
    return true;
  });
}

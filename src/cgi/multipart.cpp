// multipart/form-data parser: reads the request body from cgiIn into the
// form-entry list, file parts into temporary files.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "cgic.h"

cgiFormEntry *cgiFormEntryFirst;

namespace {

constexpr size_t kTextMax = 1024;  // header attributes and values: 1023 characters
// Text parts are held in memory, and the board has little of it: each is
// capped, and so is their sum. Past a cap the body fails to parse.
constexpr long kTextPartMax = 1L << 20;
constexpr long kTextPartsTotalMax = 4L << 20;

// Body reader with put-back. Bytes put back are read again before anything
// else, in the order they were put back. Standard input is never read past
// the request's Content-Length.
class BodyReader {
 public:
  explicit BodyReader(long limit) : limit_(limit > 0 ? limit : 0) {}

  int get() {
    if (count_) {
      unsigned char c = ring_[head_];
      head_ = (head_ + 1) % sizeof ring_;
      count_--;
      return c;
    }
    if (consumed_ >= limit_) return EOF;
    int c = getc_unlocked(cgiIn);
    if (c != EOF) consumed_++;
    return c;
  }

  // Reads up to n bytes; returns how many arrived.
  size_t get(unsigned char *out, size_t n) {
    size_t got = 0;
    for (int c; got < n && (c = get()) != EOF;) out[got++] = (unsigned char)c;
    return got;
  }

  bool put_back(const unsigned char *bytes, size_t n) {
    if (count_ + n > sizeof ring_) return false;
    for (size_t i = n; i-- > 0;) {
      head_ = (head_ + sizeof ring_ - 1) % sizeof ring_;
      ring_[head_] = bytes[i];
    }
    count_ += n;
    return true;
  }

 private:
  // Holds at most one delimiter (boundary of up to 1014 characters plus
  // "\r\n--") and the two bytes that follow it.
  unsigned char ring_[2048];
  size_t head_ = 0, count_ = 0;
  long consumed_ = 0, limit_;
};

// Where the bytes of a part go: a file, a growing heap buffer, or nowhere.
class Sink {
 public:
  explicit Sink(FILE *file) : file_(file) {}
  // A sink that keeps the bytes holds at most `limit` of them.
  explicit Sink(bool keep, long limit = kTextPartMax) : keep_(keep), limit_(limit) {}
  Sink(const Sink &) = delete;
  Sink &operator=(const Sink &) = delete;
  ~Sink() { free(buf_); }

  bool put(unsigned char c) {
    if (file_) {
      if (putc_unlocked(c, file_) == EOF) return false;
      length_++;
      return true;
    }
    if (!keep_) return true;
    if (length_ >= limit_) return false;
    if ((size_t)length_ + 1 >= cap_ && !grow()) return false;
    buf_[length_++] = (char)c;
    return true;
  }

  // Hands the NUL-terminated buffer to the caller.
  char *release() {
    char *b = buf_ ? buf_ : (char *)malloc(1);
    if (!b) return nullptr;
    b[length_] = '\0';
    char *shrunk = (char *)realloc(b, length_ + 1);
    buf_ = nullptr;
    return shrunk ? shrunk : b;
  }
  long length() const { return length_; }

 private:
  bool grow() {
    size_t cap = cap_ ? cap_ * 2 : 256;
    char *nb = (char *)realloc(buf_, cap);
    if (!nb) return false;
    buf_ = nb;
    cap_ = cap;
    return true;
  }

  FILE *file_ = nullptr;
  bool keep_ = false;
  char *buf_ = nullptr;
  size_t cap_ = 0;
  long length_ = 0;
  long limit_ = 0;
};

// Reads to the next delimiter ("\r\n--" + boundary; without the leading
// "\r\n" for the first one), emitting the bytes before it to `sink`. Then
// consumes the line end, or puts back a closing "--".
cgiParseResultType read_to_boundary(BodyReader &in, Sink &sink, bool first) {
  std::string delim = std::string(first ? "--" : "\r\n--") + cgiMultipartBoundary;
  size_t matched = 0;
  while (matched < delim.size()) {
    int c = in.get();
    if (c == EOF) return cgiParseIO;
    if ((char)c == delim[matched]) {
      matched++;
      continue;
    }
    if (matched == 0) {
      if (!sink.put((unsigned char)c)) return cgiParseMemory;
      continue;
    }
    // A false start: the first delimiter byte is data; the rest is read
    // again so that a delimiter beginning inside it is still found.
    if (!sink.put((unsigned char)delim[0])) return cgiParseMemory;
    std::string again = delim.substr(1, matched - 1) + (char)c;
    if (!in.put_back((const unsigned char *)again.data(), again.size())) return cgiParseIO;
    matched = 0;
  }
  unsigned char two[2];
  if (in.get(two, 2) < 2) return cgiParseIO;
  if (two[0] == '-' && !in.put_back(two, 2)) return cgiParseIO;
  return cgiParseSuccess;
}

void append_bounded(char *text, size_t &len, int c) {
  if (len + 1 < kTextMax) text[len++] = (char)c;
  text[len] = '\0';
}

// One header line: attribute (blanks dropped) before ':', value after ':'
// and its leading blanks. Both are cut at 1023 characters.
void read_header_line(BodyReader &in, char *attr, char *value) {
  size_t alen = 0, vlen = 0;
  attr[0] = value[0] = '\0';
  int c;
  while ((c = in.get()) != EOF && c != '\r' && c != '\n' && c != ':') {
    if (!isspace(c)) append_bounded(attr, alen, c);
  }
  if (c == ':') {
    while ((c = in.get()) == ' ' || c == '\t') {
    }
    while (c != EOF && c != '\r' && c != '\n') {
      append_bounded(value, vlen, c);
      c = in.get();
    }
  }
  if (c == '\r') {
    int next = in.get();
    if (next != '\n' && next != EOF) {
      unsigned char b = (unsigned char)next;
      in.put_back(&b, 1);
    }
  }
}

// Reads a possibly quoted token from `p` up to one of `stops`.
const char *read_token(const char *p, const char *stops, char *out) {
  size_t len = 0;
  out[0] = '\0';
  while (*p == ' ' || *p == '\t') p++;
  if (*p == '"') {
    for (p++; *p && *p != '"'; p++) append_bounded(out, len, *p);
    if (*p == '"') p++;
    while (*p && !strchr(stops, *p)) p++;
    return p;
  }
  for (; *p && !strchr(stops, *p); p++) append_bounded(out, len, *p);
  while (len && isspace((unsigned char)out[len - 1])) out[--len] = '\0';
  return p;
}

// Splits a header value "main; a=b; c="d"" into its main value and the
// attributes "name" and "filename" (either may be null when not wanted).
void split_header_value(const char *value, char *main_value, char *name, char *filename) {
  const char *p = read_token(value, ";", main_value);
  char attr[kTextMax], v[kTextMax];
  while (*p == ';') {
    p = read_token(p + 1, "=;", attr);
    v[0] = '\0';
    if (*p == '=') p = read_token(p + 1, ";", v);
    if (name && cgiStrEqNc(attr, "name")) snprintf(name, kTextMax, "%s", v);
    if (filename && cgiStrEqNc(attr, "filename")) snprintf(filename, kTextMax, "%s", v);
  }
}

struct PartHeaders {
  char disposition[kTextMax] = "";
  char name[kTextMax] = "";
  char filename[kTextMax] = "";
  char content_type[kTextMax] = "";
};

void read_part_headers(BodyReader &in, PartHeaders &h) {
  char attr[kTextMax], value[kTextMax];
  for (;;) {
    read_header_line(in, attr, value);
    if (!attr[0] || !value[0]) break;
    if (cgiStrEqNc(attr, "Content-Disposition")) {
      split_header_value(value, h.disposition, h.name, h.filename);
    } else if (cgiStrEqNc(attr, "Content-Type")) {
      split_header_value(value, h.content_type, nullptr, nullptr);
    }
  }
}

// A private temporary file for a file part; its name goes to `path`.
FILE *open_temp_file(char *path, size_t size) {
  snprintf(path, size, "%s", cgiTempFileTemplate);
  int fd = mkstemp(path);
  if (fd < 0) return nullptr;
  FILE *f = fchmod(fd, 0600) == 0 ? fdopen(fd, "w+b") : nullptr;
  if (!f) {
    close(fd);
    unlink(path);
  }
  return f;
}

void append_entry(cgiFormEntry *e) {
  cgiFormEntry **tail = &cgiFormEntryFirst;
  while (*tail) tail = &(*tail)->next;
  *tail = e;
}

void free_entry(cgiFormEntry *e) {
  free(e->attr);
  free(e->value);
  free(e->fileName);
  free(e->contentType);
  free(e->tfileName);
  free(e);
}

cgiFormEntry *new_entry(const PartHeaders &h, char *value, long length, const char *tfile) {
  cgiFormEntry *e = (cgiFormEntry *)calloc(1, sizeof *e);
  if (!e) return nullptr;
  e->value = value;
  e->valueLength = (int)length;
  e->attr = strdup(h.name);
  e->fileName = strdup(h.filename);
  e->contentType = strdup(h.content_type);
  e->tfileName = strdup(tfile);
  if (!e->attr || !e->fileName || !e->contentType || !e->tfileName) {
    e->value = nullptr;
    free_entry(e);
    return nullptr;
  }
  return e;
}

// Reads one form-data part's body and appends its entry. `text_left` is
// what the text parts may still hold in memory; it shrinks by this part's.
cgiParseResultType read_part(BodyReader &in, const PartHeaders &h, long &text_left) {
  char tfile[64] = "";
  FILE *f = nullptr;
  if (h.filename[0]) {
    f = open_temp_file(tfile, sizeof tfile);
    if (!f) return cgiParseIO;
  }
  Sink sink = f ? Sink(f) : Sink(true, text_left < kTextPartMax ? text_left : kTextPartMax);
  cgiParseResultType r = read_to_boundary(in, sink, false);
  if (f && fclose(f) != 0 && r == cgiParseSuccess) r = cgiParseIO;
  char *value = r == cgiParseSuccess ? (f ? strdup("") : sink.release()) : nullptr;
  if (r == cgiParseSuccess && !value) r = cgiParseMemory;
  cgiFormEntry *e = r == cgiParseSuccess ? new_entry(h, value, sink.length(), tfile) : nullptr;
  if (r == cgiParseSuccess && !e) {
    free(value);
    r = cgiParseMemory;
  }
  if (r != cgiParseSuccess) {
    if (tfile[0]) unlink(tfile);
    return r;
  }
  if (!f) text_left -= sink.length();
  append_entry(e);
  return cgiParseSuccess;
}

}  // namespace

cgiParseResultType cgiReadMultipartForm() {
  if (cgiContentLength <= 0) return cgiParseSuccess;
  BodyReader in(cgiContentLength);
  Sink preamble(false);
  cgiParseResultType r = read_to_boundary(in, preamble, true);
  if (r == cgiParseIO) return cgiParseSuccess;  // no first boundary: no entries
  if (r != cgiParseSuccess) return r;
  long text_left = kTextPartsTotalMax;
  for (;;) {
    unsigned char two[2];
    size_t got = in.get(two, 2);
    if (got < 2 || (two[0] == '-' && two[1] == '-')) return cgiParseSuccess;
    in.put_back(two, 2);
    PartHeaders h;
    read_part_headers(in, h);
    if (!cgiStrEqNc(h.disposition, "form-data")) {
      Sink skip(false);
      r = read_to_boundary(in, skip, false);
    } else {
      r = read_part(in, h, text_left);
    }
    if (r != cgiParseSuccess) return r;
  }
}

void free_list() {
  for (cgiFormEntry *e = cgiFormEntryFirst; e;) {
    cgiFormEntry *next = e->next;
    if (e->tfileName && e->tfileName[0]) unlink(e->tfileName);
    free_entry(e);
    e = next;
  }
  cgiFormEntryFirst = nullptr;
}

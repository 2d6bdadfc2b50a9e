// Accessors of the parsed form entries.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "cgic.h"

cgiFormEntry *cgiFormEntryFind(const char *name) {
  for (cgiFormEntry *e = cgiFormEntryFirst; e; e = e->next) {
    if (strcmp(e->attr, name) == 0) return e;
  }
  return nullptr;
}

// Copies `text` into `buffer` (size bytes); true when it had to be cut.
static bool copy_cut(const char *text, char *buffer, int size) {
  if (!buffer || size <= 0) return text[0] != '\0';
  snprintf(buffer, (size_t)size, "%s", text);
  return strlen(text) > (size_t)size - 1;
}

static void clear(char *buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
}

cgiFormResultType cgiFormFileName(const char *name, char *buffer, int size) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) {
    clear(buffer, size);
    return cgiFormNotFound;
  }
  bool cut = copy_cut(e->fileName, buffer, size);
  if (!e->fileName[0]) return cgiFormNoFileName;
  return cut ? cgiFormTruncated : cgiFormSuccess;
}

cgiFormResultType cgiFormFileContentType(const char *name, char *buffer, int size) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) {
    clear(buffer, size);
    return cgiFormNotFound;
  }
  bool cut = copy_cut(e->contentType, buffer, size);
  if (!e->contentType[0]) return cgiFormNoContentType;
  return cut ? cgiFormTruncated : cgiFormSuccess;
}

cgiFormResultType cgiFormFileSize(const char *name, int *size) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) return cgiFormNotFound;
  if (!e->tfileName[0]) return cgiFormNotAFile;
  if (size) *size = e->valueLength;
  return cgiFormSuccess;
}

cgiFormResultType cgiFormFileOpen(const char *name, cgiFilePtr *handle) {
  *handle = nullptr;
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) return cgiFormNotFound;
  if (!e->tfileName[0]) return cgiFormNotAFile;
  cgiFilePtr file = (cgiFilePtr)malloc(sizeof *file);
  if (!file) return cgiFormMemory;
  file->in = fopen(e->tfileName, "rb");
  if (!file->in) {
    free(file);
    return cgiFormOpenFailed;
  }
  *handle = file;
  return cgiFormSuccess;
}

cgiFormResultType cgiFormFileRead(cgiFilePtr handle, char *buffer, int size, int *got) {
  if (!handle) return cgiFormNoHandle;
  size_t n = size > 0 ? fread(buffer, 1, (size_t)size, handle->in) : 0;
  *got = (int)n;
  return n ? cgiFormSuccess : cgiFormIO;
}

cgiFormResultType cgiFormFileClose(cgiFilePtr handle) {
  if (!handle) return cgiFormNoHandle;
  fclose(handle->in);
  free(handle);
  return cgiFormSuccess;
}

// Copies an entry's text; CR/LF runs become newlines (as many as the longer
// of the run's CR and LF counts) or are dropped.
static cgiFormResultType copy_value(const char *name, char *buffer, int size, bool newlines) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) {
    clear(buffer, size);
    return cgiFormNotFound;
  }
  if (!buffer || size <= 0) return e->value[0] ? cgiFormTruncated : cgiFormEmpty;
  int n = 0, cr = 0, lf = 0;
  bool cut = false;
  auto put = [&](char c) {
    if (n < size - 1) buffer[n++] = c;
    else cut = true;
  };
  auto flush_newlines = [&] {
    for (int i = 0, k = cr > lf ? cr : lf; newlines && i < k; i++) put('\n');
    cr = lf = 0;
  };
  for (const char *p = e->value; *p; p++) {
    if (*p == '\r') cr++;
    else if (*p == '\n') lf++;
    else {
      flush_newlines();
      put(*p);
    }
  }
  flush_newlines();
  buffer[n] = '\0';
  if (!e->value[0]) return cgiFormEmpty;
  return cut ? cgiFormTruncated : cgiFormSuccess;
}

cgiFormResultType cgiFormString(const char *name, char *buffer, int size) {
  return copy_value(name, buffer, size, true);
}

cgiFormResultType cgiFormStringNoNewlines(const char *name, char *buffer, int size) {
  return copy_value(name, buffer, size, false);
}

cgiFormResultType cgiFormStringSpaceNeeded(const char *name, int *needed) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) {
    *needed = 1;
    return cgiFormNotFound;
  }
  *needed = (int)strlen(e->value) + 1;
  return cgiFormSuccess;
}

static const char *first_nonblank(const char *s) {
  while (*s && isspace((unsigned char)*s)) s++;
  return s;
}

// Looks the entry up and checks that it starts like a number.
static cgiFormResultType numeric_entry(const char *name, const char **text, bool decimal) {
  cgiFormEntry *e = cgiFormEntryFind(name);
  if (!e) return cgiFormNotFound;
  if (!e->value[0]) return cgiFormEmpty;
  const char *p = first_nonblank(e->value);
  bool ok = isdigit((unsigned char)*p) || *p == '-' || *p == '+' ||
            (decimal && (*p == '.' || *p == ','));
  if (!ok) return cgiFormBadType;
  *text = p;
  return cgiFormSuccess;
}

cgiFormResultType cgiFormInteger(const char *name, int *value, int defaultV) {
  const char *text = nullptr;
  cgiFormResultType r = numeric_entry(name, &text, false);
  if (r != cgiFormSuccess) {
    *value = defaultV;
    return r;
  }
  long v = strtol(text, nullptr, 10);
  *value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : (int)v;
  return cgiFormSuccess;
}

cgiFormResultType cgiFormIntegerBounded(const char *name, int *value, int min, int max,
                                        int defaultV) {
  cgiFormResultType r = cgiFormInteger(name, value, defaultV);
  if (r != cgiFormSuccess) return r;
  if (*value < min || *value > max) {
    *value = *value < min ? min : max;
    return cgiFormConstrained;
  }
  return cgiFormSuccess;
}

cgiFormResultType cgiFormDouble(const char *name, double *value, double defaultV) {
  const char *text = nullptr;
  cgiFormResultType r = numeric_entry(name, &text, true);
  if (r != cgiFormSuccess) {
    *value = defaultV;
    return r;
  }
  *value = strtod(text, nullptr);
  return cgiFormSuccess;
}

cgiFormResultType cgiFormDoubleBounded(const char *name, double *value, double min,
                                       double max, double defaultV) {
  cgiFormResultType r = cgiFormDouble(name, value, defaultV);
  if (r != cgiFormSuccess) return r;
  if (*value < min || *value > max) {
    *value = *value < min ? min : max;
    return cgiFormConstrained;
  }
  return cgiFormSuccess;
}

// CGI toolkit: the request's environment, the multipart form parser with its
// form entries, and the response header writers.
#pragma once

#include <cstddef>
#include <cstdio>

// ---- CGI environment (captured once by cgiCaptureEnvironment) ----
// Each is a NUL-terminated string, never null: a missing variable is "".
extern const char *cgiServerSoftware;
extern const char *cgiServerName;
extern const char *cgiGatewayInterface;
extern const char *cgiServerProtocol;
extern const char *cgiServerPort;
extern const char *cgiRequestMethod;
extern const char *cgiPathInfo;
extern const char *cgiPathTranslated;
extern const char *cgiScriptName;
extern const char *cgiQueryString;
extern const char *cgiRemoteHost;
extern const char *cgiRemoteAddr;
extern const char *cgiAuthType;
extern const char *cgiRemoteUser;
extern const char *cgiRemoteIdent;
extern const char *cgiServerAddr;  // the Host header, not the server's address
extern const char *cgiAccept;
extern const char *cgiUserAgent;
extern const char *cgiReferrer;
extern const char *cgiCookie;

extern char cgiContentTypeData[1024];
extern char *cgiContentType;        // bare media type, inside cgiContentTypeData
extern char *cgiMultipartBoundary;  // "boundary=" parameter, or ""
extern int cgiContentLength;
extern FILE *cgiIn;
extern FILE *cgiOut;

// Reads the CGI variables from the process environment, splits the content
// type into media type and boundary, and clears the form-entry list.
void cgiCaptureEnvironment();
// The same from a list of "NAME=value" entries (a FastCGI request's
// parameters), with the request's input and output streams. The strings
// are used in place: they must live until the request ends.
void cgiCaptureEnvironmentFrom(char **envp, FILE *in, FILE *out);
// Splits a Content-Type value into cgiContentType and cgiMultipartBoundary.
void cgiParseContentType(const char *value);

// ---- Form entries ----
struct cgiFormEntry {
  char *attr;         // the part's name attribute
  char *value;        // text data; "" for a file part
  int valueLength;    // data bytes (for a file part: bytes in the file)
  char *fileName;     // filename attribute as sent, may be ""
  char *contentType;  // the part's Content-Type, may be ""
  char *tfileName;    // temporary file, "" for a text part
  cgiFormEntry *next;
};

extern cgiFormEntry *cgiFormEntryFirst;

enum cgiParseResultType {
  cgiParseSuccess = 0,
  cgiParseMemory = 1,
  cgiParseIO = 2,
};

enum cgiFormResultType {
  cgiFormSuccess = 0,
  cgiFormTruncated = 1,
  cgiFormBadType = 2,
  cgiFormEmpty = 3,
  cgiFormNotFound = 4,
  cgiFormConstrained = 5,
  cgiFormMemory = 7,
  cgiFormNoFileName = 8,
  cgiFormNoContentType = 9,
  cgiFormNotAFile = 10,
  cgiFormNoHandle = 11,
  cgiFormOpenFailed = 12,
  cgiFormIO = 13,
};

// Template of the parser's temporary files.
constexpr const char *cgiTempFileTemplate = "/tmp/cgicXXXXXX";

// Parses a multipart/form-data body from cgiIn, never reading past
// cgiContentLength, into the form-entry list. File parts go to temporary
// files. On failure no temporary file of the failing part is left behind.
cgiParseResultType cgiReadMultipartForm();

// First entry whose name equals `name` exactly, or null.
cgiFormEntry *cgiFormEntryFind(const char *name);

struct cgiFile {
  FILE *in;
};
typedef cgiFile *cgiFilePtr;

cgiFormResultType cgiFormFileName(const char *name, char *buffer, int size);
cgiFormResultType cgiFormFileContentType(const char *name, char *buffer, int size);
cgiFormResultType cgiFormFileSize(const char *name, int *size);
cgiFormResultType cgiFormFileOpen(const char *name, cgiFilePtr *handle);
cgiFormResultType cgiFormFileRead(cgiFilePtr handle, char *buffer, int size, int *got);
cgiFormResultType cgiFormFileClose(cgiFilePtr handle);

cgiFormResultType cgiFormString(const char *name, char *buffer, int size);
cgiFormResultType cgiFormStringNoNewlines(const char *name, char *buffer, int size);
cgiFormResultType cgiFormStringSpaceNeeded(const char *name, int *needed);
cgiFormResultType cgiFormInteger(const char *name, int *value, int defaultV);
cgiFormResultType cgiFormIntegerBounded(const char *name, int *value, int min, int max,
                                        int defaultV);
cgiFormResultType cgiFormDouble(const char *name, double *value, double defaultV);
cgiFormResultType cgiFormDoubleBounded(const char *name, double *value, double min,
                                       double max, double defaultV);

// Releases every form entry, deleting its temporary file, and empties the list.
void free_list();

// Copies src to dst (of dst_size bytes, always terminated), replacing every
// occurrence of `from` by `to`. Returns the length written.
size_t strrpl(char *dst, size_t dst_size, const char *src, const char *from, const char *to);

// Case-insensitive equality of two whole texts.
bool cgiStrEqNc(const char *a, const char *b);

// ---- Response headers ----
extern const char *days[7];
extern const char *months[12];

void cgiHeaderCookieSetString(const char *name, const char *value, int seconds,
                              const char *path, const char *domain);
void cgiHeaderCookieSetInteger(const char *name, int value, int seconds, const char *path,
                               const char *domain);
void cgiHeaderLocation(const char *url);
void cgiHeaderStatus(int status, const char *text);
void cgiHeaderContentType(const char *type);

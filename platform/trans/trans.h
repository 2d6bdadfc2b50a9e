// Translation of the numeric display codes (log types, parameters) into the
// texts of one language. A language's texts are one file,
// TRANS_DIRECTORY/<language>.txt, a line per code: the decimal code, one
// blank or tab, the text up to the end of the line. Lines that do not start
// with a code are ignored; a later line for a code replaces an earlier one.
#pragma once

constexpr const char *TRANS_DIRECTORY = "/opt/app/trans";

// Loads the language's texts, releasing any loaded before. A name that is
// not plain (letters, digits, '-' and '_', 1 to 31 characters) or that has
// no file loads nothing. 0 when texts were loaded, -1 otherwise.
int trans_init(const char *language);
// The text of `code` into buffer, cut to size - 1; the empty text when the
// code has none or nothing is loaded. 0 when a text was found, else -1.
int trans_get_value(int code, char *buffer, int size);
// Releases the loaded texts.
void trans_deinit();

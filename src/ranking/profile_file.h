#pragma once
// Our own reader and writer of the Windows private-profile (INI) format, as
// GetPrivateProfileStringA and WritePrivateProfileStringA treat ordinary
// files. They work on the file's bytes: names and values are byte strings in
// code page 932, which the caller encodes.
//
// The format as read:
// - lines end in CR LF, LF or CR;
// - a line whose first non-blank character is '[' is a section header, named
//   by the text up to the first ']', trimmed; a header without ']' is named
//   by the rest of its line;
// - a line whose first non-blank character is ';' is a comment;
// - any other line holding '=' is a key line: key name before the first '=',
//   value after it; names and values are trimmed of blanks and tabs; other
//   non-blank lines belong to their section but hold no key;
// - section and key names match ASCII letters in either case (the two bytes
//   of a double-byte character match only exactly); the first matching
//   section and in it the first matching key count, later duplicates are
//   never seen;
// - a value wrapped in one pair of the same quote (" or ') loses them.
// Blanks are spaces and tabs. Other bytes, NUL included, are ordinary.

#include <QByteArray>
#include <QtGlobal>

// Longest value a read gives back, in bytes: what a 320-byte buffer holds
// besides its terminating NUL.
inline constexpr qsizetype kProfileValueMax = 319;

// The value of key in section of file, or def when the section or the key is
// missing (or a name is empty). Like the Windows function, trailing blanks of
// def are dropped. The result is cut to at most kProfileValueMax bytes, never
// inside a double-byte character.
QByteArray profileRead(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                       const QByteArray &def);

// The file with key in section set to value:
// - an existing key keeps its line up to and including the '=' (the file's
//   own spelling and layout) and its line end; only the value is replaced;
// - a missing key gets a line "key=value" right after the last line of its
//   section that is not blank, a comment or the header (so blank and comment
//   lines that close the section stay after it), or after the header;
// - a missing section is appended at the end of the file as "[section]" and
//   the key line, after a CR LF when the last line has no line end; an empty
//   file gets just these two lines.
// Everything written ends in CR LF; every other byte stays as it was.
// A value stops at its first CR or LF: a line break would let it spill into
// lines of its own. Names are trimmed; a write whose names could not be read
// back as given (an empty name, a line break, '=' in or ';' or '[' at the
// start of a key, ']' in a section or a section ending in the first byte of
// a double-byte character, which would swallow the closing ']') changes
// nothing.
QByteArray profileWrite(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value);

#pragma once

#include <string>
#include <string_view>

// The save window's checks of the name it is to write: the form of the name,
// whether a clicked file may be taken for a data save, and whether the target
// exists (the window then asks before it is replaced). The disk is only read,
// and never waited on.
namespace kx::core {

// The form of a file's name (without its folder): it holds a point, at least
// 2 characters follow the first point, and it is at least 4 characters long.
// "a.d" fails; "ab.da" and "x.txt" pass.
bool IsSaveableName(std::string_view fileName);

// A name with one of the system's data extensions written in capitals: the
// text after the first point, without its last character, is "TX", "DA" or
// "DO" ("NOTES.TXT", "A.DAT"; not "notes.txt", not "a.da").
bool HasCapitalDataExtension(std::string_view fileName);

// Whether a clicked file may be taken for a save of `saveKind`: a listing may
// go anywhere; a data save refuses an existing file with a capital data
// extension whose first record holds more than the characters of data.
bool TakesClickedFile(int saveKind, const std::string& fullName);

// What an existing file holds, by its content whatever its name.
enum class FileContent { kNone = 0, kPicture, kSession, kDataFile, kOther };
FileContent ContentOf(const std::string& fullName);

// Whether a save of `saveKind` may replace what stands at the name: nothing
// (or an empty file), or a file of the kind it writes. A picture is never
// replaced but by a plot, a session only by a session, a data file only by
// data, and a data save replaces nothing but a data file.
bool MayReplaceContent(int saveKind, const std::string& fullName);

// Whether anything stands at the name already, readable or not: only a name
// that does not exist is a new file.
bool SaveTargetExists(const std::string& fullName);

}  // namespace kx::core

#pragma once

#include <string>
#include <string_view>

#include "core/files/file_memory.h"

// What the save window needs to know of a save kind beyond the system's six:
// the programs in C, Python, MATLAB, JavaScript, C# and Fortran, the check
// table and the plot are files of other tools, with their own extensions,
// file lists and names.
namespace kx::core {

// The extension a name typed without one takes (".c", ".py", ".txt",
// ".pdf"); none for the system's own kinds, whose names the user gives whole.
std::string_view DefaultExtensionOf(int saveKind);

// The file list's filter of a kind with files of its own ("*.c;*.h", "*.py",
// "*.pdf;*.svg;*.png"); none for the kinds that list the data filter.
std::string_view DefaultFilterOf(int saveKind);

// Whether a file's name (without its folder) suits the kind: the system's
// rule for its own kinds and the check table (see IsSaveableName); for the
// programs a name with an extension ("x.c" will do); for the
// plot one of .pdf, .svg and .png in any case, which names the format.
bool SuitsSaveKind(int saveKind, std::string_view fileName);

// A full name with the kind's extension added when its file name has no
// point at all; any other name is kept as typed.
std::string WithDefaultExtension(int saveKind, const std::string& fullName);

// The name the save window offers for a kind with an extension of its own:
// the remembered file's name with that extension in place of its own
// ("family.dat" gives "family.c"), or a name of the kind's own in the
// remembered folder; "" for the system's kinds, which offer the remembered
// name itself.
std::string SuggestedSaveName(int saveKind, const FileMemory& memory);

}  // namespace kx::core

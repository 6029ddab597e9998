#pragma once
// The print-script interpreter behind the "fileprint" button (`Command2` of
// `prt2`): the script "print2vb" drawn on the default printer as one
// document.
#include <string_view>

#include "platform/drawing_surface.h"
#include "platform/files.h"

namespace orbin {

inline constexpr char kPrintScriptFileName[] = "print2vb";

// Interprets the script bytes (ANSI code page): two header lines (print
// quality, orientation), the opening 8-point space, then one command per
// keyword line. Returns after "End" or at the end of the script; the
// document has been ended (sent) in both cases, and the caller ends the
// program.
// A fault in the script or of the printer aborts the document, so nothing of
// the script is printed, and throws Failure naming the script (`script_name`),
// the line, the command, what was expected and what was found.
void RunPrintScript(std::string_view ansi_bytes, DrawingSurface& printer,
                    std::string_view script_name = kPrintScriptFileName);

// `Command2_Click`'s work: reads "print2vb" from the working directory and
// interprets it; failures name the script by its full path. A missing file is the Failure of FileSystem::ReadAll; the
// caller ends the program after a normal return.
void RunPrintScriptFile(FileSystem& files, DrawingSurface& printer);

}  // namespace orbin

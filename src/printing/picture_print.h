#pragma once
// Picture print behind the "pic print" button (`Command1` of `prt2`): the
// bitmaps "c:\PICTUR00.bmp" .. "c:\PICTUR09.bmp" selected in the argument
// text, one per page of one document.
#include <string>

#include "platform/drawing_surface.h"
#include "platform/files.h"

namespace orbin {

// "c:\PICTUR" + `number` as two digits + ".bmp" (number 0 to 9).
std::string PicturePath(int number);

// Picture n is selected by "/0n/" anywhere in `argument_text`; "/H/" asks
// for landscape pages (otherwise the orientation is left alone). Quality is
// set low; pictures are printed from 9 down to 0, each at its own size at
// the top-left corner of its page; missing files are skipped. Ends the
// document and returns; the caller ends the program. Every selected picture
// is read and checked before anything is printed: one that cannot be read
// or is not a whole bitmap throws Failure naming its full path and what is
// wrong, with no print job at all. A printer fault aborts the document and
// throws Failure.
void RunPicturePrint(const std::string& argument_text, FileSystem& files,
                     DrawingSurface& printer);

}  // namespace orbin

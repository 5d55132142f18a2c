// Reading an object file into a slot: the one place that opens it and picks the reader by its
// extension, for the window and for kavlo.
#pragma once
#include <string>

#include "objfile/fob.h"
#include "platform/regional.h"

namespace kavlo {

// Opens the file once and reads it with the reader of its extension (.fob, .fbk, .txt, .xml);
// the slot then holds what was read, as file `fileNo`. A reader's error, or the file's open
// error, is raised after the slot took what was read before it (nothing when the file could
// not be opened), with FileNo, FileName and FileExt the new ones. A name of another extension
// reads nothing: the slot is left empty. A text or XML export written to while it was read
// raises "Stream read error" (ReadErrorCode::FileChanged).
void LoadObjectFile(TFob& slot, int fileNo, const std::string& fileName, const Regional& regional);

}  // namespace kavlo

// The texts of a loaded text export's objects (or of a folder of object files), read whole
// before anything is written from them.
#pragma once
#include <string>
#include <vector>

#include "objfile/fob.h"

namespace kavlo {

// "Table 18 Customer".
std::string ObjectTitle(const TFobRec& rec);

// The texts of records `indices`, as TContentReader::ReadText gives them. Raises EKavloError
// "Cannot <verb> "<file name>": …" when a file read holds text that is not blank outside
// every object (before its first object, or after an object's closing brace): written out
// object by object it would be lost. Raises as the reader does when a file changed since it
// was loaded.
std::vector<std::string> ReadObjectTexts(const TFob& fob, const std::vector<int>& indices, const std::string& verb);

}  // namespace kavlo

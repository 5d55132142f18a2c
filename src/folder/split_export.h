// Splitting a text export into one file per object, as developers keep their objects in
// source control: TAB18.TXT, COD80.TXT, ... (ObjectFileName).
#pragma once
#include <string>

#include "base/errors.h"
#include "listing/field_filter.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"

namespace kavlo {

// Which objects are written, chosen as the list chooses its rows, and whether files of their
// names are replaced.
struct SplitOptions {
    bool Force = false;
    TypeSwitches Types = kAllTypes;
    bool HideSystemObjects = false;
    FilterTexts Filters;  // as typed; normalised as a build does it
};

// A file of an object's name is in the folder already and SplitOptions::Force is off.
class EFileExists : public EKavloError {
public:
    explicit EFileExists(const std::string& fileName);
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Raises, naming the file, unless it is a text export (.txt) and no folder: only a text export
// holds each object's text apart from the others'.
void CheckSplittable(const std::string& fileName);

// Writes each chosen object of the loaded text export into its own file in `folder` (made when
// missing): its bytes exactly as the export holds them (TContentReader::ReadText), with the
// UTF-8 byte-order mark in front when the export starts with one. A file of the same name,
// in any letter case, is replaced only with Force, under its own spelling. Everything is
// checked and read before the first file is written: a clash without Force (EFileExists, the
// first in the export's order), an object twice, text of the export outside every chosen
// object that is not blank (it would be lost), an export changed since it was loaded. Each file
// is written under a temporary name and renamed. Returns the number of files written.
int SplitExport(const TFob& exportFile, const std::string& folder, const SplitOptions& options);

}  // namespace kavlo

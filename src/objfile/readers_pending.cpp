// Placeholders for the backup and XML readers until they are built: loading such a
// file fails with a clear message instead of listing nothing.
#include "objfile/errors.h"
#include "objfile/readers.h"

namespace kavlo {

FbkCounts CountFileFbk(const TFob&) { return {}; }
void ReadFileFbk(TFob& fob, int32_t, const Regional&) {
    throw EKavloError("Backup files cannot be read yet: " + fob.FileName);
}
void ReadFileXml(TFob& fob, const Regional&) {
    throw EKavloError("XML object files cannot be read yet: " + fob.FileName);
}

}  // namespace kavlo

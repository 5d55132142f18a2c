// Placeholder for the backup reader until it is built: loading such a
// file fails with a clear message instead of listing nothing.
#include "objfile/errors.h"
#include "objfile/readers.h"

namespace kavlo {

FbkCounts CountFileFbk(const TFob&) { return {}; }
void ReadFileFbk(TFob& fob, int32_t, const Regional&) {
    throw EKavloError("Backup files cannot be read yet: " + fob.FileName);
}

}  // namespace kavlo

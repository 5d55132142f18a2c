// The fixture of the reader tests: a temporary folder, fixed regional settings and the list
// that loads the files written there.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/errors.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"

namespace kavlo::testing {

// All ten column texts of a record, to compare records whole.
inline std::string Row(const TFobRec& r) {
    std::string row;
    for (int c = 0; c < 10; ++c) row += GetFobString(r, c) + "|";
    return row;
}

class ReaderTest : public ::testing::Test {
protected:
    // Writes the bytes under `name`, loads them as file `fileNo` and returns the error text
    // ("" when none); a read error is kept in fault_.
    std::string LoadBytes(const std::string& bytes, const std::string& name, int fileNo = 1) {
        const std::string path = dir_.File(name);
        WriteBytes(path, bytes);
        return LoadPath(fob_, path, fileNo);
    }
    // Loads the file or folder into `fob` as file `fileNo`; as LoadBytes.
    std::string LoadPath(TFob& fob, const std::string& path, int fileNo = 1, const LoadOptions& options = {}) {
        fault_.reset();
        try {
            LoadObjectFile(fob, fileNo, path, regional_.Get(), options);
        } catch (const EObjectFileError& e) {
            fault_ = e;
            return e.what();
        } catch (const EKavloError& e) {
            return e.what();
        }
        return "";
    }

    // The check that failed in the last load and where, as "code@offset"; "" when none did.
    std::string Fault() const {
        return fault_ ? std::to_string(static_cast<int>(fault_->Code())) + "@" + std::to_string(fault_->Offset()) : "";
    }
    static std::string Fault(ReadErrorCode code, uint64_t offset) {
        return std::to_string(static_cast<int>(code)) + "@" + std::to_string(offset);
    }

    TempDir dir_;
    FixedRegional regional_;
    TFob fob_;
    std::optional<EObjectFileError> fault_;
};

}  // namespace kavlo::testing

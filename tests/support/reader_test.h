// The fixture of the reader tests: a temporary folder, fixed regional settings and the list
// that loads the files written there.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "objfile/fob.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"

namespace kavlo::testing {

class ReaderTest : public ::testing::Test {
protected:
    // Writes the bytes under `name`, loads them as file `fileNo` and returns the error text
    // ("" when none).
    std::string LoadBytes(const std::string& bytes, const std::string& name, int fileNo = 1) {
        const std::string path = dir_.File(name);
        WriteBytes(path, bytes);
        try {
            fob_.LoadFile(fileNo, path, regional_.Get());
        } catch (const EKavloError& e) {
            return e.what();
        }
        return "";
    }

    TempDir dir_;
    FixedRegional regional_;
    TFob fob_;
};

}  // namespace kavlo::testing

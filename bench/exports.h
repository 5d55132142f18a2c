// Whole-database text exports for the benchmarks, from tests/support's writer: objects with
// bodies of 235 lines (fields and code), about 9 KB each, written until the file reaches the size
// asked for. A later version has a further version-list entry in every 40th object.
#pragma once
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/txt_writer.h"

namespace kavlo::bench {

struct WrittenExport {
    uint64_t bytes = 0;
    int objects = 0;
};

inline const std::vector<testing::TxtObject>& DatabaseObjects() {
    static const std::vector<testing::TxtObject> all = testing::RealisticTxtObjects(10000, 75, 235);
    return all;
}

inline WrittenExport WriteDatabaseExport(const std::string& path, double megabytes, bool later) {
    const std::vector<testing::TxtObject>& all = DatabaseObjects();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    WrittenExport w;
    for (size_t i = 0; i < all.size() && static_cast<double>(w.bytes) < megabytes * 1e6; ++i) {
        testing::TxtFile one;
        one.objects = {all[i]};
        if (later && i % 40 == 0) one.objects[0].version += ",KAV1.0";
        const std::string text = testing::WriteTxt(one);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        w.bytes += text.size();
        ++w.objects;
    }
    if (!out) throw std::runtime_error("cannot write " + path);
    return w;
}

}  // namespace kavlo::bench

// Writes the file-marker bitmaps res/file1.bmp and res/file2.bmp (24-bit BMP, 14 × 14) from the
// drawing code, or with --check verifies that the files in DIR are what the code draws now.
//   make_markers DIR            write DIR/file1.bmp and DIR/file2.bmp
//   make_markers --check DIR    exit 1 when either differs
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "app/toolbar_art.h"

using namespace kavlo;

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: make_markers [--check] DIR\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    int status = 0;
    for (int fileNo : {1, 2}) {
        const std::string path = dir + "/file" + std::to_string(fileNo) + ".bmp";
        const std::string bytes = EncodeBmp24(MarkerImage(fileNo));
        if (check) {
            std::ifstream in(path, std::ios::binary);
            const std::string have((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (have != bytes) {
                std::fprintf(stderr, "%s is not what the drawing code makes; run make_markers %s\n", path.c_str(),
                             dir.c_str());
                status = 1;
            }
        } else {
            std::ofstream out(path, std::ios::binary);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return status;
}

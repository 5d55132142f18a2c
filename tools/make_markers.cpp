// Writes the file-marker bitmaps res/file1.bmp and res/file2.bmp (24-bit BMP, 14 × 14) and the
// program's icon res/kavlodex.ico (16, 32, 48 and 256 pixels) from the drawing code, or with
// --check verifies that the files in DIR are what the code draws now.
//   make_markers DIR            write the three files into DIR
//   make_markers --check DIR    exit 1 when any differs
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

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
    std::vector<Image> icon;
    for (int size : kAppIconSizes) icon.push_back(AppIconImage(size));
    const std::pair<std::string, std::string> files[] = {
        {"file1.bmp", EncodeBmp24(MarkerImage(1))},
        {"file2.bmp", EncodeBmp24(MarkerImage(2))},
        {"kavlodex.ico", EncodeIco(icon)},
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = dir + "/" + name;
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

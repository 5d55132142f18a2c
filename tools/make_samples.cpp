// Writes the bundled sample object files: two versions of a small application, so that a
// comparison shows equal, different, added and deleted objects.
//   make_samples DIR
#include <algorithm>
#include <cstdio>
#include <string>

#include "support/fob_writer.h"

using namespace kavlo::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<FobObject> base = RealisticObjects(40, 7);
    // A few objects with the texts users see most.
    for (size_t i = 0; i < base.size() && base[i].type == 1; ++i) base[i].id = 18 + 5 * static_cast<int>(i);
    base[0].name = "Customer";
    base[0].version = "NAVW111.00";
    base[1].name = "Vendor";
    base[1].version = "NAVW111.00,NAVDK11.00";
    base[2].name = "Item \x84ndring";  // OEM 850 "ä"
    FobFile first;
    first.objects = base;
    std::vector<FobObject> changed = base;
    changed[1].version = "NAVW111.00,NAVDK11.00,KAV1.0";
    changed[1].rawDate = NavDateRaw(43500);
    changed[1].modified = true;
    changed[5].blobSize += 120;
    changed.erase(changed.begin() + 8);
    FobObject added = base[20];
    added.id = base[20].id + 1;  // IDs of the generator step by at least 1
    added.name = "Kavlo Setup";
    while (true) {
        bool clash = false;
        for (const FobObject& o : changed) clash |= o.type == added.type && o.id == added.id;
        if (!clash) break;
        ++added.id;
    }
    changed.push_back(added);
    // Keep type and ID order, as Navision writes it.
    std::stable_sort(changed.begin(), changed.end(), [](const FobObject& a, const FobObject& b) {
        return a.type != b.type ? a.type < b.type : a.id < b.id;
    });
    FobFile second;
    second.objects = changed;
    WriteBytes(dir + "/sample1.fob", WriteFob(first));
    WriteBytes(dir + "/sample2.fob", WriteFob(second));
    std::printf("wrote %s/sample1.fob and %s/sample2.fob\n", dir.c_str(), dir.c_str());
    return 0;
}

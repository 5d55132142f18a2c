// Three small text exports to merge, ORIGINAL, MODIFIED and TARGET, whose merge gives every kind
// of row the Merge window shows: Table 18 and Codeunit 80 in conflict (both sides changed the
// same documentation line), Form 21 merged (each side changed a line of its own), Report 111
// inserted by MODIFIED, Codeunit 90 changed by TARGET alone; Table 27 is unchanged.
#pragma once
#include <string>

#include "support/fob_writer.h"
#include "support/txt_writer.h"

namespace kavlo::testing {

struct MergeInputs {
    std::string original, modified, target;
};

inline MergeInputs WriteMergeInputs(const std::string& folder, const std::string& separator = "/") {
    const auto file = [](std::vector<TxtObject> objects) {
        TxtFile f;
        f.objects = std::move(objects);
        return WriteTxt(f);
    };
    const auto object = [](const char* type, int id, const char* name, std::vector<std::string> code) {
        TxtObject o = SimpleTxtObject(type, id, name);
        o.code = std::move(code);
        return o;
    };
    const std::vector<std::string> base = {"L1", "L2", "L3", "L4", "L5"};
    const auto with = [&](int line, const std::string& text) {
        std::vector<std::string> code = base;
        code[static_cast<size_t>(line)] = text;
        return code;
    };
    MergeInputs in{folder + separator + "original.txt", folder + separator + "modified.txt",
                   folder + separator + "target.txt"};
    WriteBytes(in.original, file({object("Table", 18, "Customer", base), object("Table", 27, "Item", base),
                                  object("Form", 21, "Customer Card", base), object("Codeunit", 80, "Sales-Post", base),
                                  object("Codeunit", 90, "Purch.-Post", base)}));
    WriteBytes(in.modified, file({object("Table", 18, "Customer", with(2, "mine")), object("Table", 27, "Item", base),
                                  object("Form", 21, "Customer Card", with(0, "mine")),
                                  object("Report", 111, "Customer - Top 10", base),
                                  object("Codeunit", 80, "Sales-Post", with(4, "mine")),
                                  object("Codeunit", 90, "Purch.-Post", base)}));
    WriteBytes(in.target, file({object("Table", 18, "Customer", with(2, "theirs")), object("Table", 27, "Item", base),
                                object("Form", 21, "Customer Card", with(4, "theirs")),
                                object("Codeunit", 80, "Sales-Post", with(4, "theirs")),
                                object("Codeunit", 90, "Purch.-Post", with(1, "theirs"))}));
    return in;
}

}  // namespace kavlo::testing

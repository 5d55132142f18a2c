#include "support/xml_writer.h"

#include <cstdio>
#include <random>

#include "support/fob_writer.h"

namespace kavlo::testing {

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string XmlStartTag(const XmlElement& e, const std::string& lineEnd) {
    const std::string sep = e.tagOverLines ? lineEnd + "  " : " ";
    const auto value = [&](const std::string& v) { return e.raw ? v : XmlEscape(v); };
    std::string tag = "<" + e.kind + e.leadingAttributes;
    tag += " ID=\"" + std::to_string(e.id) + "\"";
    tag += sep + "Name=\"" + value(e.name) + "\"";
    if (e.date) tag += sep + "Date=\"" + value(*e.date) + "\"";
    if (e.time) tag += sep + "Time=\"" + value(*e.time) + "\"";
    if (e.modified) tag += sep + "Modified=\"" + value(*e.modified) + "\"";
    if (e.version) tag += sep + "VersionList=\"" + value(*e.version) + "\"";
    tag += e.selfClosing ? " />" : ">";
    return tag;
}

std::string WriteXml(const XmlFile& f) {
    const std::string nl = f.oneLine ? "" : f.lineEnd;
    std::string out;
    if (f.prolog) out += "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>" + nl;
    out += f.rootStart + nl;
    for (const XmlElement& e : f.elements) {
        out += "  " + XmlStartTag(e, nl) + nl;
        for (int i = 0; i < e.bodyLines; ++i) {
            switch (i % 4) {
                case 0: out += "    <Properties><SourceTable>Customer</SourceTable></Properties>" + nl; break;
                case 1: out += "    <Controls><Control Type=\"TextBox\" ID=\"" + std::to_string(i) + "\"/></Controls>" + nl; break;
                case 2: out += "    <Code>IF Amount &lt; 0 THEN ERROR('Amount must be positive');</Code>" + nl; break;
                default: out += "    <Triggers><OnOpenForm/></Triggers>" + nl; break;
            }
        }
        for (const std::string& c : e.code) out += "    <Code>" + XmlEscape(c) + "</Code>" + nl;
        if (e.writeClosingTag && !e.selfClosing) out += "  </" + e.kind + ">" + nl;
    }
    if (f.writeRootEnd) out += "</Objects>" + nl;
    return out;
}

XmlElement SimpleXmlElement(const std::string& kind, int id, const std::string& name) {
    XmlElement e;
    e.kind = kind;
    e.id = id;
    e.name = name;
    return e;
}

XmlFile ThreeXmlElements() {
    XmlFile f;
    f.elements = {SimpleXmlElement("Form", 21, "Customer Card"), SimpleXmlElement("Report", 206, "Sales - Invoice"),
                  SimpleXmlElement("Page", 42, "Sales Order")};
    f.elements[1].modified = "Yes";
    f.elements[1].date = "2010-06-15";
    f.elements[1].time = "08:30:15";
    f.elements[2].version = "NAVW16.00,NAVDK6.00";
    return f;
}

std::vector<XmlElement> RealisticXmlElements(int count, uint32_t seed, int bodyLines) {
    std::mt19937 rng(seed);
    std::vector<XmlElement> out;
    out.reserve(static_cast<size_t>(count));
    for (const FobObject& f : RealisticObjects(count, seed)) {
        XmlElement e;
        e.kind = f.type <= 3 ? "Form" : f.type <= 6 ? "Report" : "Page";
        e.id = f.id;
        e.name = f.name;
        e.version = f.version;
        char date[16], time[16];
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d", static_cast<int>(rng() % 20), 1 + static_cast<int>(rng() % 12),
                      1 + static_cast<int>(rng() % 28));
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(rng() % 24), static_cast<int>(rng() % 60),
                      static_cast<int>(rng() % 60));
        e.date = date;
        e.time = time;
        if (f.modified) e.modified = "Yes";
        e.bodyLines = bodyLines;
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace kavlo::testing
